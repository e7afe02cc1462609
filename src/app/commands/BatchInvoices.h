#pragma once

#include "model/Types.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <vector>

// One invoice of a batch as read: its payment data and its KSeF number.
struct TBatchInvoice {
  TInvoicePaymentData Invoice;
  QString NrKsef;
};

// Reads the invoice files of a batch (`now` is the clock of the run), on every core of the
// machine, and gives them in the order of `files`. The batch pays in złoty only, so an invoice
// in another currency fails like one that cannot be read. All or nothing, as reading one file
// after the other would be: the first failing file in the order of `files` fails the whole
// read with its message, whatever the other threads met meanwhile.
std::vector<TBatchInvoice> ReadBatchInvoices(const QStringList &files, const QDateTime &now);
