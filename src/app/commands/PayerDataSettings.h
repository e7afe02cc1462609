#pragma once

#include "app/commands/Host.h"
#include "model/Types.h"

// The payer data of settings.ini (Name, NIP, IBAN, BIC), which every transfer needs and which
// the user types on the page "Funkcje techniczne".

// The payer data of settings.ini, the IBAN without blanks and in capitals as the window saves
// it. Fails when one of them is missing, naming it, the file, the page where the data are typed
// and the keys of the file that hold them.
TCompanyData LoadCompletePayerData(const TAppPaths &paths);

// At the window's start: when any of the payer data is missing, one log line that says where
// to type them and the file they will be kept in.
void ReportMissingPayerData(THost &host);
