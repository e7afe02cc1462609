#pragma once

#include "model/Amount.h"
#include "model/Types.h"
#include "xml/XmlDocument.h"

#include <QDateTime>
#include <QString>

// Reads one KSeF "FA" invoice (the document the PDF shows too) and takes the payment data of
// its seller from it. Whatever goes wrong is reported as one error naming the file, the
// invoice and the seller, ready to be logged.
class TKsefInvoiceReader {
public:
  TKsefInvoiceReader() = delete;

  // `now` is the clock of the run: DueDate is its date at midnight, local time. When
  // `ksefNumber` is given it receives the invoice's KSeF number (see KsefNumberOf), taken from
  // the same parse, so a batch need not read each file twice. A batch passes one `parser` for
  // all its files; without one the file gets a parser of its own.
  static TInvoicePaymentData LoadFromFile(const QString &fileName, const QDateTime &now, QString *ksefNumber = nullptr,
                                          TXmlParser *parser = nullptr);
};

// The one message of a failed invoice: "Plik: ", "Faktura: ", "Kontrahent: " and "Błąd: " lines
// naming the file (without its directory), what was read of `data` and the cause, then the
// separator line. A caller that refuses an invoice the reader accepted says it the same way.
QString InvoiceFailureMessage(const QString &fileName, const TInvoicePaymentData &data, const QString &cause);
