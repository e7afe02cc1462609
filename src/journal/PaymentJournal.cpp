#include "journal/PaymentJournal.h"

#include "model/Exception.h"
#include "model/Text.h"

#include <QByteArrayView>
#include <QHash>
#include <QMap>
#include <sqlite3.h>
#include <algorithm>
#include <iterator>

namespace {

// Each step brings the layout from version N (its index) to N + 1. A step once released never
// changes; a new layout is a new step at the end.
const char *const Migrations[] = {
    R"sql(
CREATE TABLE transfer_file (
  id INTEGER PRIMARY KEY,
  written_at TEXT NOT NULL,
  command TEXT NOT NULL,
  payer_iban TEXT NOT NULL,
  file_name TEXT NOT NULL,
  payment_count INTEGER NOT NULL,
  sha256 TEXT NOT NULL,
  archive_path TEXT NOT NULL,
  warning_count INTEGER NOT NULL
);
CREATE TABLE transfer_sum (
  file_id INTEGER NOT NULL REFERENCES transfer_file(id) ON DELETE CASCADE,
  currency TEXT NOT NULL,
  amount INTEGER NOT NULL,
  PRIMARY KEY (file_id, currency)
);
CREATE TABLE payment (
  id INTEGER PRIMARY KEY,
  file_id INTEGER NOT NULL REFERENCES transfer_file(id) ON DELETE CASCADE,
  position INTEGER NOT NULL,
  payee_name TEXT NOT NULL,
  payee_nip TEXT NOT NULL,
  payee_iban TEXT NOT NULL,
  amount INTEGER NOT NULL,
  currency TEXT NOT NULL,
  invoice_number TEXT NOT NULL,
  ksef_number TEXT,
  title TEXT NOT NULL,
  split_payment INTEGER NOT NULL,
  vat_amount INTEGER,
  whitelist_result TEXT,
  match_key TEXT
);
CREATE INDEX payment_file ON payment(file_id);
CREATE INDEX payment_match_key ON payment(match_key) WHERE match_key IS NOT NULL;
CREATE INDEX payment_ksef_number ON payment(ksef_number) WHERE ksef_number IS NOT NULL;
CREATE INDEX transfer_file_written_at ON transfer_file(written_at);
)sql",
    // A file that never went to the bank (a trial, a refused or replaced file) is marked with
    // the time it was withdrawn; its payments stay listed but no longer count as paid.
    R"sql(
ALTER TABLE transfer_file ADD COLUMN withdrawn_at TEXT;
)sql",
    // The split-payment format the file was written in, for the listings and their export.
    R"sql(
ALTER TABLE transfer_file ADD COLUMN split_payment_format TEXT;
)sql",
    // The keys a payment is looked up by are indexed by their 64-bit hash (key_hash) and the
    // file, newest last: a lookup walks its key's payments from the newest file down and stops
    // at the first file not withdrawn, and the index takes a fraction of the text's pages. The
    // texts stay in the rows, to tell a hash shared by two keys apart; the Historia page's
    // search never used their indexes.
    R"sql(
ALTER TABLE payment ADD COLUMN match_hash INTEGER;
ALTER TABLE payment ADD COLUMN ksef_hash INTEGER;
UPDATE payment SET match_hash = key_hash(match_key),
  ksef_hash = CASE WHEN length(ksef_number) = 35 THEN key_hash(ksef_number) END;
DROP INDEX payment_match_key;
DROP INDEX payment_ksef_number;
CREATE INDEX payment_match_hash ON payment(match_hash, file_id) WHERE match_hash IS NOT NULL;
CREATE INDEX payment_ksef_hash ON payment(ksef_hash, file_id) WHERE ksef_hash IS NOT NULL;
)sql",
    // The purchase invoices downloaded from KSeF, each number once per environment (the test
    // environment's numbers are not the production's).
    R"sql(
CREATE TABLE ksef_invoice (
  id INTEGER PRIMARY KEY,
  environment TEXT NOT NULL,
  ksef_number TEXT NOT NULL,
  seller_nip TEXT NOT NULL,
  seller_name TEXT NOT NULL,
  invoice_number TEXT NOT NULL,
  issue_date TEXT NOT NULL,
  gross_amount INTEGER,
  currency TEXT NOT NULL,
  sha256 TEXT NOT NULL,
  file_path TEXT NOT NULL,
  downloaded_at TEXT NOT NULL,
  UNIQUE (environment, ksef_number)
);
)sql",
    // Invoices the user paid without a transfer file of this program, by the invoice's key (its
    // KSeF number, or its seller's NIP and number as MatchKey makes it): the list of what is
    // still to pay leaves them out. Taking the mark back deletes its row.
    R"sql(
