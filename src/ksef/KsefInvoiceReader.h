#pragma once

#include "model/Amount.h"
#include "model/Payment.h"
#include "model/PaymentDue.h"
#include "xml/XmlDocument.h"

#include <QDateTime>
#include <QString>

// Reads one KSeF "FA" invoice (the document the PDF shows too) and takes the payment data of
// its seller from it, in one pass over the file. Whatever goes wrong is reported as one error
// naming the file, the invoice and the seller, ready to be logged.
class TKsefInvoiceReader {
public:
  TKsefInvoiceReader() = delete;

  // The invoice's payment, with its address split into its parts (ParseAddress) and its KSeF
  // number (KsefNumberOf) from the same parse. `now` is the clock of the run: DueDate and
  // ExecutionDate are its date at midnight, local time. A batch passes one `parser` for all
  // its files; without one the file gets a parser of its own.
  static TPayment LoadFromFile(const QString &fileName, const QDateTime &now, TXmlParser *parser = nullptr);

  // What the list of invoices to pay needs of one file, read in the same one pass: the payment
  // as LoadFromFile reads it and, for an invoice a transfer refuses, LoadFromFile's cause in
  // Refusal with the invoice's date and amount read all the same where they can be; and when it
  // falls due and what is paid of it. A file that is no invoice, or a due date or paid amount
  // that is no date or amount, fails as LoadFromFile does.
  struct TDueRead {
    TPayment Payment;
    TPaymentDue Due;
    QString Refusal;
  };
  static TDueRead LoadDueFromFile(const QString &fileName, const QDateTime &now, TXmlParser *parser = nullptr);
};

// The one message of a failed invoice: "Plik: ", "Faktura: ", "Kontrahent: " and "Błąd: " lines
// naming the file (without its directory), what was read of `data` and the cause, then the
// separator line. A caller that refuses an invoice the reader accepted says it the same way.
QString InvoiceFailureMessage(const QString &fileName, const TPayment &data, const QString &cause);
