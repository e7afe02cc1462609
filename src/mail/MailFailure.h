#pragma once

#include "mail/MailServer.h"
#include "mail/SmtpTranscript.h"
#include "model/Exception.h"

#include <curl/curl.h>

// The error that tells the user why a send failed: the server's refusal of a given command
// when there was one (with the server's own reply), else a Polish sentence for what libcurl
// reports. libcurl's own English words, where it has any, go into the detail for the log.
// `verifyResult` is the TLS library's verdict on the server's certificate (CURLINFO_SSL_VERIFYRESULT).
Exception MailFailure(CURLcode code, const char *curlDetail, long verifyResult, const TSmtpTranscript &transcript,
                      const TMailServer &server);
