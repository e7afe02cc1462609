#include "app/commands/SendToAuthorCommand.h"

#include "model/Exception.h"

const QString TSendToAuthorCommand::HelpText = QStringLiteral(
    "Wybierz plik typu XML/IMP,  który chcesz wysłać do autora programu celem uzyskania jego pomocy.\r\rW ten "
    "sposób łatwiej będzie mu wyjaśnić przyczynę problemów z Twoim plikiem typu XML/IMP.\r\rPo wyjaśnieniu "
    "przyczyny problemu z plikiem zostaniesz o niej poinformowany. ");

TSendToAuthorCommand::TSendToAuthorCommand(THost &host) : FHost(host) {}

void TSendToAuthorCommand::Press(const QString &filePath, const QString &payerName, const QString &payerNIP) {
  if (!FHost.Dialogs.Confirm(QStringLiteral("Czy na pewno chcesz wysłać wskazany plik do autora programu?")))
    return;
  if (filePath.isEmpty()) {
    FHost.Dialogs.ShowInformation(
        QStringLiteral("Pole ścieżki do pliku XML/IMP, który chcesz wysłać do autora "
                       "programu nie może być puste ...\r\rWybierz odpowiedni plik XML/IMP. "));
    return;
  }
  SendFileToAuthor(filePath, payerName, payerNIP);
}

QString TSendToAuthorCommand::Unavailable() const {
  const QString reason = FHost.Mailer.Unavailable();
  return reason.isEmpty() ? QString() : QStringLiteral("Wysyłka do autora jest niedostępna. ") + reason;
}

bool TSendToAuthorCommand::SendFileToAuthor(const QString &filePath, const QString &payerName,
                                            const QString &payerNIP) {
  if (const QString unavailable = Unavailable(); !unavailable.isEmpty()) {
    FHost.Log.AppendError(unavailable);
    return false;
  }
  try {
    FHost.Mailer.SendFileToAuthor(payerName + u' ' + payerNIP, filePath);
  } catch (const TCancelled &cancelled) {
    FHost.Log.AppendLog(cancelled.Message(), false);
    return false;
  } catch (const std::exception &error) {
    if (const auto *own = dynamic_cast<const Exception *>(&error); own && !own->Detail().isEmpty())
      FHost.Log.Append(QStringLiteral("Szczegóły błędu wysyłki: ") + own->Detail(), false, TLogKind::Error);
    FHost.Dialogs.ShowMessage(QStringLiteral("Błąd wysyłki: ") + ErrorMessage(error));
    return false;
  }
  FHost.Log.AppendLog(QString(45, u'-'), false);
  FHost.Log.AppendLog(QStringLiteral("Plik do autora został wysłany pomyślnie ..."), false);
  FHost.Dialogs.ShowMessage(QStringLiteral("Plik wysłany pomyślnie!"));
  return true;
}
