#include "videotel/VideoTelImport.h"

#include "iso20022/Pain001Limits.h"
#include "model/Exception.h"
#include "model/Text.h"
#include "model/TextCodec.h"

#include <QDate>
#include <QFile>
#include <QStringView>
#include <algorithm>
#include <vector>

namespace {

constexpr qsizetype MinFieldCount = 14;
// The title is the transfer's Ustrd, the beneficiary's address its TwnNm.
constexpr qsizetype TitleLength = TPain001Limits::Ustrd;
constexpr qsizetype TownLength = TPain001Limits::TwnNm;

[[noreturn]] void ThrowCannotOpen(const QString &fileName, const QString &reason) {
  throw Exception(QStringLiteral("Cannot open file \"%1\". %2").arg(fileName, reason));
}

QByteArray ReadWholeFile(const QString &fileName) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly))
    ThrowCannotOpen(fileName, file.errorString());
  QByteArray bytes = file.readAll();
  // A read that breaks off must not pass for a shorter file.
  if (file.error() != QFileDevice::NoError)
    ThrowCannotOpen(fileName, file.errorString());
  return bytes;
}

// Blank in the program's sense of trimming: nothing above U+0020.
bool IsBlankLine(QStringView line) {
  return std::all_of(line.begin(), line.end(), [](QChar c) { return c.unicode() <= 0x20; });
}

// The lines that are not blank, in order. Lines end with CR LF, a lone LF or a lone CR; a last
// line without an end counts too.
std::vector<QStringView> RecordLines(QStringView text) {
  std::vector<QStringView> lines;
  const qsizetype n = text.size();
  qsizetype start = 0;
  while (start < n) {
    qsizetype end = start;
    while (end < n && text[end] != u'\r' && text[end] != u'\n')
      ++end;
    if (const QStringView line = text.sliced(start, end - start); !IsBlankLine(line))
      lines.push_back(line);
    if (end + 1 < n && text[end] == u'\r' && text[end + 1] == u'\n')
      ++end;
    start = end + 1;
  }
  return lines;
}

// VideoTel writes "???" where it lost a letter; a blank reads better in the bank than the marks.
QString BlankLostLetters(QString text) { return text.replace(QStringLiteral("???"), QStringLiteral(" ")); }

// The files carry either a full stop or a comma as the decimal mark. Only the first full stop
// is turned into the Polish decimal comma, so a text with two of them stays invalid.
TAmount ParseAmount(QString text) {
  const qsizetype stop = text.indexOf(u'.');
  if (stop >= 0)
    text[stop] = u',';
  return TAmount::ParsePolish(text);
}

char16_t PlainLetter(char16_t c) {
  switch (c) {
  case u'ą': return u'a';
  case u'ć': return u'c';
  case u'ę': return u'e';
  case u'ł': return u'l';
  case u'ń': return u'n';
  case u'ó': return u'o';
  case u'ś': return u's';
  case u'ź': return u'z';
  case u'ż': return u'z';
  case u'Ą': return u'A';
  case u'Ć': return u'C';
  case u'Ę': return u'E';
  case u'Ł': return u'L';
  case u'Ń': return u'N';
  case u'Ó': return u'O';
  case u'Ś': return u'S';
  case u'Ź': return u'Z';
  case u'Ż': return u'Z';
  default: return c;
  }
}

// Everything but the date: the loader puts its own date in, and reading the clock for every
// line would cost more than the rest of the line.
TPayment PaymentWithoutDate(const TVideoTelPayment &record) {
  TPayment payment;
  // Cut before trimming: leading blanks count against both lengths.
  payment.InvoiceNumber = RemovePolishDiacritics(Trim(record.Title.left(TitleLength)));
  payment.CreditorName = RemovePolishDiacritics(Trim(record.BeneficiaryName));
  payment.CreditorIBAN = RemovePolishDiacritics(Trim(record.BeneficiaryIBAN));
  payment.Amount = record.Amount;
  payment.CreditorCountry = QStringLiteral("PL");
  payment.Kind = TPaymentKind::VideoTel;
  payment.CreditorTwnNm = RemovePolishDiacritics(Trim(record.BeneficiaryAddress.left(TownLength)));
  return payment;
}

} // namespace

TPaymentList LoadVideoTelFile(const QString &fileName, const QDateTime &executionDate) {
  // Without a byte-order mark VideoTel writes the Windows code page of a Polish system; valid
  // UTF-8 is taken as UTF-8 for files that went through a Linux editor.
  const QString text = DecodeText(ReadWholeFile(fileName)).Text;
  const std::vector<QStringView> lines = RecordLines(text);
  TPaymentList payments;
  payments.reserve(lines.size());
  for (QStringView line : lines) {
    TPayment payment = PaymentWithoutDate(ParseVideoTelRecord(line.toString()));
    payment.ExecutionDate = executionDate;
    payments.push_back(std::move(payment));
  }
  return payments;
}

TVideoTelPayment ParseVideoTelRecord(const QString &line) {
  const QStringList fields = SplitVideoTelLine(line);
  if (fields.size() < MinFieldCount)
    throw Exception(QStringLiteral("Nieprawidłowy rekord VideoTEL. Liczba pól=%1").arg(fields.size()));
  // Fields 2, 4, 6, 7, 13 and 14 carry nothing the transfer needs.
  TVideoTelPayment record;
  record.OrderingPartyName = fields[0];
  record.BeneficiaryIBAN = fields[2];
  record.Amount = ParseAmount(fields[4]);
  record.OrderingPartyIBAN = fields[7];
  record.Title = BlankLostLetters(fields[8]);
  record.Currency = fields[9];
  record.BeneficiaryName = fields[10];
  record.BeneficiaryAddress = BlankLostLetters(fields[11]);
  return record;
}

QStringList SplitVideoTelLine(const QString &line) {
  QStringList fields;
  const qsizetype n = line.size();
  qsizetype i = 0;
  const auto skipBlanks = [&] {
    while (i < n && line[i] == u' ')
      ++i;
  };
  skipBlanks();
  while (i < n) {
    if (line[i] == u'"') {
      // No escape: the next mark closes the field, and without one the field runs to the end.
      const qsizetype close = line.indexOf(u'"', i + 1);
      const qsizetype end = close < 0 ? n : close;
      fields.append(line.sliced(i + 1, end - i - 1));
      i = close < 0 ? n : close + 1;
    } else {
      qsizetype end = i;
      while (end < n && line[end] != u' ')
        ++end;
      fields.append(line.sliced(i, end - i));
      i = end;
    }
    skipBlanks();
  }
  return fields;
}

TPayment VideoTelToPayment(const TVideoTelPayment &record) {
  TPayment payment = PaymentWithoutDate(record);
  payment.ExecutionDate = QDate::currentDate().startOfDay();
  return payment;
}

QString RemovePolishDiacritics(const QString &text) {
  QString result = text;
  for (QChar &c : result)
    c = QChar(PlainLetter(c.unicode()));
  return result;
}
