#pragma once

#include "checks/TransferFinding.h"
#include "model/Payment.h"
#include "model/Types.h"

#include <QList>

// The banks' split-payment title (TMPPFormat::Standard) of the transfer at `transfer` (from 0), made
// from `payment` and `additionalReference` exactly as the file's title is: a title without a
// real KSeF number, a segment cut to what the banks read in it, and a segment's code ("/TXT/")
// inside the invoice number or the reference, which a bank takes for the start of that
// segment. Nothing for any other choice `mpp` makes.
QList<TTransferFinding> CheckStandardTitle(int transfer, const TPayment &payment, const QString &additionalReference,
                                           const TMPPSettings &mpp);
