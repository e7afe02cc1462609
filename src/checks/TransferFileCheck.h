#pragma once

#include "checks/TransferFinding.h"
#include "model/Payment.h"
#include "model/Types.h"
#include "xml/XmlSchema.h"

#include <QList>
#include <QStringList>

// Checks a transfer file just written, before the user takes it to the bank: against the
// official pain.001.001.09 schema, the payer's data, each payee's account and NIP, the same
// invoice twice, an empty file, and address parts cut to their fields. `payments` are what
// the file's transfers pay, in file order, with their address parts whole; `findings` are
// what the caller found in its own records. Gives one Polish sentence per finding, those of
// the file and the payer first, then transfer by transfer, each naming its transfer.
// `alsoVisit`, when given, sees every element of the file in the same pass, so that a caller
// that wants more of the file than the findings need not read it again.
// Fails only when the file cannot be read back.
QStringList CheckTransferFile(const QString &fileName, const TCompanyData &payer, const TPaymentList &payments,
                              QList<TTransferFinding> findings, const TXmlElementVisitor &alsoVisit = {});
