#pragma once

#include "CliRequest.h"
#include "app/commands/AppPaths.h"

// pavena-cli ksef pobierz: logs in (a certificate, a token file, PAVENA_KSEF_TOKEN or the
// certificate of settings.ini's [KSeF] Certyfikat= and Klucz=), downloads the purchase
// invoices into the environment's folder (FAKTURY_KSEF/ for produkcyjne), records them in the journal and prints a line
// for each new one and a summary. 0 on success, 1 on an error.
int RunKsefDownload(const TCliRequest &request, const TAppPaths &paths);
