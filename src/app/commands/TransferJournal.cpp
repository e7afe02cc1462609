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
    const auto record = [&] {
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
      // Under Exclusively the payments were looked up (or refused) under this same lock.
      if (FHeld)
        record();
      else
        journal->Exclusively([&] {
          QSet<const TPayment *> warned = FWarned;
          paidMeanwhile = NewlyPaidBefore(PaymentsToLookUp(payments), warned);
          record();
        });
    } catch (...) {
      // A copy that no record in historia.sqlite names would be taken for a file the journal
      // lost; beside a server's journal it is kept, as when the server is away. Under
      // Exclusively the failure takes the written file back, and its copy goes with it.
      if (FHeld || FPlace.IsSqlite())
        QFile::remove(FPaths.AppFilePath(archived));
      throw;
    }
    if (FHeld)
      FArchivedHere = archived;
    return paidMeanwhile;
  } catch (const std::exception &error) {
    if (FHeld)
      throw;
    return {NotRecorded(FPlace, ErrorMessage(error))};
  }
}

void TTransferJournal::Exclusively(const std::function<void()> &work) {
  IPaymentJournal *journal = Journal();
  if (!journal)
    throw Exception(QStringLiteral("Nie można użyć historii (%1): %2").arg(FPlace.Name(), FFailure));
  FHeld = true;
  FArchivedHere.clear();
  struct TLetGo {
    bool &Held;
    ~TLetGo() { Held = false; }
  } letGo{FHeld};
  try {
    journal->Exclusively(work);
  } catch (...) {
    // The record is gone with the transaction (a failed COMMIT too): so goes its copy.
    if (!FArchivedHere.isEmpty())
      QFile::remove(FPaths.AppFilePath(FArchivedHere));
    throw;
  }
}

void TTransferJournal::RefuseEarlier(const TPaymentList &payments) {
  IPaymentJournal *journal = Journal();
  std::vector<TJournalPayment> lookups;
  for (const TPayment &payment : payments)
    lookups.push_back(JournalPayment(payment, {}, false, payment.InvoiceNumber));
  const std::vector<std::optional<TEarlierPayment>> earlier = journal->FindEarlier(lookups);
  // Marked by another window after the list was read, under the same lock as the file's record.
  const QHash<QString, TPaidOutsideMark> marks = journal->PaidOutsideMarks();
  QSet<QString> chosen;
  QStringList refused;
  for (std::size_t i = 0; i < payments.size(); ++i) {
    const TPayment &payment = payments[i];
    const QString invoice = QStringLiteral("faktura %1 (NIP %2)").arg(payment.InvoiceNumber, payment.CreditorNIP);
    const std::optional<QString> key = InvoiceKey(Trim(payment.nrKsef), payment.CreditorNIP, payment.InvoiceNumber);
    if (key && chosen.contains(*key))
      refused.append(invoice + QStringLiteral(" jest wybrana więcej niż raz"));
    else if (earlier[i])
      refused.append(QStringLiteral("%1 jest już w pliku %2 z %3")
                         .arg(invoice, earlier[i]->ArchivePath,
                              earlier[i]->WrittenAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))));
    else if (const auto mark = key ? marks.constFind(*key) : marks.constEnd(); mark != marks.constEnd())
      refused.append(QStringLiteral("%1 jest oznaczona jako zapłacona poza programem %2")
                         .arg(invoice, mark->MarkedAt.toString(QStringLiteral("yyyy-MM-dd"))));
    if (key)
      chosen.insert(*key);
  }
  if (!refused.isEmpty())
    throw Exception(QStringLiteral("Nie zapisano pliku przelewów, żeby nic nie zostało zapłacone drugi raz: %1.")
                        .arg(refused.join(QStringLiteral("; "))));
}