CREATE TABLE paid_outside (
  invoice_key TEXT PRIMARY KEY,
  marked_at TEXT NOT NULL,
  note TEXT NOT NULL
);
)sql",
};

QByteArrayView ValueBytes(sqlite3_value *value) {
  const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(value));
  return text ? QByteArrayView(text, sqlite3_value_bytes(value)) : QByteArrayView();
}

// key_hash(text): KeyHash in SQL, for bringing an older journal's rows up to date; NULL stays
// NULL.
void KeyHashFunction(sqlite3_context *context, int, sqlite3_value **values) {
  if (sqlite3_value_type(values[0]) == SQLITE_NULL)
    sqlite3_result_null(context);
  else
    sqlite3_result_int64(context, KeyHash(ValueBytes(values[0]).toByteArray()));
}

void BindKey(TSqliteStatement &statement, int hashIndex, int textIndex, const std::optional<THashedKey> &key) {
  if (key) {
    statement.Bind(hashIndex, key->Hash);
    statement.Bind(textIndex, key->Text);
  } else {
    statement.BindNull(hashIndex);
    statement.BindNull(textIndex);
  }
}

// history_matches(search, field...): whether any of the fields holds the search, case ignored
// as Qt ignores it (Polish capitals too, which SQLite's LIKE does not fold). It runs once a
// payment over a whole journal: an ASCII search in an ASCII field is compared byte by byte,
// which folds case the same way, and only other texts are decoded for Qt.
struct THistorySearch {
  QString Text;
  // The search's own bytes when all of them are ASCII; empty otherwise.
  QByteArray Ascii;
};

bool IsAscii(QByteArrayView text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool ContainsAsciiIgnoringCase(QByteArrayView text, QByteArrayView search) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
  for (qsizetype start = 0; start + search.size() <= text.size(); ++start) {
    qsizetype i = 0;
    while (i < search.size() && lower(text[start + i]) == lower(search[i]))
      ++i;
    if (i == search.size())
      return true;
  }
  return false;
}

bool Holds(QByteArrayView field, const THistorySearch &search) {
  if (!search.Ascii.isEmpty() && IsAscii(field))
    return ContainsAsciiIgnoringCase(field, search.Ascii);
  return QString::fromUtf8(field).contains(search.Text, Qt::CaseInsensitive);
}

void HistoryMatches(sqlite3_context *context, int count, sqlite3_value **values) {
  // The search is a bound value, the same for every row: SQLite keeps it prepared between rows.
  const auto *kept = static_cast<const THistorySearch *>(sqlite3_get_auxdata(context, 0));
  std::optional<THistorySearch> made;
  if (!kept) {
    const QByteArrayView bytes = ValueBytes(values[0]);
    made = THistorySearch{QString::fromUtf8(bytes), IsAscii(bytes) ? bytes.toByteArray() : QByteArray()};
    kept = &*made;
  }
  bool found = false;
  for (int i = 1; i < count && !found; ++i)
    found = sqlite3_value_type(values[i]) != SQLITE_NULL && Holds(ValueBytes(values[i]), *kept);
  if (made)
    sqlite3_set_auxdata(context, 0, new THistorySearch(std::move(*made)),
                        [](void *search) { delete static_cast<THistorySearch *>(search); });
  sqlite3_result_int(context, found);
}

// The payments a listing shows; the filter's values are bound as ?1 (first day), ?2 (the day
// after the last) and ?3 (the search), each NULL when not set.
const QByteArray ListedPayments =
    "FROM payment p JOIN transfer_file f ON f.id = p.file_id "
    "WHERE (?1 IS NULL OR f.written_at >= ?1) AND (?2 IS NULL OR f.written_at < ?2) "
    "AND (?3 IS NULL OR history_matches(?3, p.payee_name, p.payee_nip, p.invoice_number, p.ksef_number)) ";

// The columns ReadEntry reads.
const QByteArray EntryColumns =
    "SELECT f.written_at, p.payee_name, p.payee_nip, p.invoice_number, p.ksef_number, p.amount, p.currency, "
    "f.archive_path, p.payee_iban, p.title, p.split_payment, p.vat_amount, p.whitelist_result, p.id, f.id, "
    "f.withdrawn_at, f.split_payment_format ";

