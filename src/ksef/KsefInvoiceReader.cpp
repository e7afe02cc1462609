#include "ksef/KsefInvoiceReader.h"

#include "ksef/Iso8601Date.h"
#include "ksef/KsefNumber.h"
#include "model/Exception.h"
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

} // namespace

QString InvoiceFailureMessage(const QString &fileName, const TInvoicePaymentData &data, const QString &cause) {
  return QStringLiteral("Plik: %1\r\nFaktura: %2\r\nKontrahent: %3\r\nBłąd: %4\r\n")
             .arg(QFileInfo(fileName).fileName(), data.InvoiceNumber, data.CreditorName, cause) +
         LogSeparator() + QStringLiteral("\r\n");
}

TInvoicePaymentData TKsefInvoiceReader::LoadFromFile(const QString &fileName, const QDateTime &now, QString *ksefNumber,
                                                     TXmlParser *parser) {
  TInvoicePaymentData data;
  try {
    const TXmlDocument document = parser ? parser->Load(fileName) : LoadXmlFile(fileName);
    const TXmlElement root = document.Root();
    const TXmlElement seller = root.FirstChild(QStringLiteral("Podmiot1"));
    const TXmlElement invoice = root.FirstChild(QStringLiteral("Fa"));
    const TXmlElement identification = seller.FirstChild(QStringLiteral("DaneIdentyfikacyjne"));
    const TXmlElement address = seller.FirstChild(QStringLiteral("Adres"));

    data.CreditorName = GetChildText(identification, QStringLiteral("Nazwa"));
    data.CreditorNIP = GetChildText(identification, QStringLiteral("NIP"));
    data.CreditorCountry = GetChildText(address, QStringLiteral("KodKraju"));
    data.CreditorAddress = GetChildText(address, QStringLiteral("AdresL1"));
    data.CreditorAddress2 = GetChildText(address, QStringLiteral("AdresL2"));
    data.InvoiceNumber = GetChildText(invoice, QStringLiteral("P_2"));
    data.CurrencyCode = GetChildText(invoice, QStringLiteral("KodWaluty"));
    // Only a warning hangs on this mark, so odd content in it never fails the invoice.
    data.SplitPayment =
        Trim(invoice.FirstChild(QStringLiteral("Adnotacje")).FirstChild(QStringLiteral("P_18A")).TextContent()) ==
        QStringLiteral("1");

    // An empty or missing amount goes through the conversion too, so it fails there.
    data.Amount = ParseAmount(GetChildText(invoice, QStringLiteral("P_15")));
    if (data.Amount <= TAmount())
      throw Exception(QStringLiteral("Nieprawidłowa/ujemna kwota faktury."));

    data.VATAmount = SumVATAmounts(invoice);
    if (data.VATAmount < TAmount())
      throw Exception(QStringLiteral("Nieprawidłowa (ujemna) kwota VAT."));

    data.InvoiceDate = ParseIso8601Date(GetChildText(invoice, QStringLiteral("P_1")));
    data.DueDate = QDateTime(now.toLocalTime().date(), QTime(0, 0));

    const TXmlElement account =
        invoice.FirstChild(QStringLiteral("Platnosc")).FirstChild(QStringLiteral("RachunekBankowy"));
    data.CreditorIBAN = NormalizeAccountNumber(GetChildText(account, QStringLiteral("NrRB")));
    if (ksefNumber)
      *ksefNumber = KsefNumberOf(document, fileName);
  } catch (const Exception &error) {
    throw Exception(InvoiceFailureMessage(fileName, data, error.Message()));
  }
  return data;
}

QString TKsefInvoiceReader::GetChildText(const TXmlElement &node, const QString &name) {
  return Trim(node.FirstChild(name).SingleText());
}

TAmount TKsefInvoiceReader::GetChildAmount(const TXmlElement &node, const QString &name) {
  const QString text = GetChildText(node, name);
  return text.isEmpty() ? TAmount() : ParseAmount(text);
}

TAmount TKsefInvoiceReader::SumVATAmounts(const TXmlElement &node) {
  static const QString names[] = {QStringLiteral("P_14_1"), QStringLiteral("P_14_2"), QStringLiteral("P_14_3"),
                                  QStringLiteral("P_14_4"), QStringLiteral("P_14_5"), QStringLiteral("P_14_6"),
                                  QStringLiteral("P_14_7")};
  TAmount total;
  for (const QString &name : names)
    total += GetChildAmount(node, name);
  return total;
}

QString TKsefInvoiceReader::NormalizeAccountNumber(const QString &text) {
  const QString account = AsciiUpper(Trim(text).remove(u' '));
  if (account.startsWith(QStringLiteral("PL")))
    return account;
  if (account.size() == 26)
    return QStringLiteral("PL") + account;
  throw Exception(QStringLiteral("Nieprawidłowy numer rachunku: %1").arg(text));
}
