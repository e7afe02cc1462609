#pragma once

#include "app/commands/AppPaths.h"
#include "journal/JournalRecords.h"
#include "model/Cancellation.h"
#include "model/Payment.h"
#include "model/PaymentDue.h"

#include <QDate>
#include <QDateTime>
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// The list "Do zapłaty": the purchase invoices the program knows of, with when each falls due
// and whether it is still to pay, is in a transfer file already, was paid some other way, or
// cannot be paid by a transfer at all.

enum class TDueStatus { ToPay, InFile, PaidOutside, NotPayable };

struct TDueInvoice {
  QString FileName;
  // Seller, NIP, invoice number, KSeF number, issue date, currency and account as the invoice
  // gives them; Amount is what the transfer carries (ToPay).
  TPayment Payment;
  TPaymentDue Due;
  // P_15: the invoice's gross amount.
  TAmount Gross;
  // The gross amount less what the invoice says is paid.
  TAmount ToPay;
  TDueStatus Status = TDueStatus::ToPay;
  // InFile: the transfer file that pays it.
  std::optional<TEarlierPayment> Earlier;
  // PaidOutside: the user's mark.
  std::optional<TPaidOutsideMark> Mark;
  // NotPayable: why.
  QString Reason;
  // What to know before paying it, each a sentence without its full stop: the VAT of a split
  // payment cut to the amount left, an advance invoice.
  QStringList Warnings;
  // The white list's word on the account for an invoice to pay, as the journal keeps it, or
  // what kept it from being checked; empty for the other statuses.
  QString WhiteList;
};

// Where the invoices of the list come from.
class IDueInvoiceSource {
public:
  virtual ~IDueInvoiceSource() = default;
  // The invoice files to list, each once, as full paths.
  virtual QStringList InvoiceFiles() = 0;
};

// The invoices the journal knows as downloaded from KSeF (their files in FAKTURY_KSEF, listed
// even when the file is gone, so that the list says so), the other files of FAKTURY_KSEF, and
// the folders the user adds. The window and pavena-cli list the same invoices.
class TDueInvoiceFiles : public IDueInvoiceSource {
public:
  explicit TDueInvoiceFiles(const TAppPaths &paths);
  // "Dodaj faktury z folderu…": the *.xml files directly inside `folder` join the list.
  void AddFolder(const QString &folder);
  QStringList InvoiceFiles() override;

private:
  TAppPaths FPaths;
  QStringList FFolders;
};

// Which invoices a listing shows.
struct TDueFilter {
  // Due on this day or before; an invoice without a due date falls due at once and is shown.
  std::optional<QDate> DueUpTo;
  // Empty for every status.
  std::optional<TDueStatus> Status;
  // Part of the seller's name or NIP, and part of any of the shown texts, case ignored.
  QString Seller;
  QString Search;
};

// Reads every invoice of `source`, looks each up in the journal (its transfer files and the
// marks) and the accounts to pay on the white list of `now`'s day, and gives them sorted by due
// date (those without one first), then by seller. An invoice found twice (InvoiceKey) is listed
// once. A file that is no invoice is listed as NotPayable with the reader's cause. Fails only
// when the journal cannot be read, or with TCancelled once `cancellation` is cancelled.
std::vector<TDueInvoice> ReadDueInvoices(const TAppPaths &paths, IDueInvoiceSource &source, const QDateTime &now,
                                         const TCancellation *cancellation = nullptr);

bool DueFilterPasses(const TDueFilter &filter, const TDueInvoice &invoice);

// "do zapłaty", "w pliku PLIKI_DO_BANKU/archiwum/… 2026-03-05", "zapłacona poza programem
// 2026-03-06: note", "nie do przelewu: reason".
QString DueStatusText(const TDueInvoice &invoice);
// The due date as the list shows it: "2026-03-16" or "brak terminu".
QString DueDateText(const TDueInvoice &invoice);
// Overdue: a due date before `today`, still to pay.
bool IsOverdue(const TDueInvoice &invoice, QDate today);

// The amounts to pay per currency; never one sum across currencies.
QMap<QString, TAmount> DueSums(const std::vector<const TDueInvoice *> &invoices);
