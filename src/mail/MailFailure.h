#pragma once

#include "mail/MailServer.h"
#include "mail/SmtpTranscript.h"

#include <QString>
#include <curl/curl.h>

// The Polish sentence that tells the user why a send failed: the server's refusal of a given
// command when there was one (with the server's own reply), else what libcurl reports, with
// its detail where that helps and without it where it would only add timings.
QString MailFailureMessage(CURLcode code, const char *curlDetail, const TSmtpTranscript &transcript,
                           const TMailServer &server);
