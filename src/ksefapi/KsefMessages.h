#pragma once

#include "ksefapi/KsefAnswers.h"

#include <QByteArray>
#include <QString>

// What the user reads when KSeF says no: one Polish sentence that says what to do.

// The end of a login that did not succeed (status 415, 425, 450, 460, 470, 480, 500, 550 or
// one KSeF added later).
QString LoginFailureMessage(const TKsefStatus &status);

// An HTTP error answer of `call` (a Polish noun phrase such as "logowanie tokenem"): the
// sentence of its KSeF error code where it has one, else one for the HTTP status.
QString ErrorAnswerMessage(const QString &call, long httpStatus, const QByteArray &body);

// The end of an export that did not succeed.
QString ExportFailureMessage(const TKsefStatus &status);
