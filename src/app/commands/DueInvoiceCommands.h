#pragma once

#include "app/commands/DueInvoices.h"
#include "app/commands/Host.h"
#include "app/commands/TransferCommands.h"
#include "model/AtomicFile.h"

#include <QStringList>
#include <vector>

// What the list "Do zapłaty" does besides listing, for the page and for pavena-cli do-zaplaty.

// One batch transfer file of those `chosen` invoices that are still to pay (the amount left to
// pay of each), through the batch's own writing and checks; then one "Uwaga: " line for each
// chosen invoice left out, saying why. With nothing left to pay nothing is written and the one
// error says so. See TTransferCommands::CreateDueBatch for two runs at once.
TTransferResult CreateDueTransfer(THost &host, const std::vector<TDueInvoice> &chosen, const TMPPSettings &mpp);

// The warnings of `invoices` still to pay (TDueInvoice::Warnings), one sentence each naming its
// invoice, for the lines "Uwaga: ".
QStringList DueWarnings(const std::vector<const TDueInvoice *> &invoices);

// The invoices pavena-cli do-zaplaty --utworz pays: those named by `ksefNumbers` (each, in its
// order; a number the list does not hold goes to `unknown`), or without numbers those due up
// to `dueUpTo` that are still to pay or cannot be paid (so that the latter are said).
std::vector<TDueInvoice> ChooseDueInvoices(const std::vector<TDueInvoice> &invoices, const QStringList &ksefNumbers,
                                           const std::optional<QDate> &dueUpTo, QStringList &unknown);

// Marks the invoice of KSeF number `ksefNumber` as paid without this program's transfer file,
// with an optional note, or takes the mark away; each gives the line saying what was done and
// fails with a Polish message for a text that is no KSeF number, an invoice not marked, or a
// journal that cannot be changed.
QString MarkPaidOutside(const TAppPaths &paths, const QString &ksefNumber, const QString &note, const QDateTime &now);
QString UndoPaidOutside(const TAppPaths &paths, const QString &ksefNumber);

// The listing as CSV, with the fields written as the journal's CSV writes them, and as a table
// for the terminal ended by the sums to pay per currency.
void WriteDueCsv(const std::vector<const TDueInvoice *> &invoices, const TByteSink &sink);
void WriteDueTable(const std::vector<const TDueInvoice *> &invoices, const TByteSink &sink);
