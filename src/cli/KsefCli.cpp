#include "KsefCli.h"

#include "ConsoleHost.h"
#include "TerminalProgress.h"
#include "TerminalSecret.h"
#include "app/commands/KsefDownload.h"
#include "app/commands/KsefInvoiceJournal.h"
#include "ksefapi/KsefConnection.h"
#include "ksefapi/KsefSecretFile.h"
#include "ksefapi/KsefTokenLogin.h"
#include "ksefapi/KsefXadesLogin.h"
#include "model/Exception.h"
#include "settings/IniFile.h"

#include <memory>

namespace {

const QString Section = QStringLiteral("KSeF");
const char *const TokenVariable = "PAVENA_KSEF_TOKEN";
const char *const PassphraseVariable = "PAVENA_KSEF_HASLO";

std::unique_ptr<IKsefLogin> CertificateLogin(const TKsefCertificateFiles &files) {
  // The file holding the private key: the key's own, or the PKCS#12 file.
  CheckPrivateFile(files.Key.isEmpty() ? files.Certificate : files.Key);
  const auto now = [] { return QDateTime::currentDateTimeUtc(); };
  if (qEnvironmentVariableIsSet(PassphraseVariable))
    return std::make_unique<TKsefXadesLogin>(files, qgetenv(PassphraseVariable), now);
  try {
    return std::make_unique<TKsefXadesLogin>(files, QByteArray(), now);
  } catch (const Exception &) {
    // A key under a passphrase: asked for on the terminal, when there is one.
    std::optional<QByteArray> passphrase = AskSecretOnTerminal("Hasło klucza prywatnego: ");
    if (!passphrase)
      throw;
    return std::make_unique<TKsefXadesLogin>(files, std::move(*passphrase), now);
  }
}

// The login of this run: the certificate or token file named on the command line, the token of
// PAVENA_KSEF_TOKEN, or the certificate of settings.ini, in that order.
std::unique_ptr<IKsefLogin> ChosenLogin(const TCliRequest &request, const TAppPaths &paths) {
  if (!request.KsefCertificate.isEmpty())
    return CertificateLogin({request.KsefCertificate, request.KsefKey});
  if (!request.KsefTokenFile.isEmpty())
    return std::make_unique<TKsefTokenLogin>(ReadTokenFile(request.KsefTokenFile));
  if (qEnvironmentVariableIsSet(TokenVariable))
    return std::make_unique<TKsefTokenLogin>(qgetenv(TokenVariable));
  const TIniFile settings(paths.SettingsFile());
  const QString certificate = settings.ReadString(Section, QStringLiteral("Certyfikat"));
  if (!certificate.isEmpty())
    return CertificateLogin({certificate, settings.ReadString(Section, QStringLiteral("Klucz"))});
  throw Exception(QStringLiteral("Brak danych do logowania w KSeF: podaj --certyfikat PLIK (z --klucz PLIK) albo "
                                 "--token-plik PLIK, ustaw zmienną PAVENA_KSEF_TOKEN albo wpisz certyfikat w "
                                 "settings.ini ([KSeF] Certyfikat=, Klucz=)."));
}

} // namespace

int RunKsefDownload(const TCliRequest &request, const TAppPaths &paths) {
  const QDateTime now = QDateTime::currentDateTime();
  std::unique_ptr<IKsefLogin> login;
  try {
    // Wrong settings are told before a passphrase is asked for.
    KsefConnectionFromSettings(paths.SettingsFile(), request.KsefEnvironment);
    login = ChosenLogin(request, paths);
  } catch (const std::exception &error) {
    WriteLines(stderr, QStringLiteral("Błąd: ") + ErrorMessage(error));
    return 1;
  }
  TKsefDownloadOutcome outcome;
  {
    TTerminalProgress progress("Pobieranie z KSeF");
    TKsefSleeper waiter;
    const TKsefDownloadRequest download{request.History.From, request.History.To, request.KsefEnvironment};
    outcome = DownloadAndRecordKsefInvoices(paths, now, *login, download, progress, waiter);
  }
  for (const QString &notice : outcome.Notices)
    WriteLines(stderr, notice);
  // A failure before anything came in has nothing to list.
  if (outcome.Error.isEmpty() || !outcome.Invoices.isEmpty())
    WriteLines(stdout, KsefDownloadLines(outcome).join(u'\n'));
  if (!outcome.Error.isEmpty()) {
    WriteLines(stderr, QStringLiteral("Błąd: ") + outcome.Error);
    return 1;
  }
  return 0;
}
