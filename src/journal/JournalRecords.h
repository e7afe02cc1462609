#pragma once

#include "model/Amount.h"

#include <QDate>
#include <QDateTime>
#include <QMap>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

// Which command wrote a transfer file.
enum class TJournalCommand { Single, Batch, VideoTel };

// One payment of a written transfer file, as the journal keeps it.
struct TJournalPayment {
  QString PayeeName;
  QString PayeeNIP;
  QString PayeeIBAN;
  TAmount Amount;
  QString Currency;
  // For a VideoTel payment: the transfer's whole title, as the VideoTel file gives it.
  QString InvoiceNumber;
  // Only a number of the form KSeF gives; never the software name some invoices carry instead.
  std::optional<QString> KsefNumber;
  // The remittance text the file carries for this transfer.
  QString Title;
  bool SplitPayment = false;
  // Set only with split payment.
  std::optional<TAmount> VATAmount;
  // A VideoTel payment has no invoice: it is known again by its account, amount and title.
  bool VideoTel = false;
  // The outcome of the VAT white-list check of the payee's account; empty when not checked.
  std::optional<QString> WhiteListResult;
};

// One written transfer file.
struct TJournalFile {
  QDateTime WrittenAt;
  TJournalCommand Command = TJournalCommand::Single;
  QString PayerIBAN;
  // The output file's name inside PLIKI_DO_BANKU, e.g. "Pain001Paczka.xml".
  QString FileName;
  // Lower-case hexadecimal SHA-256 of the file's bytes.
  QString Sha256;
  // The archived copy, relative to the data directory: "PLIKI_DO_BANKU/archiwum/...".
  QString ArchivePath;
  // The "Uwaga: " lines the command logged for the file.
  qsizetype Warnings = 0;
  // The split-payment format as --mpp names it; empty without split payment.
  QString SplitPaymentFormat = {};
};

// Where a payment was made before.
struct TEarlierPayment {
  QString ArchivePath;
  QDateTime WrittenAt;
};

// Whether a transfer file counts as sent to the bank.
struct TFileMark {
  QString ArchivePath;
  // When it was marked as never sent; empty while it counts as paid.
  std::optional<QDateTime> WithdrawnAt;
};

// An invoice the user paid without a transfer file of this program.
struct TPaidOutsideMark {
  QDateTime MarkedAt;
  QString Note;
};

// Which payments a listing of the journal shows.
struct THistoryFilter {
  // Days of writing, both included.
  std::optional<QDate> From;
  std::optional<QDate> To;
  // Part of the payee's name, NIP, invoice number or KSeF number, case ignored; empty for all.
  QString Search;
};

// One line of a listing.
struct THistoryEntry {
  QDateTime WrittenAt;
  QString PayeeName;
  QString PayeeNIP;
  QString InvoiceNumber;
  QString KsefNumber;
  TAmount Amount;
  QString Currency;
  QString ArchivePath;
  // The number of the transfer file in the journal, by which it is withdrawn or restored.
  std::int64_t FileId = 0;
  // When the file was marked as never sent to the bank; empty while it counts as paid.
  std::optional<QDateTime> WithdrawnAt;
  QString PayeeIBAN;
  QString Title;
  bool SplitPayment = false;
  // As --mpp names it; empty without split payment, and for files recorded before it was kept.
  QString SplitPaymentFormat = {};
  std::optional<TAmount> VATAmount;
  // Empty when the account was not checked.
  QString WhiteListResult;
  // The payment's number in the journal: a later page of a listing starts below it.
  std::int64_t Id = 0;
};

// What a whole listing comes to, counted by the journal itself.
struct THistorySummary {
  std::int64_t Count = 0;
  QMap<QString, TAmount> Sums;
};

// A purchase invoice downloaded from KSeF, as the journal keeps it.
struct TKsefInvoiceRecord {
  // "testowe", "demo" or "produkcyjne".
  QString Environment;
  QString KsefNumber;
  QString SellerNIP;
  QString SellerName;
  QString InvoiceNumber;
  // As KSeF gave it, "2026-11-03"; empty when KSeF gave none.
  QString IssueDate;
  // Empty when KSeF gave no amount that reads as one.
  std::optional<TAmount> GrossAmount;
  QString Currency;
  // Lower-case hexadecimal SHA-256 of the invoice file.
  QString Sha256;
  // Relative to the data directory: "FAKTURY_KSEF/<KSeF number>.xml" (production).
  QString FilePath;
  QDateTime DownloadedAt;
};
