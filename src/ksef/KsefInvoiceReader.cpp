#include "ksef/KsefInvoiceReader.h"

#include "ksef/InvoiceDocumentReader.h"
#include "ksef/Iso8601Date.h"
#include "ksef/KsefNumber.h"
#include "model/Exception.h"
#include "model/StructuredAddress.h"
#include "model/Text.h"

#include <QFileInfo>

namespace {

// Invoices write amounts with a full stop; the Polish format also takes a comma.
TAmount ParseAmount(const QString &text) {
  QString polish = text;
  return TAmount::ParsePolish(polish.replace(u'.', u','));
}

// Only a to z: other letters of an account text stay as they are.
QString AsciiUpper(QString text) {
  for (QChar &c : text)
    if (c >= u'a' && c <= u'z')
      c = QChar(c.unicode() - u'a' + u'A');
  return text;
}

// The text of one element of the payment data; the transfer refuses an element that holds
// more than one text node.
const QString &Strict(const TInvoiceDocument &invoice, const QString &element, const QString &text) {
  if (const auto mixed = invoice.MixedTexts.constFind(element); mixed != invoice.MixedTexts.cend())
    throw Exception(*mixed);
  return text;
}

TAmount StrictAmount(const TInvoiceDocument &invoice, const QString &element, const QString &text) {
  return ParseAmount(Strict(invoice, element, text));
}

// P_14_1 to P_14_7; an empty or missing one counts as nothing.
TAmount VatTotal(const TInvoiceDocument &invoice) {
  TAmount total;
  for (int rate = 1; rate <= 7; ++rate) {
    const QString key = QString::number(rate);
    QString vat;
    for (const TVatRateTotal &row : invoice.VatRates)
      if (row.Key == key)
        vat = row.Vat;
    Strict(invoice, QStringLiteral("P_14_") + key, vat);
    if (!vat.isEmpty())
      total += ParseAmount(vat);
  }
  return total;
}

QString NormalizeAccountNumber(const QString &text) {
  const QString account = AsciiUpper(Trim(text).remove(u' '));
  if (account.startsWith(QStringLiteral("PL")))
    return account;
  if (account.size() == 26)
    return QStringLiteral("PL") + account;
  // An invoice paid in cash or by card names no account; the line starts as for a wrong one,
  // which scripts may look for, and says so.
  if (account.isEmpty())
    throw Exception(QStringLiteral("Nieprawidłowy numer rachunku: faktura nie podaje rachunku bankowego sprzedawcy "
                                   "(RachunekBankowy)"));
  throw Exception(QStringLiteral("Nieprawidłowy numer rachunku: %1").arg(text));
}

// Fills `data` in the order of the checks, so that a failure leaves what was read before it
// for the message.
void FillPaymentData(const TInvoiceDocument &invoice, const QDateTime &now, TPayment &data) {
  const TInvoiceParty &seller = invoice.Seller;
  data.CreditorName = Strict(invoice, QStringLiteral("Nazwa"), seller.Name);
  data.CreditorNIP = Strict(invoice, QStringLiteral("NIP"), seller.Nip);
  data.CreditorCountry = Strict(invoice, QStringLiteral("KodKraju"), seller.CountryCode);
  data.CreditorAddress = Strict(invoice, QStringLiteral("AdresL1"), seller.AddressLine1);
  data.CreditorAddress2 = Strict(invoice, QStringLiteral("AdresL2"), seller.AddressLine2);
  data.InvoiceNumber = Strict(invoice, QStringLiteral("P_2"), invoice.Number);
  data.CurrencyCode = Strict(invoice, QStringLiteral("KodWaluty"), invoice.Currency);
  // Only a warning hangs on this mark, so odd content in it never fails the invoice.
  data.SplitPayment = invoice.Annotations.SplitPayment;

  // An empty or missing amount goes through the conversion too, so it fails there.
  data.Amount = StrictAmount(invoice, QStringLiteral("P_15"), invoice.Total);
  if (data.Amount <= TAmount())
    throw Exception(QStringLiteral("Nieprawidłowa/ujemna kwota faktury."));

  data.VATAmount = VatTotal(invoice);
  if (data.VATAmount < TAmount())
    throw Exception(QStringLiteral("Nieprawidłowa (ujemna) kwota VAT."));

  data.InvoiceDate = ParseIso8601Date(Strict(invoice, QStringLiteral("P_1"), invoice.IssueDate));
  data.DueDate = QDateTime(now.toLocalTime().date(), QTime(0, 0));
  data.ExecutionDate = data.DueDate;

  const QString account = invoice.Payment.Accounts.empty() ? QString() : invoice.Payment.Accounts.front().Number;
  data.CreditorIBAN = NormalizeAccountNumber(Strict(invoice, QStringLiteral("NrRB"), account));

  const TStructuredAddress address = ParseAddress(data.CreditorAddress, data.CreditorAddress2);
  data.CreditorStrtNm = address.StrtNm;
  data.CreditorBldgNb = address.BldgNb;
  data.CreditorPstCd = address.PstCd;
  data.CreditorTwnNm = address.TwnNm;
}

// The latest day of the terms; a term given only in words names no day.
std::optional<QDate> LatestDueDate(const TPaymentInfo &payment) {
  std::optional<QDate> latest;
  for (const TDatedEntry &term : payment.DueDates) {
    if (term.Date.isEmpty())
      continue;
    const QDate day = ParseIso8601Date(term.Date).date();
    if (!latest || day > *latest)
      latest = day;
  }
  return latest;
}

TPaymentDue DueOf(const TInvoiceDocument &invoice) {
  TPaymentDue due;
  due.DueDate = LatestDueDate(invoice.Payment);
  due.Paid = invoice.Payment.Paid;
  due.PartlyPaid = invoice.Payment.PartlyPaid;
  due.PaidInParts = invoice.Payment.PaidInParts;
  for (const TDatedEntry &part : invoice.Payment.PartPayments)
    if (!part.Text.isEmpty())
      due.PaidParts += ParseAmount(part.Text);
  due.Correction = invoice.Kind.startsWith(QStringLiteral("KOR"));
  due.Advance = invoice.Kind == QStringLiteral("ZAL") || invoice.Kind == QStringLiteral("KOR_ZAL");
  due.HasAccount = !invoice.Payment.Accounts.empty() && !invoice.Payment.Accounts.front().Number.isEmpty();
  return due;
}

// What a refused invoice still shows in the list; left as it is where it cannot be read.
void FillShownData(const TInvoiceDocument &invoice, TPayment &data) {
  try {
    data.InvoiceDate = ParseIso8601Date(invoice.IssueDate);
    data.Amount = ParseAmount(invoice.Total);
  } catch (const Exception &) {
  }
}

} // namespace

