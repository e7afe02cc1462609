#include "app/commands/TransferJournal.h"

#include "checks/TransferFinding.h"
#include "journal/TransferArchive.h"
#include "model/KsefNumberForm.h"
#include "model/Exception.h"
#include "model/Text.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace {

const QString ArchiveDir = QStringLiteral("PLIKI_DO_BANKU/archiwum");

QString NotRecorded(const TJournalPlace &place, const QString &reason) {
  return QStringLiteral("Płatności z tego pliku nie zapisano w historii (%1): %2.").arg(place.Name(), reason);
}

QString NotChecked(const TJournalPlace &place, const QString &reason) {
  return QStringLiteral("Nie sprawdzono, czy płatności z tego pliku nie ma już w historii (%1): %2.")
      .arg(place.Name(), reason);
}

QString PaidBefore(const TPayment &payment, const TEarlierPayment &earlier) {
  const QString payee =
      payment.Kind == TPaymentKind::VideoTel
          ? QStringLiteral("rachunek %1, kwota %2").arg(payment.CreditorIBAN, FormatAmount(payment.Amount))
          : QStringLiteral("NIP odbiorcy %1").arg(payment.CreditorNIP);
  return QStringLiteral("%1 (%2) jest już w pliku %3 z %4: sprawdź, czy bank nie zapłaci go drugi raz.")
      .arg(TransferName(payment), payee, earlier.ArchivePath,
           earlier.WrittenAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

} // namespace

QString WhiteListWord(TWhiteListStatus status) {
  switch (status) {
  case TWhiteListStatus::Active: return QStringLiteral("czynny podatnik VAT");
  case TWhiteListStatus::Exempt: return QStringLiteral("podatnik zwolniony z VAT");
  case TWhiteListStatus::Mask: return QStringLiteral("rachunek wirtualny podatnika VAT");
  case TWhiteListStatus::NotFound: break;
  }
  return QStringLiteral("nie figuruje w wykazie");
}

QString JournalFile(const TAppPaths &paths) { return paths.AppFilePath(QStringLiteral("historia.sqlite")); }

TJournalPayment JournalPayment(const TPayment &payment, const QString &currency, bool splitPayment,
                               const QString &title) {
  TJournalPayment recorded;
  recorded.PayeeName = payment.CreditorName;
  recorded.PayeeNIP = payment.CreditorNIP;
  recorded.PayeeIBAN = payment.CreditorIBAN;
  recorded.Amount = payment.Amount;
  recorded.Currency = currency;
  recorded.InvoiceNumber = payment.InvoiceNumber;
  const QString ksefNumber = Trim(payment.nrKsef);
  if (IsKsefNumber(ksefNumber))
    recorded.KsefNumber = ksefNumber;
  recorded.Title = title;
  recorded.SplitPayment = splitPayment;
  if (splitPayment)
    recorded.VATAmount = payment.VATAmount;
  recorded.VideoTel = payment.Kind == TPaymentKind::VideoTel;
  return recorded;
}

TTransferJournal::TTransferJournal(const TAppPaths &paths, int busyTimeoutMs)
    : FPaths(paths), FPlace(TJournalPlace::Of(paths)), FBusyTimeoutMs(busyTimeoutMs) {}

TTransferJournal::~TTransferJournal() = default;

IPaymentJournal *TTransferJournal::Journal() {
  if (!FJournal && FFailure.isEmpty()) {
    try {
      FJournal = FPlace.Open(FBusyTimeoutMs);
    } catch (const std::exception &error) {
      FFailure = ErrorMessage(error);
    }
  }
  return FJournal.get();
}

// The payments of a file to look up: a payment that repeats an invoice of the same file is left
// to the file's own check.
std::vector<const TPayment *> PaymentsToLookUp(const TPaymentList &payments) {
  QSet<QString> invoicesOfFile;
  std::vector<const TPayment *> lookedUp;
  for (const TPayment &payment : payments) {
    if (payment.Kind != TPaymentKind::VideoTel) {
      const QString invoice = payment.CreditorNIP + u'\n' + payment.InvoiceNumber;
      if (invoicesOfFile.contains(invoice))
        continue;
      invoicesOfFile.insert(invoice);
    }
    lookedUp.push_back(&payment);
  }
  return lookedUp;
}

QStringList TTransferJournal::NewlyPaidBefore(const std::vector<const TPayment *> &payments,
                                              QSet<const TPayment *> &known) {
  std::vector<TJournalPayment> lookups;
  // The title plays a part only for VideoTel, whose title is the payment's InvoiceNumber.
  for (const TPayment *payment : payments)
    lookups.push_back(JournalPayment(*payment, {}, false, payment->InvoiceNumber));
  const std::vector<std::optional<TEarlierPayment>> earlier = FJournal->FindEarlier(lookups);
  QStringList warnings;
  for (std::size_t i = 0; i < earlier.size(); ++i)
    if (earlier[i] && !known.contains(payments[i])) {
      known.insert(payments[i]);
      warnings.append(PaidBefore(*payments[i], *earlier[i]));
    }
  return warnings;
}

QStringList TTransferJournal::EarlierPayments(const TPaymentList &payments) {
  if (!Journal())
    return {NotChecked(FPlace, FFailure)};
  try {
    return NewlyPaidBefore(PaymentsToLookUp(payments), FWarned);
  } catch (const std::exception &error) {
    FFailure = ErrorMessage(error);
    // A journal held by Exclusively stays open until it lets go.
    if (!FHeld)
      FJournal.reset();
    return {NotChecked(FPlace, FFailure)};
  }
}

QStringList TTransferJournal::Record(const TWrittenTransferFile &file, const TPaymentList &payments,
                                     const QStringList &titles, const TWhiteListResults &whiteList) {
  IPaymentJournal *journal = Journal();
  if (!journal && FPlace.IsSqlite())
    return {NotRecorded(FPlace, FFailure)};
  try {
    QFile written(file.OutputFile);
    if (!written.open(QIODevice::ReadOnly))
      throw Exception(QStringLiteral("Unable to read %1").arg(file.OutputFile));
    const QString originalName = QFileInfo(file.OutputFile).fileName();
    std::vector<TJournalPayment> recorded;
    recorded.reserve(payments.size());
    for (std::size_t i = 0; i < payments.size(); ++i) {
      recorded.push_back(JournalPayment(payments[i], file.Currency, file.SplitPayment, titles.value(qsizetype(i))));
      if (i < whiteList.size() && whiteList[i])
        recorded.back().WhiteListResult = WhiteListWord(*whiteList[i]);
    }
    // One read of the written file makes its copy and its SHA-256.
    const TArchivedCopy copy =
        ArchiveTransferFile(FPaths.AppFilePath(ArchiveDir), originalName, written, file.WrittenAt);
    const QString archived = ArchiveDir + u'/' + copy.Name;
    // A journal on a server that is away leaves the local copy as the workstation's only
    // record of what it wrote.
    if (!journal)
      return {NotRecorded(FPlace, FFailure)};
    QStringList paidMeanwhile;
    const auto lookUpAndRecord = [&] {
      QSet<const TPayment *> warned = FWarned;
      paidMeanwhile = NewlyPaidBefore(PaymentsToLookUp(payments), warned);
      journal->Record(TJournalFile{.WrittenAt = file.WrittenAt,
                                   .Command = file.Command,
                                   .PayerIBAN = file.PayerIBAN,
                                   .FileName = originalName,
                                   .Sha256 = copy.Sha256,
                                   .ArchivePath = archived,
                                   .Warnings = file.Warnings + paidMeanwhile.size(),
                                   .SplitPaymentFormat = file.SplitPaymentFormat},
                      recorded);
    };
    try {
      if (FHeld)
        lookUpAndRecord();
      else
        journal->Exclusively(lookUpAndRecord);
    } catch (...) {
      // A copy that no record in historia.sqlite names would be taken for a file the journal
      // lost; beside a server's journal it is kept, as when the server is away.
      if (FPlace.IsSqlite())
        QFile::remove(FPaths.AppFilePath(archived));
      throw;
    }
    return paidMeanwhile;
  } catch (const std::exception &error) {
    return {NotRecorded(FPlace, ErrorMessage(error))};
  }
}

void TTransferJournal::Exclusively(const std::function<void()> &work) {
  IPaymentJournal *journal = Journal();
  if (!journal)
    throw Exception(QStringLiteral("Nie można użyć historii (%1): %2").arg(FPlace.Name(), FFailure));
  FHeld = true;
  struct TLetGo {
    bool &Held;
    ~TLetGo() { Held = false; }
  } letGo{FHeld};
  journal->Exclusively(work);
}

void TTransferJournal::RefuseEarlier(const TPaymentList &payments) {
  std::vector<TJournalPayment> lookups;
  for (const TPayment &payment : payments)
    lookups.push_back(JournalPayment(payment, {}, false, payment.InvoiceNumber));
  const std::vector<std::optional<TEarlierPayment>> earlier = Journal()->FindEarlier(lookups);
  QStringList paid;
  for (std::size_t i = 0; i < earlier.size(); ++i)
    if (earlier[i])
      paid.append(QStringLiteral("faktura %1 (NIP %2) jest już w pliku %3 z %4")
                      .arg(payments[i].InvoiceNumber, payments[i].CreditorNIP, earlier[i]->ArchivePath,
                           earlier[i]->WrittenAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))));
  if (!paid.isEmpty())
    throw Exception(QStringLiteral("Nie zapisano pliku przelewów, żeby nic nie zostało zapłacone drugi raz: %1.")
                        .arg(paid.join(QStringLiteral("; "))));
}
