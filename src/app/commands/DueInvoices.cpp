#include "app/commands/DueInvoices.h"

#include "app/commands/KsefDownload.h"
#include "app/commands/TransferJournal.h"
#include "app/commands/WhiteListCheck.h"
#include "journal/PaymentJournal.h"
#include "ksef/KsefInvoiceReader.h"
#include "model/Exception.h"
#include "model/PolishNumbers.h"
#include "model/Text.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <algorithm>

namespace {

const QString TransferCurrency = QStringLiteral("PLN");

QStringList XmlFilesIn(const QString &folder) {
  QStringList files;
  const QDir directory(folder);
  for (const QString &name :
       directory.entryList({QStringLiteral("*.xml")}, QDir::Files | QDir::Hidden | QDir::Readable, QDir::Name))
    files.append(directory.filePath(name));
  return files;
}

// The files of the invoices the journal recorded as downloaded, oldest first.
QStringList JournalInvoiceFiles(const TAppPaths &paths) {
  QStringList files;
  const TJournalPlace place = TJournalPlace::Of(paths);
  try {
    const std::unique_ptr<IPaymentJournal> journal = place.OpenExisting();
    if (!journal)
      return files;
    journal->ForEachKsefInvoice({}, [&](const TKsefInvoiceRecord &invoice) {
      if (invoice.Environment == KsefProductionEnvironment())
        files.prepend(paths.AppFilePath(invoice.FilePath));
    });
  } catch (const Exception &error) {
    throw Exception(QStringLiteral("Nie można odczytać historii (%1): %2").arg(place.Name(), error.Message()));
  }
  return files;
}

// The cause of the reader's composite message: its "Błąd: " line.
QString CauseOf(const QString &message) {
  const QString prefix = QStringLiteral("Błąd: ");
  for (const QString &line : message.split(QStringLiteral("\r\n")))
    if (line.startsWith(prefix))
      return line.mid(prefix.size());
  return message;
}

// Why a transfer cannot pay the invoice; empty when it can.
QString ReasonNotPayable(const TDueInvoice &invoice, const QString &refusal) {
  if (invoice.Due.Correction && invoice.Gross <= TAmount())
    return QStringLiteral("korekta do zera lub na minus");
  if (invoice.Due.Paid)
    return QStringLiteral("zapłacona według faktury");
  if (invoice.Due.PaidInParts)
    return QStringLiteral("zapłacona według faktury (w całości, w częściach)");
  // The parts paid settle it whatever the mark beside them says.
  if (invoice.Due.PaidParts > TAmount() && invoice.ToPay <= TAmount())
    return QStringLiteral("zapłacona według faktury (zapłaty częściowe)");
  if (!invoice.Due.HasAccount)
    return QStringLiteral("brak rachunku bankowego w fakturze");
  const QString currency = invoice.Payment.CurrencyCode.isEmpty() ? TransferCurrency : invoice.Payment.CurrencyCode;
  if (currency != TransferCurrency)
    return QStringLiteral("waluta %1, a plik przelewów płaci tylko w PLN").arg(currency);
  return refusal;
}

// The gross amount less what the invoice says is paid, never below nothing once anything is paid.
TAmount AmountLeft(TAmount gross, const TPaymentDue &due) {
  if (due.Paid || due.PaidInParts)
    return TAmount();
  if (due.PaidParts > TAmount())
    return std::max(TAmount(), gross - due.PaidParts);
  return gross;
}

// A split payment carries no more VAT than the transfer's amount, which the bank would refuse.
void AddWarnings(TDueInvoice &invoice) {
  TPayment &payment = invoice.Payment;
  if (payment.VATAmount > payment.Amount) {
    invoice.Warnings.append(QStringLiteral("w przelewie MPP kwota VAT to %1, a nie %2 z faktury, bo do zapłaty "
                                           "zostało tylko %1; sprawdź, ile VAT przypada na tę część")
                                .arg(PolishAmount(payment.Amount), PolishAmount(payment.VATAmount)));
    payment.VATAmount = payment.Amount;
  }
  if (invoice.Due.Advance)
    invoice.Warnings.append(QStringLiteral("to faktura zaliczkowa, która zwykle dokumentuje zaliczkę już zapłaconą; "
                                           "sprawdź, czy jest jeszcze coś do zapłaty"));
}

TDueInvoice ReadOne(const QString &fileName, const QDateTime &now, TXmlParser &parser) {
  TDueInvoice invoice;
  invoice.FileName = fileName;
  try {
    const TKsefInvoiceReader::TDueRead read = TKsefInvoiceReader::LoadDueFromFile(fileName, now, &parser);
    invoice.Payment = read.Payment;
    invoice.Due = read.Due;
    invoice.Gross = read.Payment.Amount;
    invoice.ToPay = AmountLeft(invoice.Gross, invoice.Due);
    invoice.Reason = ReasonNotPayable(invoice, read.Refusal);
  } catch (const Exception &error) {
    invoice.Reason = CauseOf(error.Message());
  }
  invoice.Payment.Amount = invoice.ToPay;
  if (!invoice.Reason.isEmpty())
    invoice.Status = TDueStatus::NotPayable;
  else
    AddWarnings(invoice);
  return invoice;
}

std::optional<QString> KeyOf(const TDueInvoice &invoice) {
  return InvoiceKey(Trim(invoice.Payment.nrKsef), invoice.Payment.CreditorNIP, invoice.Payment.InvoiceNumber);
}

// The same invoice under two file names (a download and its copy in a folder added by hand) is
// listed once, as the first found; a file read as no invoice has no key and stays.
void DropRepeatedInvoices(std::vector<TDueInvoice> &invoices) {
  QSet<QString> seen;
  std::erase_if(invoices, [&seen](const TDueInvoice &invoice) {
    const std::optional<QString> key = KeyOf(invoice);
    if (!key)
      return false;
    if (seen.contains(*key))
      return true;
    seen.insert(*key);
    return false;
  });
}

// The statuses the journal gives: in a transfer file (first), or marked as paid outside.
void ApplyJournal(const TAppPaths &paths, std::vector<TDueInvoice> &invoices) {
  const TJournalPlace place = TJournalPlace::Of(paths);
  try {
    const std::unique_ptr<IPaymentJournal> opened = place.OpenExisting();
    if (!opened)
      return;
    IPaymentJournal &journal = *opened;
    std::vector<TJournalPayment> lookups;
    for (const TDueInvoice &invoice : invoices)
      lookups.push_back(JournalPayment(invoice.Payment, {}, false, invoice.Payment.InvoiceNumber));
    const std::vector<std::optional<TEarlierPayment>> earlier = journal.FindEarlier(lookups);
    const QHash<QString, TPaidOutsideMark> marks = journal.PaidOutsideMarks();
    for (std::size_t i = 0; i < invoices.size(); ++i) {
      TDueInvoice &invoice = invoices[i];
      if (earlier[i]) {
        invoice.Status = TDueStatus::InFile;
        invoice.Earlier = earlier[i];
      } else if (const std::optional<QString> key = KeyOf(invoice); key && marks.contains(*key)) {
        invoice.Status = TDueStatus::PaidOutside;
        invoice.Mark = marks.value(*key);
      }
    }
  } catch (const Exception &error) {
    throw Exception(QStringLiteral("Nie można odczytać historii (%1): %2").arg(place.Name(), error.Message()));
  }
}

// The white list's word on each account still to pay, as a transfer's check would find it.
void ApplyWhiteList(const TAppPaths &paths, const QDate &day, std::vector<TDueInvoice> &invoices) {
  std::vector<TDueInvoice *> toPay;
  TPaymentList payments;
  for (TDueInvoice &invoice : invoices)
    if (invoice.Status == TDueStatus::ToPay) {
      toPay.push_back(&invoice);
      payments.push_back(invoice.Payment);
    }
  if (payments.empty())
    return;
  const TWhiteListReport report = CheckWhiteList(payments, true, TPayeeNips::Named, day, paths.WhiteListDirectory());
  for (std::size_t i = 0; i < toPay.size(); ++i)
    toPay[i]->WhiteList =
        report.Results[i] ? WhiteListWord(*report.Results[i]) : QStringLiteral("nie sprawdzono z białą listą");
}

// `sellers` orders the sellers' names as a Polish reader expects, whatever the machine's locale.
bool Before(const QCollator &sellers, const TDueInvoice &a, const TDueInvoice &b) {
  // No due date sorts first: it is due at once.
  const QDate aDue = a.Due.DueDate.value_or(QDate());
  const QDate bDue = b.Due.DueDate.value_or(QDate());
  if (aDue != bDue)
    return !aDue.isValid() || (bDue.isValid() && aDue < bDue);
  if (const int seller = sellers.compare(a.Payment.CreditorName, b.Payment.CreditorName); seller != 0)
    return seller < 0;
  return a.FileName < b.FileName;
}

bool AnyContains(const QStringList &texts, const QString &part) {
  return std::any_of(texts.begin(), texts.end(),
                     [&](const QString &text) { return text.contains(part, Qt::CaseInsensitive); });
}

} // namespace

