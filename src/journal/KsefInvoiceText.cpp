#include "journal/KsefInvoiceText.h"

#include "journal/HistoryText.h"
#include "model/PolishNumbers.h"

#include <QStringList>

QByteArray KsefInvoiceCsvHeader() {
  return CsvHeader({QStringLiteral("Pobrano"), QStringLiteral("Numer KSeF"), QStringLiteral("NIP sprzedawcy"),
                    QStringLiteral("Sprzedawca"), QStringLiteral("Numer faktury"), QStringLiteral("Data wystawienia"),
                    QStringLiteral("Kwota brutto"), QStringLiteral("Waluta"), QStringLiteral("Plik"),
                    QStringLiteral("Środowisko"), QStringLiteral("SHA-256")});
}

QByteArray KsefInvoiceCsvLine(const TKsefInvoiceRecord &invoice) {
  return CsvLine({ShownDateTimeText(invoice.DownloadedAt), CsvText(invoice.KsefNumber), CsvText(invoice.SellerNIP),
                  CsvText(invoice.SellerName), CsvText(invoice.InvoiceNumber), CsvText(invoice.IssueDate),
                  invoice.GrossAmount ? CsvAmount(*invoice.GrossAmount) : QString(), CsvText(invoice.Currency),
                  CsvText(invoice.FilePath), CsvText(invoice.Environment), CsvText(invoice.Sha256)});
}

QString KsefInvoiceTableHeader() {
  return TableColumn(QStringLiteral("Pobrano"), 19) + u' ' + TableColumn(QStringLiteral("Numer KSeF"), 35) + u' ' +
         TableColumn(QStringLiteral("NIP"), 10) + u' ' + TableColumn(QStringLiteral("Sprzedawca"), 30) + u' ' +
         TableColumn(QStringLiteral("Numer faktury"), 20) + u' ' + TableColumn(QStringLiteral("Wystawiona"), 10) +
         u' ' + QStringLiteral("Kwota brutto").rightJustified(15) + QStringLiteral(" Wal. Plik");
}

QString KsefInvoiceTableLine(const TKsefInvoiceRecord &invoice) {
  return ShownDateTimeText(invoice.DownloadedAt) + u' ' + TableColumn(invoice.KsefNumber, 35) + u' ' +
         TableColumn(invoice.SellerNIP, 10) + u' ' + TableColumn(invoice.SellerName, 30) + u' ' +
         TableColumn(invoice.InvoiceNumber, 20) + u' ' + TableColumn(invoice.IssueDate, 10) + u' ' +
         (invoice.GrossAmount ? PolishAmount(*invoice.GrossAmount) : QString()).rightJustified(15) + u' ' +
         TableColumn(invoice.Currency, 4) + u' ' + invoice.FilePath;
}