QString InvoiceFailureMessage(const QString &fileName, const TPayment &data, const QString &cause) {
  return QStringLiteral("Plik: %1\r\nFaktura: %2\r\nKontrahent: %3\r\nBłąd: %4\r\n")
             .arg(QFileInfo(fileName).fileName(), data.InvoiceNumber, data.CreditorName, cause) +
         LogSeparator() + QStringLiteral("\r\n");
}

TPayment TKsefInvoiceReader::LoadFromFile(const QString &fileName, const QDateTime &now, TXmlParser *parser) {
  TPayment data;
  try {
    const TXmlDocument document = parser ? parser->Load(fileName) : LoadXmlFile(fileName);
    FillPaymentData(ReadInvoiceDocument(document, TInvoiceExtent::Payment), now, data);
    data.nrKsef = KsefNumberOf(document, fileName);
  } catch (const Exception &error) {
    throw Exception(InvoiceFailureMessage(fileName, data, error.Message()));
  }
  return data;
}

TKsefInvoiceReader::TDueRead TKsefInvoiceReader::LoadDueFromFile(const QString &fileName, const QDateTime &now,
                                                                 TXmlParser *parser) {
  TDueRead read;
  try {
    const TXmlDocument document = parser ? parser->Load(fileName) : LoadXmlFile(fileName);
    const TInvoiceDocument invoice = ReadInvoiceDocument(document, TInvoiceExtent::Payment);
    read.Payment.nrKsef = KsefNumberOf(document, fileName);
    read.Due = DueOf(invoice);
    try {
      FillPaymentData(invoice, now, read.Payment);
    } catch (const Exception &refusal) {
      read.Refusal = refusal.Message();
      FillShownData(invoice, read.Payment);
    }
  } catch (const Exception &error) {
    throw Exception(InvoiceFailureMessage(fileName, read.Payment, error.Message()));
  }
  return read;
}
