#include "app/commands/KsefPageCommand.h"

#include "checks/Identifiers.h"
#include "ksefapi/KsefCalendar.h"
#include "ksefapi/KsefDownloadState.h"
#include "ksefapi/KsefTokenLogin.h"
#include "ksefapi/KsefXadesLogin.h"
#include "model/Exception.h"
#include "settings/Settings.h"

#include <QFile>
#include <algorithm>

namespace {

// A PEM key says in its header whether a passphrase guards it; the header is near the start.
bool KeyIsEncrypted(const QString &keyFile) {
  QFile file(keyFile);
  if (!file.open(QIODevice::ReadOnly))
    return false;
  return file.read(64 * 1024).contains("ENCRYPTED");
}

} // namespace

TKsefPageCommand::TKsefPageCommand(THost &host, ISecretPrompt &prompt, IKeyring &keyring)
    : FHost(host), FPrompt(prompt), FKeyring(keyring) {}

QString TKsefPageCommand::StartText(const QString &environment) const {
  const std::optional<QDateTime> remembered =
      TKsefDownloadState(KsefStateFile(FHost.Paths))
          .Start(environment, NipWithoutSeparators(TSettings::LoadCompany(FHost.Paths.SettingsFile()).NIP));
  try {
    if (remembered)
      return QStringLiteral(
                 "Bez daty „Od” pobieranie zacznie się tam, gdzie skończyło się ostatnie: %1 czasu polskiego.")
          .arg(remembered->toTimeZone(KsefTimeZone()).toString(QStringLiteral("dd.MM.yyyy HH:mm")));
    return QStringLiteral("Bez daty „Od” pierwsze pobieranie zacznie się od pierwszego dnia poprzedniego miesiąca: %1.")
        .arg(KsefDefaultFirstDay(FHost.Now()).toString(QStringLiteral("dd.MM.yyyy")));
  } catch (const Exception &error) {
    return error.Message();
  }
}

std::unique_ptr<IKsefLogin> TKsefPageCommand::PrepareLogin(const TKsefPageSettings &settings) {
  FPending.reset();
  settings.Save(FHost.Paths.SettingsFile());
  if (settings.Method == TKsefLoginMethod::Token) {
    // The token is asked for only when there is a company to log in for.
    const QString nip = KsefPayerNip(FHost.Paths);
    std::optional<QByteArray> token =
        Secret({QStringLiteral("Token KSeF"),
                QStringLiteral("Token KSeF dla NIP %1 (środowisko %2):").arg(nip, settings.Environment)},
               QStringLiteral("token %1 %2").arg(settings.Environment, nip));
    if (!token)
      return nullptr;
    return std::make_unique<TKsefTokenLogin>(std::move(*token));
  }
  if (settings.Certificate.isEmpty())
    throw Exception(QStringLiteral("Wybierz plik certyfikatu KSeF: certyfikat PEM z kluczem prywatnym albo jeden plik "
                                   "PKCS#12 (.p12, .pfx)."));
  std::optional<QByteArray> passphrase = QByteArray();
  if (settings.Key.isEmpty())
    passphrase =
        Secret({QStringLiteral("Hasło pliku PKCS#12"), QStringLiteral("Hasło pliku %1:").arg(settings.Certificate)},
               QStringLiteral("pkcs12 %1").arg(settings.Certificate));
  else if (KeyIsEncrypted(settings.Key))
    passphrase = Secret(
        {QStringLiteral("Hasło klucza prywatnego"), QStringLiteral("Hasło klucza prywatnego %1:").arg(settings.Key)},
        QStringLiteral("klucz %1").arg(settings.Key));
  if (!passphrase)
    return nullptr;
  try {
    return std::make_unique<TKsefXadesLogin>(TKsefCertificateFiles{settings.Certificate, settings.Key},
                                             std::move(*passphrase), FHost.Now);
  } catch (const TKsefSecretRefused &) {
    ForgetSecret();
    throw;
  }
}

std::optional<QByteArray> TKsefPageCommand::Secret(const TSecretQuestion &question, const QString &key) {
  // A keyring that does not answer now may answer next time: the user is only asked.
  // Kept from the keyring or not, the secret is settled once KSeF has answered.
  const auto pending = [&](const QByteArray &secret, bool remember) {
    FPending = TPendingSecret{key, secret, remember};
    return secret;
  };
  try {
    if (const std::optional<QByteArray> remembered = FKeyring.Read(key))
      return pending(*remembered, false);
  } catch (const Exception &) {
  }
  const std::optional<TSecretAnswer> answer = FPrompt.Ask(question);
  if (!answer)
    return std::nullopt;
  return pending(answer->Secret, answer->Remember);
}

void TKsefPageCommand::ForgetSecret() {
  if (!FPending)
    return;
  const QString key = FPending->Key;
  FPending.reset();
  try {
    FKeyring.Remove(key);
  } catch (const Exception &error) {
    FHost.Log.AppendWarning(
        QStringLiteral("%1, więc zostało w nim błędne hasło albo token (wpis „%2” usługi „Pavena KSeF”): usuń ten "
                       "wpis, żeby program zapytał ponownie.")
            .arg(error.Message(), key));
  }
}

void TKsefPageCommand::SettleSecret(const TKsefDownloadOutcome &outcome) {
  if (outcome.SecretRefused) {
    ForgetSecret();
    return;
  }
  if (outcome.LoggedIn && FPending && FPending->Remember) {
    try {
      FKeyring.Write(FPending->Key, FPending->Secret);
    } catch (const Exception &error) {
      FHost.Log.AppendWarning(
          QStringLiteral("%1, więc nic w nim nie zapamiętano; przy następnym pobieraniu program zapyta ponownie.")
              .arg(error.Message()));
    }
  }
  FPending.reset();
}

void TKsefPageCommand::LogOutcome(const TKsefDownloadOutcome &outcome) {
  for (const QString &notice : outcome.Notices)
    FHost.Log.AppendLog(notice, false);
  const bool failed = !outcome.Error.isEmpty();
  // What did come in is told even when the download ended early.
  if (!failed || std::any_of(outcome.Invoices.begin(), outcome.Invoices.end(),
                             [](const TKsefStoredInvoice &invoice) { return invoice.New; }))
    FHost.Log.AppendLog(KsefDownloadLines(outcome).last(), false);
  if (outcome.Cancelled)
    FHost.Log.AppendLog(outcome.Error, false);
  else if (failed)
    FHost.Log.AppendError(outcome.Error);
}

QList<QStringList> TKsefPageCommand::InvoiceRows(const TKsefDownloadOutcome &outcome) {
  QList<QStringList> rows;
  for (const TKsefStoredInvoice &invoice : outcome.Invoices) {
    const TKsefInvoiceMetadata &data = invoice.Metadata;
    rows << QStringList{data.KsefNumber, data.SellerName.isEmpty() ? data.SellerNip : data.SellerName,
                        data.InvoiceNumber, QStringLiteral("%1 %2").arg(data.GrossAmount, data.Currency).trimmed(),
                        invoice.New ? QStringLiteral("nowa") : QStringLiteral("już była")};
  }
  return rows;
}
