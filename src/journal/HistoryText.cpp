#include "journal/HistoryText.h"

#include "model/PolishNumbers.h"

#include <QStringList>

namespace {

const QString ShownDateTime = QStringLiteral("yyyy-MM-dd HH:mm:ss");

// "nie" without split payment, else its format; "tak" for a file recorded before the format was.
QString SplitPaymentText(const THistoryEntry &entry) {
  if (!entry.SplitPayment)
    return QStringLiteral("nie");
  return entry.SplitPaymentFormat.isEmpty() ? QStringLiteral("tak") : entry.SplitPaymentFormat;
}

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

QByteArray CsvHeader(const QStringList &columns) {
  return QByteArray("\xEF\xBB\xBF") + (columns.join(u';') + QStringLiteral("\r\n")).toUtf8();
}

QByteArray CsvLine(const QStringList &fields) { return (fields.join(u';') + QStringLiteral("\r\n")).toUtf8(); }

QString TableColumn(const QString &text, qsizetype width) {
  if (text.size() > width)
    return text.left(width - 1) + u'…';
  return text.leftJustified(width);
}

QString ShownDateTimeText(const QDateTime &time) { return time.toString(ShownDateTime); }

QByteArray HistoryCsvHeader() {
  return CsvHeader(QStringLiteral("Data;Odbiorca;NIP;Numer faktury;Numer KSeF;Kwota;Waluta;Plik;Nr pliku;Wycofany;"
                                  "Rachunek;Tytuł;MPP;Kwota VAT;Biała lista")
                       .split(u';'));
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
  return CsvLine(fields);
}

QString HistoryTableHeader() {
  return TableColumn(QStringLiteral("Data"), 19) + u' ' + TableColumn(QStringLiteral("Odbiorca"), 30) + u' ' +
         TableColumn(QStringLiteral("NIP"), 13) + u' ' + TableColumn(QStringLiteral("Numer faktury"), 20) + u' ' +
         TableColumn(QStringLiteral("Numer KSeF"), 35) + u' ' + QStringLiteral("Kwota").rightJustified(15) +
         QStringLiteral(" Wal. ") + QStringLiteral("Nr").rightJustified(5) + u' ' +
         TableColumn(QStringLiteral("Wycofany"), 10) + QStringLiteral(" Plik");
}

QString HistoryTableLine(const THistoryEntry &entry) {
  return entry.WrittenAt.toString(ShownDateTime) + u' ' + TableColumn(entry.PayeeName, 30) + u' ' +
         TableColumn(entry.PayeeNIP, 13) + u' ' + TableColumn(entry.InvoiceNumber, 20) + u' ' +
         TableColumn(entry.KsefNumber, 35) + u' ' + PolishAmount(entry.Amount).rightJustified(15) + u' ' +
         TableColumn(entry.Currency, 4) + u' ' + QString::number(entry.FileId).rightJustified(5) + u' ' +
         TableColumn(HistoryWithdrawnDate(entry), 10) + u' ' + entry.ArchivePath;
}

QString HistoryWithdrawnDate(const THistoryEntry &entry) {
  return entry.WithdrawnAt ? entry.WithdrawnAt->toString(QStringLiteral("yyyy-MM-dd")) : QString();
}

void AddToHistorySums(QMap<QString, TAmount> &sums, const THistoryEntry &entry) {
  if (!entry.WithdrawnAt)
    sums[entry.Currency] += entry.Amount;
}

QString CurrencySumsText(const QMap<QString, TAmount> &sums) {
  if (sums.isEmpty())
    return QStringLiteral("0,00");
  QStringList parts;
  for (auto sum = sums.cbegin(); sum != sums.cend(); ++sum)
    parts.append(PolishAmount(sum.value()) + u' ' + sum.key());
  return parts.join(QStringLiteral("; "));
}

QString HistorySumsText(const QMap<QString, TAmount> &sums) {
  return QStringLiteral("Razem: ") + CurrencySumsText(sums);
}