// The days of THistoryFilter as ?1 (the first day) and ?2 (the day after the last).
void BindDays(TSqliteStatement &statement, const THistoryFilter &filter) {
  statement.Bind(1, filter.From ? std::optional(filter.From->toString(Qt::ISODate)) : std::nullopt);
  statement.Bind(2, filter.To ? std::optional(filter.To->addDays(1).toString(Qt::ISODate)) : std::nullopt);
}

void BindFilter(TSqliteStatement &statement, const THistoryFilter &filter) {
  BindDays(statement, filter);
  const QString search = Trim(filter.Search);
  statement.Bind(3, search.isEmpty() ? std::nullopt : std::optional(search));
}

// Reads the current row of an EntryColumns statement into `entry`. The payments of one file
// come one after another and share its time, which is costly to read: it is read once a file.
void ReadEntry(const TSqliteStatement &row, THistoryEntry &entry, QString &writtenAt) {
  if (QString text = row.Text(0); text != writtenAt) {
    entry.WrittenAt = ReadDateTime(text);
    writtenAt = std::move(text);
  }
  entry.PayeeName = row.Text(1);
  entry.PayeeNIP = row.Text(2);
  entry.InvoiceNumber = row.Text(3);
  entry.KsefNumber = row.OptionalText(4).value_or(QString());
  entry.Amount = TAmount::FromUnits(row.Integer(5));
  entry.Currency = row.Text(6);
  entry.ArchivePath = row.Text(7);
  entry.PayeeIBAN = row.Text(8);
  entry.Title = row.Text(9);
  entry.SplitPayment = row.Integer(10) != 0;
  entry.VATAmount = row.IsNull(11) ? std::nullopt : std::optional(TAmount::FromUnits(row.Integer(11)));
  entry.WhiteListResult = row.OptionalText(12).value_or(QString());
  entry.Id = row.Integer(13);
  entry.FileId = row.Integer(14);
  const std::optional<QString> withdrawnAt = row.OptionalText(15);
  entry.WithdrawnAt = withdrawnAt ? std::optional(ReadDateTime(*withdrawnAt)) : std::nullopt;
  entry.SplitPaymentFormat = row.OptionalText(16).value_or(QString());
}

} // namespace

TPaymentJournal::TPaymentJournal(const QString &fileName, int busyTimeoutMs)
    : FDatabase(fileName, true, busyTimeoutMs) {
  // Reading the mode is the first read of the file: a file that is no database fails here,
  // before anything is written to it.
  FDatabase.UseWriteAheadLog();
  FDatabase.Execute("PRAGMA synchronous=FULL");
  FDatabase.Execute("PRAGMA foreign_keys=ON");
  sqlite3_create_function_v2(FDatabase.Handle(), "history_matches", -1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                             HistoryMatches, nullptr, nullptr, nullptr);
  sqlite3_create_function_v2(FDatabase.Handle(), "key_hash", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                             KeyHashFunction, nullptr, nullptr, nullptr);
  Migrate();
}

int TPaymentJournal::SchemaVersion() { return int(std::size(Migrations)); }

void TPaymentJournal::Migrate() {
  auto storedVersion = [this] {
    TSqliteStatement version(FDatabase, "PRAGMA user_version");
    version.Next();
    return int(version.Integer(0));
  };
  if (storedVersion() == SchemaVersion())
    return;
  InWriteTransaction(FDatabase, [&] {
    // Read again under the lock: another process may have migrated meanwhile.
    const int version = storedVersion();
    if (version > SchemaVersion())
      throw Exception(QStringLiteral("plik pochodzi z nowszej wersji programu (wersja układu %1)").arg(version));
    for (int step = version; step < SchemaVersion(); ++step)
      FDatabase.Execute(Migrations[step]);
    // The version is the program's own number, never outside data.
    FDatabase.Execute(QByteArray("PRAGMA user_version=" + QByteArray::number(SchemaVersion())).constData());
  });
}

template <typename Work> void TPaymentJournal::Writing(Work &&work) {
  if (!FExclusive) {
    InWriteTransaction(FDatabase, std::forward<Work>(work));
    return;
  }
  // Inside Exclusively a failed write takes back its own changes and leaves the rest.
  FDatabase.Execute("SAVEPOINT journal_write");
  try {
    work();
  } catch (...) {
    try {
      FDatabase.Execute("ROLLBACK TO journal_write");
      FDatabase.Execute("RELEASE journal_write");
    } catch (...) {
    }
    throw;
  }
  FDatabase.Execute("RELEASE journal_write");
}