// Only the production environment's downloads: anyone may issue invoices to the payer's NIP in
// KSeF's shared test environments.
TDueInvoiceFiles::TDueInvoiceFiles(const TAppPaths &paths)
    : FPaths(paths), FFolders{KsefInvoiceDirectory(paths, KsefProductionEnvironment())} {}

void TDueInvoiceFiles::AddFolder(const QString &folder) {
  if (!FFolders.contains(folder))
    FFolders.append(folder);
}

QStringList TDueInvoiceFiles::InvoiceFiles() {
  QStringList files;
  QSet<QString> seen;
  const auto add = [&](const QString &file) {
    const QFileInfo info(file);
    // A file gone from the disk is listed once by its name, and says so when it is read.
    const QString same = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    if (!seen.contains(same)) {
      seen.insert(same);
      files.append(file);
    }
  };
  for (const QString &file : JournalInvoiceFiles(FPaths))
    add(file);
  for (const QString &folder : FFolders)
    for (const QString &file : XmlFilesIn(folder))
      add(file);
  return files;
}

std::vector<TDueInvoice> ReadDueInvoices(const TAppPaths &paths, IDueInvoiceSource &source, const QDateTime &now,
                                         const TCancellation *cancellation) {
  std::vector<TDueInvoice> invoices;
  TXmlParser parser;
  for (const QString &file : source.InvoiceFiles()) {
    if (cancellation && cancellation->IsCancelled())
      throw TCancelled(QStringLiteral("Przerwano czytanie faktur do zapłaty."));
    invoices.push_back(ReadOne(file, now, parser));
  }
  DropRepeatedInvoices(invoices);
  ApplyJournal(paths, invoices);
  ApplyWhiteList(paths, now.date(), invoices);
  const QCollator sellers{QLocale(QLocale::Polish, QLocale::Poland)};
  std::stable_sort(invoices.begin(), invoices.end(),
                   [&](const TDueInvoice &a, const TDueInvoice &b) { return Before(sellers, a, b); });
  return invoices;
}

