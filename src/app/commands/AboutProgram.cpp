#include "app/commands/AboutProgram.h"

#include <QFileInfo>

QString AuthorName() { return QStringLiteral("Orsolan"); }

QList<TAboutLine> AboutLines(const QString &phone, const QString &mailAddress) {
  const TAboutLine all[] = {{QStringLiteral("autor programu"), AuthorName()},
                            {QStringLiteral("wersja"), QStringLiteral(PAVENA_VERSION)},
                            {QStringLiteral("telefon"), phone},
                            {QStringLiteral("adres poczty"), mailAddress}};
  QList<TAboutLine> shown;
  for (const TAboutLine &line : all)
    if (!line.Value.isEmpty())
      shown.append(line);
  return shown;
}

void ShowAbout(const THost &host) {
  host.Dialogs.ShowAbout(AboutLines(QStringLiteral(PAVENA_AUTHOR_PHONE), QStringLiteral(PAVENA_MAIL_ADDRESS)));
}

void OpenManual(const THost &host) {
  // Some desktops answer a missing file with an error window of their own.
  const QString manual = host.Paths.ManualFile();
  if (QFileInfo(manual).isFile())
    host.Desktop.OpenWithDefaultApplication(manual);
}
