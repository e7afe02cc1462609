#pragma once

#include "model/Payment.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <vector>

// Reads the invoice files of a batch (`now` is the clock of the run), on every core of the
// machine, and gives them in the order of `files`. The batch pays in złoty only, so an invoice
// in another currency fails like one that cannot be read. All or nothing, as reading one file
// after the other would be: the first failing file in the order of `files` fails the whole
// read with its message, whatever the other threads met meanwhile.
TPaymentList ReadBatchInvoices(const QStringList &files, const QDateTime &now);
