#pragma once

#include "journal/JournalRecords.h"

#include <QByteArray>
#include <QString>

// The listing of the purchase invoices downloaded from KSeF, in the forms of the payments'
// listing (HistoryText.h): CSV for a spreadsheet and a table for the terminal. Each line holds
// the time of the download, the KSeF number, the seller's NIP and name, the invoice's number
// and date, its gross amount and currency and its file; the CSV adds the environment and the
// file's SHA-256.
QByteArray KsefInvoiceCsvHeader();
QByteArray KsefInvoiceCsvLine(const TKsefInvoiceRecord &invoice);

QString KsefInvoiceTableHeader();
QString KsefInvoiceTableLine(const TKsefInvoiceRecord &invoice);
