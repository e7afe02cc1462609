// Makes a payment journal of a given number of payments for bench/run, through the program's
// own journal code, so that its layout and indexes are the program's: files of 10,000 payments,
// one a week back from 2026-01-01, each payment with its own payee, NIP, account, invoice
// number and KSeF number. None of them is an invoice that bench/make-inputs writes, so a batch
// looked up against it finds nothing, as most payments of a real run do.
//
// An existing journal of the right size is kept (opening it brings its layout up to date); any
// other is made anew. Usage: pavena_fill_journal FILE PAYMENTS

#include "journal/PaymentJournal.h"
#include "model/Exception.h"

#include <QFile>
#include <cstdio>
#include <cstdlib>
#include <random>

namespace {

constexpr std::int64_t PaymentsPerFile = 10000;

std::int64_t PaymentCount(TPaymentJournal &journal) { return journal.Summarize({}).Count; }

QString Digits(std::mt19937_64 &random, int count) {
  QString digits;
  for (int i = 0; i < count; ++i)
    digits += QChar(u'0' + int(random() % 10));
  return digits;
}

QString Hex(std::mt19937_64 &random, int count) {
  static const char HexDigits[] = "0123456789ABCDEF";
  QString hex;
  for (int i = 0; i < count; ++i)
    hex += QChar::fromLatin1(HexDigits[random() % 16]);
  return hex;
}

TJournalPayment Payment(std::mt19937_64 &random, std::int64_t number, const QDate &day) {
  static const QString Kinds[] = {QStringLiteral("Hurtownia"), QStringLiteral("Zakład Usługowy"),
                                  QStringLiteral("Przedsiębiorstwo Handlowe"), QStringLiteral("Drukarnia")};
  TJournalPayment payment;
  const QString nip = Digits(random, 10);
  payment.PayeeName = QStringLiteral("%1 nr %2 sp. z o.o.").arg(Kinds[random() % 4]).arg(number);
  payment.PayeeNIP = nip;
  payment.PayeeIBAN = QStringLiteral("PL") + Digits(random, 26);
  payment.Amount = TAmount::FromUnits(std::int64_t(random() % 10000000) * 100);
  payment.Currency = QStringLiteral("PLN");
  payment.InvoiceNumber = QStringLiteral("FZ/%1/%2").arg(number).arg(day.year());
  payment.KsefNumber =
      QStringLiteral("%1-%2-%3-%4").arg(nip, day.toString(QStringLiteral("yyyyMMdd")), Hex(random, 12), Hex(random, 2));
  payment.SplitPayment = number % 2 == 0;
  if (payment.SplitPayment)
    payment.VATAmount = TAmount::FromUnits(payment.Amount.Units() * 23 / 123);
  payment.Title = QStringLiteral("/VAT/%1/IDC/%2/INV/%3/TXT/Zapłata za fakturę")
                      .arg(payment.VATAmount.value_or(TAmount()).Units() / 100)
                      .arg(nip, payment.InvoiceNumber);
  payment.WhiteListResult = QStringLiteral("czynny podatnik VAT");
  return payment;
}

void Fill(TPaymentJournal &journal, std::int64_t count) {
  std::mt19937_64 random(count);
  const QDateTime first(QDate(2026, 1, 1), QTime(9, 30));
  std::int64_t number = 0;
  for (std::int64_t file = 0; number < count; ++file) {
    const QDateTime writtenAt = first.addDays(7 * (file - count / PaymentsPerFile));
    std::vector<TJournalPayment> payments;
    while (number < count && std::int64_t(payments.size()) < PaymentsPerFile)
      payments.push_back(Payment(random, ++number, writtenAt.date()));
    const QString archived =
        writtenAt.toString(QStringLiteral("yyyy-MM-dd_HHmmss")) + QStringLiteral("_0001_Pain001Paczka.xml");
    journal.Record(TJournalFile{.WrittenAt = writtenAt,
                                .Command = TJournalCommand::Batch,
                                .PayerIBAN = QStringLiteral("PL79114020044000030020135538"),
                                .FileName = QStringLiteral("Pain001Paczka.xml"),
                                .Sha256 = Hex(random, 64).toLower(),
                                .ArchivePath = QStringLiteral("PLIKI_DO_BANKU/archiwum/") + archived,
                                .Warnings = 0},
                   payments);
  }
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 3) {
    std::fputs("Usage: pavena_fill_journal FILE PAYMENTS\n", stderr);
    return 2;
  }
  const QString fileName = QString::fromLocal8Bit(argv[1]);
  const std::int64_t count = std::atoll(argv[2]);
  try {
    if (QFile::exists(fileName)) {
      TPaymentJournal journal(fileName);
      if (PaymentCount(journal) == count)
        return 0;
    }
    QFile::remove(fileName);
    std::fprintf(stderr, "Filling %s with %lld payments ...\n", argv[1], static_cast<long long>(count));
    TPaymentJournal journal(fileName);
    Fill(journal, count);
  } catch (const std::exception &error) {
    std::fprintf(stderr, "pavena_fill_journal: %s\n", qUtf8Printable(ErrorMessage(error)));
    return 1;
  }
  return 0;
}
