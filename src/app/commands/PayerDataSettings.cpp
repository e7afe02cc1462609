#include "app/commands/PayerDataSettings.h"

#include "app/commands/PayerDataCheck.h"
#include "model/Exception.h"
#include "settings/Settings.h"

namespace {

const QString WhereToTypeThem =
    QStringLiteral("uzupełnij dane Płatnika na stronie „Funkcje techniczne” i naciśnij „Zapisz dane Płatnika”");
// The command line has no page to type them on: there the file is edited by hand.
const QString KeysToFillIn =
    QStringLiteral("albo wpisz je w sekcji [COMPANY] tego pliku (klucze Name, NIP, IBAN, BIC)");

// What a transfer misses first, in the order the fields are checked; empty when nothing.
QString FirstMissing(const TCompanyData &payer) {
  if (payer.Name.isEmpty())
    return QStringLiteral("Brak nazwy firmy");
  if (payer.IBAN.isEmpty())
    return QStringLiteral("Brak rachunku IBAN");
  if (payer.BIC.isEmpty())
    return QStringLiteral("Brak rachunku BIC");
  if (payer.NIP.isEmpty())
    return QStringLiteral("Brak identyfikatora NIP");
  return QString();
}

} // namespace

TCompanyData LoadCompletePayerData(const TAppPaths &paths) {
  TCompanyData payer = TSettings::LoadCompany(paths.SettingsFile());
  if (const QString missing = FirstMissing(payer); !missing.isEmpty())
    throw Exception(QStringLiteral("%1 w %2: %3 %4").arg(missing, paths.SettingsFile(), WhereToTypeThem, KeysToFillIn));
  // A hand-edited file may write the account in groups, as a bank statement does; the window
  // saves it without blanks, in capitals, and so it goes into the transfer.
  payer.IBAN = NormalisedIban(payer.IBAN);
  return payer;
}

void ReportMissingPayerData(THost &host) {
  if (FirstMissing(TSettings::LoadCompany(host.Paths.SettingsFile())).isEmpty())
    return;
  host.Log.AppendLog(QStringLiteral("Brak danych Płatnika: %1; program zapisze je w pliku %2")
                         .arg(WhereToTypeThem, host.Paths.SettingsFile()),
                     false);
}