bool DueFilterPasses(const TDueFilter &filter, const TDueInvoice &invoice) {
  if (filter.Status && invoice.Status != *filter.Status)
    return false;
  if (filter.DueUpTo && invoice.Due.DueDate && *invoice.Due.DueDate > *filter.DueUpTo)
    return false;
  const TPayment &payment = invoice.Payment;
  if (const QString seller = Trim(filter.Seller);
      !seller.isEmpty() && !AnyContains({payment.CreditorName, payment.CreditorNIP}, seller))
    return false;
  const QString search = Trim(filter.Search);
  return search.isEmpty() || AnyContains({payment.CreditorName, payment.CreditorNIP, payment.InvoiceNumber,
                                          payment.nrKsef, payment.CreditorIBAN, DueStatusText(invoice)},
                                         search);
}

QString DueStatusText(const TDueInvoice &invoice) {
  switch (invoice.Status) {
  case TDueStatus::ToPay: return QStringLiteral("do zapłaty");
  case TDueStatus::InFile:
    return QStringLiteral("w pliku %1 %2")
        .arg(invoice.Earlier->ArchivePath, invoice.Earlier->WrittenAt.toString(QStringLiteral("yyyy-MM-dd")));
  case TDueStatus::PaidOutside: {
    QString text = QStringLiteral("zapłacona poza programem ") + invoice.Mark->MarkedAt.toString(u"yyyy-MM-dd");
    if (!invoice.Mark->Note.isEmpty())
      text += QStringLiteral(": ") + invoice.Mark->Note;
    return text;
  }
  case TDueStatus::NotPayable: return QStringLiteral("nie do przelewu: ") + invoice.Reason;
  }
  return {};
}

QString DueDateText(const TDueInvoice &invoice) {
  return invoice.Due.DueDate ? invoice.Due.DueDate->toString(Qt::ISODate) : QStringLiteral("brak terminu");
}

bool IsOverdue(const TDueInvoice &invoice, QDate today) {
  return invoice.Status == TDueStatus::ToPay && invoice.Due.DueDate && *invoice.Due.DueDate < today;
}

QMap<QString, TAmount> DueSums(const std::vector<const TDueInvoice *> &invoices) {
  QMap<QString, TAmount> sums;
  for (const TDueInvoice *invoice : invoices)
    sums[invoice->Payment.CurrencyCode.isEmpty() ? TransferCurrency : invoice->Payment.CurrencyCode] += invoice->ToPay;
  return sums;
}