template <typename Work> void TPaymentJournal::Reading(Work &&work) {
  if (FExclusive)
    work();
  else
    InReadTransaction(FDatabase, std::forward<Work>(work));
}

void TPaymentJournal::Exclusively(const std::function<void()> &work) {
  // The run before may hold the lock for as long as its writing, checks and archive copy take,
  // which a busy machine can stretch past any timeout.
  FDatabase.BeginWriteWaitingWithoutLimit();
  InBegunTransaction(FDatabase, [&] {
    FExclusive = true;
    struct TEnd {
      bool &Flag;
      ~TEnd() { Flag = false; }
    } end{FExclusive};
    work();
  });
}

void TPaymentJournal::MarkPaidOutside(const QString &invoiceKey, const QDateTime &at, const QString &note) {
  Writing([&] {
    TSqliteStatement mark(FDatabase, "INSERT INTO paid_outside (invoice_key, marked_at, note) VALUES (?1, ?2, ?3) "
                                     "ON CONFLICT (invoice_key) DO UPDATE SET marked_at = ?2, note = ?3");
    mark.Bind(1, invoiceKey);
    mark.Bind(2, StoredDateTime(at));
    mark.Bind(3, note);
    mark.Run();
  });
}

bool TPaymentJournal::UnmarkPaidOutside(const QString &invoiceKey) {
  bool removed = false;
  Writing([&] {
    TSqliteStatement unmark(FDatabase, "DELETE FROM paid_outside WHERE invoice_key = ?1");
    unmark.Bind(1, invoiceKey);
    unmark.Run();
    removed = sqlite3_changes(FDatabase.Handle()) > 0;
  });
  return removed;
}

QHash<QString, TPaidOutsideMark> TPaymentJournal::PaidOutsideMarks() {
  QHash<QString, TPaidOutsideMark> marks;
  Reading([&] {
    TSqliteStatement list(FDatabase, "SELECT invoice_key, marked_at, note FROM paid_outside");
    while (list.Next())
      marks.insert(list.Text(0), TPaidOutsideMark{ReadDateTime(list.Text(1)), list.Text(2)});
  });
  return marks;
}

std::vector<std::optional<TEarlierPayment>> TPaymentJournal::FindEarlier(const std::vector<TJournalPayment> &payments) {
  std::vector<std::optional<TEarlierPayment>> found(payments.size());
  Reading([&] {
    // The key's payments come from its index newest file first; the first whose text is the
    // key's and whose file was not withdrawn ends the walk. CROSS JOIN keeps the payments as
    // the outer loop.
    const auto newest = [&](const char *hashColumn, const char *textColumn) {
      return QByteArray("SELECT p.file_id, f.archive_path, f.written_at FROM payment p "
                        "CROSS JOIN transfer_file f ON f.id = p.file_id WHERE p.") +
             hashColumn + " = ?1 AND p." + textColumn +
             " = ?2 AND f.withdrawn_at IS NULL ORDER BY p.file_id DESC LIMIT 1";
    };
    TSqliteStatement byKey(FDatabase, newest("match_hash", "match_key").constData());
    TSqliteStatement byKsefNumber(FDatabase, newest("ksef_hash", "ksef_number").constData());
    // The files found, by their id: a payment made again and again is found in the same few
    // files, whose time is costly to read.
    QHash<std::int64_t, TEarlierPayment> files;
    // The id of the file that paid `key` before, if any.
    const auto find = [&](TSqliteStatement &statement, const std::optional<THashedKey> &key) {
      std::optional<std::int64_t> fileId;
      if (!key)
        return fileId;
      statement.Reset();
      BindKey(statement, 1, 2, key);
      if (!statement.Next())
        return fileId;
      fileId = statement.Integer(0);
      if (!files.contains(*fileId))
        files.insert(*fileId, TEarlierPayment{statement.Text(1), ReadDateTime(statement.Text(2))});
      return fileId;
    };
    for (std::size_t i = 0; i < payments.size(); ++i) {
      const std::optional<std::int64_t> sameKey = find(byKey, Hashed(MatchKey(payments[i])));
      const std::optional<std::int64_t> sameKsefNumber =
          find(byKsefNumber, Hashed(payments[i].VideoTel ? std::nullopt : MatchingKsefNumber(payments[i])));
      if (sameKey || sameKsefNumber)
        found[i] = files.value(std::max(sameKey.value_or(0), sameKsefNumber.value_or(0)));
    }
  });
  return found;
}

