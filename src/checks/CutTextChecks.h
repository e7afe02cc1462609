#pragma once

#include "checks/TransferFinding.h"
#include "model/Payment.h"
#include "xml/XmlDocument.h"

#include <QList>

// The address parts that did not fit their fields: for each transfer of the written file, the
// payee's street and town as its payment held them, whole, against what the file carries, and
// what was left out.
QList<TTransferFinding> CutTextFindings(const TXmlDocument &written, const TPaymentList &payments);
