#pragma once

#include "journal/JournalRecords.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

// The journal's listing as text, line by line, so that a listing of any length is written out
// as it is read.

// Each line names the transfer file by its number in the journal ("Nr pliku") and says since
// when it is withdrawn ("Wycofany"), if it is.

// CSV for a Polish spreadsheet: UTF-8 with a byte-order mark (given with the header), fields
// separated by semicolons, amounts with a decimal comma, lines ended by CR LF. A field holding
// a semicolon, a quote or a line break is quoted; a text field that a spreadsheet would take
// for a formula (starting with "=", "+", "-" or "@") gets an apostrophe in front. After the
// columns of the page come the account, the transfer's title, split payment ("tak" or "nie"),
// its VAT amount and the white-list result.
QByteArray HistoryCsvHeader();
QByteArray HistoryCsvLine(const THistoryEntry &entry);

// A table for the terminal: columns of fixed width, long texts cut with "…" (TableColumn).
QString HistoryTableHeader();
QString HistoryTableLine(const THistoryEntry &entry);

// The day the payment's file was withdrawn, "2026-03-06"; empty while it counts as paid.
QString HistoryWithdrawnDate(const THistoryEntry &entry);

// Adds the payment to the sums per currency, unless its file was withdrawn: it paid nothing.
void AddToHistorySums(QMap<QString, TAmount> &sums, const THistoryEntry &entry);

// The sums of the amounts per currency, e.g. "1234,50 PLN; 10,00 EUR"; "0,00" when there are none.
QString CurrencySumsText(const QMap<QString, TAmount> &sums);
// The same after "Razem: ", as the listings end.
QString HistorySumsText(const QMap<QString, TAmount> &sums);

// The pieces of such CSV and such tables, for every listing of the journal.
// A text field, quoted or guarded as above.
QString CsvText(const QString &text);
// "1234,50": a decimal comma without grouping, which a spreadsheet reads as a number.
QString CsvAmount(TAmount amount);
// The header with the byte-order mark, and a line, each ended by CR LF.
QByteArray CsvHeader(const QStringList &columns);
QByteArray CsvLine(const QStringList &fields);
// A column of fixed width, a long text cut with "…".
QString TableColumn(const QString &text, qsizetype width);
// "2026-03-05 14:05:09".
QString ShownDateTimeText(const QDateTime &time);