void TPaymentJournal::Record(const TJournalFile &file, const std::vector<TJournalPayment> &payments) {
  QMap<QString, TAmount> sums;
  for (const TJournalPayment &payment : payments)
    sums[payment.Currency] += payment.Amount;
  Writing([&] {
    TSqliteStatement addFile(
        FDatabase,
        "INSERT INTO transfer_file (written_at, command, payer_iban, file_name, payment_count, "
        "sha256, archive_path, warning_count, split_payment_format) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)");
    addFile.Bind(1, StoredDateTime(file.WrittenAt));
    addFile.Bind(2, CommandName(file.Command));
    addFile.Bind(3, file.PayerIBAN);
    addFile.Bind(4, file.FileName);
    addFile.Bind(5, std::int64_t(payments.size()));
    addFile.Bind(6, file.Sha256);
    addFile.Bind(7, file.ArchivePath);
    addFile.Bind(8, std::int64_t(file.Warnings));
    addFile.Bind(9, file.SplitPaymentFormat.isEmpty() ? std::nullopt : std::optional(file.SplitPaymentFormat));
    addFile.Run();
    const std::int64_t fileId = FDatabase.LastInsertedRow();

    TSqliteStatement addSum(FDatabase, "INSERT INTO transfer_sum (file_id, currency, amount) VALUES (?1, ?2, ?3)");
    for (auto sum = sums.cbegin(); sum != sums.cend(); ++sum) {
      addSum.Reset();
      addSum.Bind(1, fileId);
      addSum.Bind(2, sum.key());
      addSum.Bind(3, sum.value().Units());
      addSum.Run();
    }

    TSqliteStatement addPayment(FDatabase,
                                "INSERT INTO payment (file_id, position, payee_name, payee_nip, payee_iban, amount, "
                                "currency, invoice_number, ksef_number, title, split_payment, vat_amount, "
                                "whitelist_result, match_key, match_hash, ksef_hash) "
                                "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16)");
    std::int64_t position = 0;
    for (const TJournalPayment &payment : payments) {
      addPayment.Reset();
      addPayment.Bind(1, fileId);
      addPayment.Bind(2, ++position);
      addPayment.Bind(3, payment.PayeeName);
      addPayment.Bind(4, payment.PayeeNIP);
      addPayment.Bind(5, payment.PayeeIBAN);
      addPayment.Bind(6, payment.Amount.Units());
      addPayment.Bind(7, payment.Currency);
      addPayment.Bind(8, payment.InvoiceNumber);
      addPayment.Bind(9, payment.KsefNumber);
      addPayment.Bind(10, payment.Title);
      addPayment.Bind(11, std::int64_t(payment.SplitPayment));
      if (payment.VATAmount)
        addPayment.Bind(12, payment.VATAmount->Units());
      addPayment.Bind(13, payment.WhiteListResult);
      BindKey(addPayment, 15, 14, Hashed(MatchKey(payment)));
      if (const std::optional<THashedKey> ksefNumber = Hashed(MatchingKsefNumber(payment)))
        addPayment.Bind(16, ksefNumber->Hash);
      addPayment.Run();
    }
  });
}

void TPaymentJournal::ForEach(const THistoryFilter &filter, const std::function<void(const THistoryEntry &)> &take) {
  // The payments' own order is the order they were written in, so the newest come first
  // without any sorting.
  TSqliteStatement list(FDatabase, (EntryColumns + ListedPayments + "ORDER BY p.id DESC").constData());
  BindFilter(list, filter);
  THistoryEntry entry;
  QString writtenAt;
  while (list.Next()) {
    ReadEntry(list, entry, writtenAt);
    take(entry);
  }
}

std::vector<THistoryEntry> TPaymentJournal::ListPage(const THistoryFilter &filter, std::optional<std::int64_t> below,
                                                     int limit) {
  TSqliteStatement list(
      FDatabase,
      (EntryColumns + ListedPayments + "AND (?4 IS NULL OR p.id < ?4) ORDER BY p.id DESC LIMIT ?5").constData());
  BindFilter(list, filter);
  if (below)
    list.Bind(4, *below);
  list.Bind(5, std::int64_t(limit));
  std::vector<THistoryEntry> entries;
  THistoryEntry entry;
  QString writtenAt;
  while (list.Next()) {
    ReadEntry(list, entry, writtenAt);
    entries.push_back(entry);
  }
  return entries;
}

