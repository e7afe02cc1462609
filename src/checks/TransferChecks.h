#pragma once

#include "checks/TransferFinding.h"
#include "model/Payment.h"
#include "model/Types.h"

#include <QList>

// Checks made on the records a transfer file is written from.

// The payer's account, NIP and BIC as settings.ini gives them.
QList<TTransferFinding> CheckPayer(const TCompanyData &payer);

// The payments of one file, in file order: each payee's account and NIP (when it has ten
// digits), the same invoice paid twice, and a file without any transfer.
QList<TTransferFinding> CheckPayments(const TPaymentList &payments);

// The invoice paid by the transfer at `transfer` (from 0) under `mpp`: an invoice marked for
// split payment paid without it, split payment in a currency other than złoty, and a VAT amount
// above the amount of the split-payment transfer.
QList<TTransferFinding> CheckSplitPayment(int transfer, const TPayment &invoice, const TMPPSettings &mpp);

// What the split-payment encoding that `mpp` chooses leaves out for the bank, said once for the
// whole file: TMPPFormat::None writes no remittance block, so neither the VAT amount nor the
// invoice number, which the bank needs for a split payment.
QList<TTransferFinding> CheckSplitPaymentFormat(const TMPPSettings &mpp);

// The structured encoding (TMPPFormat::Structured) of the transfer at `transfer` refers to its
// invoice by the KSeF number; an invoice without one is referred to by its number instead, and
// this says so.
QList<TTransferFinding> CheckStructuredReference(int transfer, const TPayment &payment, const TMPPSettings &mpp);
