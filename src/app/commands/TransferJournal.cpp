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

QString NotRecorded(const QString &reason) {
  return QStringLiteral("Płatności z tego pliku nie zapisano w historii (historia.sqlite): %1.").arg(reason);
}

QString NotChecked(const QString &reason) {
  return QStringLiteral("Nie sprawdzono, czy płatności z tego pliku nie ma już w historii (historia.sqlite): %1.")
      .arg(reason);
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
    : FPaths(paths), FBusyTimeoutMs(busyTimeoutMs) {}

TTransferJournal::~TTransferJournal() = default;

TPaymentJournal *TTransferJournal::Journal() {
  if (!FJournal && FFailure.isEmpty()) {
    try {
      FJournal = std::make_unique<TPaymentJournal>(JournalFile(FPaths), FBusyTimeoutMs);
    } catch (const std::exception &error) {
      FFailure = ErrorMessage(error);
    }
  }
  return FJournal.get();
}

QStringList TTransferJournal::EarlierPayments(const TPaymentList &payments) {
  QStringList warnings;
  TPaymentJournal *journal = Journal();
  if (!journal)
    return {NotChecked(FFailure)};
  QSet<QString> invoicesOfFile;
  std::vector<const TPayment *> lookedUp;
  std::vector<TJournalPayment> lookups;
  for (const TPayment &payment : payments) {
    if (payment.Kind != TPaymentKind::VideoTel) {
      const QString invoice = payment.CreditorNIP + u'\n' + payment.InvoiceNumber;
      if (invoicesOfFile.contains(invoice))
        continue;
      invoicesOfFile.insert(invoice);
    }
    lookedUp.push_back(&payment);
    // The title plays a part only for VideoTel, whose title is the payment's InvoiceNumber.
    lookups.push_back(JournalPayment(payment, {}, false, payment.InvoiceNumber));
  }
  try {
    const std::vector<std::optional<TEarlierPayment>> earlier = journal->FindEarlier(lookups);
    for (std::size_t i = 0; i < earlier.size(); ++i)
      if (earlier[i])
        warnings.append(PaidBefore(*lookedUp[i], *earlier[i]));
  } catch (const std::exception &error) {
    FFailure = ErrorMessage(error);
    // A journal held by Exclusively stays open until it lets go.
    if (!FHeld)
      FJournal.reset();
    warnings.append(NotChecked(FFailure));
  }
  return warnings;
}

std::optional<QString> TTransferJournal::Record(const TWrittenTransferFile &file, const TPaymentList &payments,
                                                const QStringList &titles, const TWhiteListResults &whiteList) {
  TPaymentJournal *journal = Journal();
  if (!journal)
    return NotRecorded(FFailure);
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
    try {
      journal->Record(TJournalFile{.WrittenAt = file.WrittenAt,
                                   .Command = file.Command,
                                   .PayerIBAN = file.PayerIBAN,
                                   .FileName = originalName,
                                   .Sha256 = copy.Sha256,
                                   .ArchivePath = archived,
                                   .Warnings = file.Warnings,
                                   .SplitPaymentFormat = file.SplitPaymentFormat},
                      recorded);
    } catch (...) {
      // A copy that no record names would be taken for a file the journal lost.
      QFile::remove(FPaths.AppFilePath(archived));
      throw;
    }
    if (FHeld)
      FArchivedHere = archived;
    return std::nullopt;
  } catch (const std::exception &error) {
    if (FHeld)
      throw;
    return NotRecorded(ErrorMessage(error));
  }
}

void TTransferJournal::Exclusively(const std::function<void()> &work) {
  TPaymentJournal *journal = Journal();
  if (!journal)
    throw Exception(QStringLiteral("Nie można użyć historii (historia.sqlite): %1").arg(FFailure));
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
  TPaymentJournal *journal = Journal();
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
