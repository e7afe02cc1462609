#include "journal/HistoryText.h"

#include "model/PolishNumbers.h"

#include <QStringList>

namespace {

const QString ShownDateTime = QStringLiteral("yyyy-MM-dd HH:mm:ss");

} // namespace

QString CsvText(const QString &text) {
  QString field = text;
  if (!field.isEmpty() && QStringLiteral("=+-@").contains(field.front()))
    field.prepend(u'\'');
  if (field.contains(u';') || field.contains(u'"') || field.contains(u'\n') || field.contains(u'\r'))
    return u'"' + field.replace(u'"', QStringLiteral("\"\"")) + u'"';
  return field;
}

QString CsvAmount(TAmount amount) { return FormatAmount(amount).replace(u'.', u','); }

QByteArray CsvRecord(const QStringList &fields) { return (fields.join(u';') + QStringLiteral("\r\n")).toUtf8(); }

QByteArray CsvByteOrderMark() { return QByteArray("\xEF\xBB\xBF"); }

QString Column(const QString &text, qsizetype width) {
  if (text.size() > width)
    return text.left(width - 1) + u'…';
  return text.leftJustified(width);
}

namespace {

// "nie" without split payment, else its format; "tak" for a file recorded before the format was.
QString SplitPaymentText(const THistoryEntry &entry) {
  if (!entry.SplitPayment)
    return QStringLiteral("nie");
  return entry.SplitPaymentFormat.isEmpty() ? QStringLiteral("tak") : entry.SplitPaymentFormat;
}

} // namespace

QByteArray HistoryCsvHeader() {
  return CsvByteOrderMark() +
         QStringLiteral("Data;Odbiorca;NIP;Numer faktury;Numer KSeF;Kwota;Waluta;Plik;Nr pliku;Wycofany;Rachunek;"
                        "Tytuł;MPP;Kwota VAT;Biała lista\r\n")
             .toUtf8();
}

QByteArray HistoryCsvLine(const THistoryEntry &entry) {
  const QStringList fields{entry.WrittenAt.toString(ShownDateTime),
                           CsvText(entry.PayeeName),
                           CsvText(entry.PayeeNIP),
                           CsvText(entry.InvoiceNumber),
                           CsvText(entry.KsefNumber),
                           CsvAmount(entry.Amount),
                           CsvText(entry.Currency),
                           CsvText(entry.ArchivePath),
                           QString::number(entry.FileId),
                           entry.WithdrawnAt ? entry.WithdrawnAt->toString(ShownDateTime) : QString(),
                           CsvText(entry.PayeeIBAN),
                           CsvText(entry.Title),
                           SplitPaymentText(entry),
                           entry.VATAmount ? CsvAmount(*entry.VATAmount) : QString(),
                           CsvText(entry.WhiteListResult)};
  return CsvRecord(fields);
}

QString HistoryTableHeader() {
  return Column(QStringLiteral("Data"), 19) + u' ' + Column(QStringLiteral("Odbiorca"), 30) + u' ' +
         Column(QStringLiteral("NIP"), 13) + u' ' + Column(QStringLiteral("Numer faktury"), 20) + u' ' +
         Column(QStringLiteral("Numer KSeF"), 35) + u' ' + QStringLiteral("Kwota").rightJustified(15) +
         QStringLiteral(" Wal. ") + QStringLiteral("Nr").rightJustified(5) + u' ' +
         Column(QStringLiteral("Wycofany"), 10) + QStringLiteral(" Plik");
}

QString HistoryTableLine(const THistoryEntry &entry) {
  return entry.WrittenAt.toString(ShownDateTime) + u' ' + Column(entry.PayeeName, 30) + u' ' +
         Column(entry.PayeeNIP, 13) + u' ' + Column(entry.InvoiceNumber, 20) + u' ' + Column(entry.KsefNumber, 35) +
         u' ' + PolishAmount(entry.Amount).rightJustified(15) + u' ' + Column(entry.Currency, 4) + u' ' +
         QString::number(entry.FileId).rightJustified(5) + u' ' + Column(HistoryWithdrawnDate(entry), 10) + u' ' +
         entry.ArchivePath;
}

QString HistoryWithdrawnDate(const THistoryEntry &entry) {
  return entry.WithdrawnAt ? entry.WithdrawnAt->toString(QStringLiteral("yyyy-MM-dd")) : QString();
}

void AddToHistorySums(QMap<QString, TAmount> &sums, const THistoryEntry &entry) {
  if (!entry.WithdrawnAt)
    sums[entry.Currency] += entry.Amount;
}

QString HistorySumsText(const QMap<QString, TAmount> &sums) {
  if (sums.isEmpty())
    return QStringLiteral("Razem: 0,00");
  QStringList parts;
  for (auto sum = sums.cbegin(); sum != sums.cend(); ++sum)
    parts.append(PolishAmount(sum.value()) + u' ' + sum.key());
  return QStringLiteral("Razem: ") + parts.join(QStringLiteral("; "));
}