THistorySummary TPaymentJournal::Summarize(const THistoryFilter &filter) {
  // A withdrawn file's payments are listed and counted, but paid nothing.
  TSqliteStatement sums(FDatabase, ("SELECT p.currency, SUM(CASE WHEN f.withdrawn_at IS NULL THEN p.amount END), "
                                    "COUNT(*) " +
                                    ListedPayments + "GROUP BY p.currency")
                                       .constData());
  BindFilter(sums, filter);
  THistorySummary summary;
  while (sums.Next()) {
    if (!sums.IsNull(1))
      summary.Sums[sums.Text(0)] = TAmount::FromUnits(sums.Integer(1));
    summary.Count += sums.Integer(2);
  }
  return summary;
}

void TPaymentJournal::Interrupt() noexcept { FDatabase.Interrupt(); }

std::optional<TFileMark> TPaymentJournal::MarkWithdrawn(std::int64_t fileId, const std::optional<QDateTime> &at) {
  std::optional<TFileMark> before;
  Writing([&] {
    TSqliteStatement find(FDatabase, "SELECT archive_path, withdrawn_at FROM transfer_file WHERE id = ?1");
    find.Bind(1, fileId);
    if (!find.Next())
      return;
    const std::optional<QString> withdrawnAt = find.OptionalText(1);
    before = TFileMark{find.Text(0), withdrawnAt ? std::optional(ReadDateTime(*withdrawnAt)) : std::nullopt};
    if (before->WithdrawnAt.has_value() == at.has_value())
      return;
    TSqliteStatement mark(FDatabase, "UPDATE transfer_file SET withdrawn_at = ?2 WHERE id = ?1");
    mark.Bind(1, fileId);
    mark.Bind(2, at ? std::optional(StoredDateTime(*at)) : std::nullopt);
    mark.Run();
  });
  return before;
}

bool TPaymentJournal::RecordKsefInvoice(const TKsefInvoiceRecord &invoice) {
  bool added = false;
  Writing([&] {
    TSqliteStatement add(FDatabase,
                         "INSERT INTO ksef_invoice (environment, ksef_number, seller_nip, seller_name, invoice_number, "
                         "issue_date, gross_amount, currency, sha256, file_path, downloaded_at) "
                         "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11) "
                         "ON CONFLICT (environment, ksef_number) DO NOTHING");
    add.Bind(1, invoice.Environment);
    add.Bind(2, invoice.KsefNumber);
    add.Bind(3, invoice.SellerNIP);
    add.Bind(4, invoice.SellerName);
    add.Bind(5, invoice.InvoiceNumber);
    add.Bind(6, invoice.IssueDate);
    if (invoice.GrossAmount)
      add.Bind(7, invoice.GrossAmount->Units());
    add.Bind(8, invoice.Currency);
    add.Bind(9, invoice.Sha256);
    add.Bind(10, invoice.FilePath);
    add.Bind(11, StoredDateTime(invoice.DownloadedAt));
    add.Run();
    added = sqlite3_changes(FDatabase.Handle()) > 0;
  });
  return added;
}

void TPaymentJournal::ForEachKsefInvoice(const THistoryFilter &filter,
                                         const std::function<void(const TKsefInvoiceRecord &)> &take) {
  TSqliteStatement list(FDatabase,
                        "SELECT environment, ksef_number, seller_nip, seller_name, invoice_number, issue_date, "
                        "gross_amount, currency, sha256, file_path, downloaded_at FROM ksef_invoice "
                        "WHERE (?1 IS NULL OR downloaded_at >= ?1) AND (?2 IS NULL OR downloaded_at < ?2) "
                        "ORDER BY id DESC");
  BindDays(list, filter);
  TKsefInvoiceRecord invoice;
  while (list.Next()) {
    invoice.Environment = list.Text(0);
    invoice.KsefNumber = list.Text(1);
    invoice.SellerNIP = list.Text(2);
    invoice.SellerName = list.Text(3);
    invoice.InvoiceNumber = list.Text(4);
    invoice.IssueDate = list.Text(5);
    invoice.GrossAmount = list.IsNull(6) ? std::nullopt : std::optional(TAmount::FromUnits(list.Integer(6)));
    invoice.Currency = list.Text(7);
    invoice.Sha256 = list.Text(8);
    invoice.FilePath = list.Text(9);
    invoice.DownloadedAt = ReadDateTime(list.Text(10));
    take(invoice);
  }
}
