#pragma once

#include "model/Payment.h"

#include <QString>
#include <QStringList>

// One thing in a written transfer file that the bank or the tax office would reject, or that
// would send money where it should not go.
struct TTransferFinding {
  static constexpr int NoTransfer = -1;

  // The transfer concerned, from 0 in file order; NoTransfer for the file as a whole or the payer.
  int Transfer = NoTransfer;
  // The elements whose schema violations this finding already explains, as paths of local names
  // below the transfer's CdtTrfTxInf (below CstmrCdtTrfInitn for the file as a whole).
  QStringList Elements;
  // One Polish sentence; where it concerns a transfer, the transfer's name goes before it.
  QString Text;
};

// How a warning names a transfer: by the invoice it pays and its payee, or for a payment of a
// VideoTel file by its title and payee.
QString TransferName(const TPayment &payment);

// The number of characters with the Polish noun in its right form: "1 znak", "34 znaki",
// "140 znaków".
QString CharacterCount(qsizetype count);
