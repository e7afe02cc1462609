#include "app/commands/AboutProgram.h"

#include <QFileInfo>

QString AuthorName() { return QStringLiteral("Orsolan"); }

QString AboutText(const QString &phone, const QString &mailAddress) {
  return QStringLiteral("autor programu  :  ") + AuthorName() + QStringLiteral("\r\n") +
         QStringLiteral("telefon                  :  ") + phone + QStringLiteral("\r\n") +
         QStringLiteral("adres poczty        :  ") + mailAddress;
}

void ShowAbout(const THost &host) {
  host.Dialogs.ShowAbout(AboutText(QStringLiteral(PAVENA_AUTHOR_PHONE), QStringLiteral(PAVENA_MAIL_ADDRESS)));
}

void OpenManual(const THost &host) {
  // Some desktops answer a missing file with an error window of their own.
  const QString manual = host.Paths.ManualFile();
  if (QFileInfo(manual).isFile())
    host.Desktop.OpenWithDefaultApplication(manual);
}
