#include "journal/PgPaymentJournal.h"

#include "journal/JournalKeys.h"
#include "model/Exception.h"
#include "model/Text.h"

#include <QMap>
#include <iterator>

namespace {

// Each step brings the layout from version N (its index) to N + 1. A step once released never
// changes; a new layout is a new step at the end. The tables are those of historia.sqlite.
const char *const Migrations[] = {
    R"sql(
CREATE TABLE transfer_file (
  id bigserial PRIMARY KEY,
  written_at timestamp(0) NOT NULL,
  command text NOT NULL,
  payer_iban text NOT NULL,
  file_name text NOT NULL,
  payment_count integer NOT NULL,
  sha256 text NOT NULL,
  archive_path text NOT NULL,
  warning_count integer NOT NULL,
  withdrawn_at timestamp(0),
  split_payment_format text
);
CREATE TABLE transfer_sum (
  file_id bigint NOT NULL REFERENCES transfer_file(id) ON DELETE CASCADE,
  currency text NOT NULL,
  amount bigint NOT NULL,
  PRIMARY KEY (file_id, currency)
);
CREATE TABLE payment (
  id bigserial PRIMARY KEY,
  file_id bigint NOT NULL REFERENCES transfer_file(id) ON DELETE CASCADE,
  position integer NOT NULL,
  payee_name text NOT NULL,
  payee_nip text NOT NULL,
  payee_iban text NOT NULL,
  amount bigint NOT NULL,
  currency text NOT NULL,
  invoice_number text NOT NULL,
  ksef_number text,
  title text NOT NULL,
  split_payment boolean NOT NULL,
  vat_amount bigint,
  whitelist_result text,
  match_key text,
  match_hash bigint,
  ksef_hash bigint,
  search_text text NOT NULL
);
CREATE INDEX payment_file ON payment(file_id);
CREATE INDEX payment_match_hash ON payment(match_hash, file_id) WHERE match_hash IS NOT NULL;
CREATE INDEX payment_ksef_hash ON payment(ksef_hash, file_id) WHERE ksef_hash IS NOT NULL;
CREATE INDEX transfer_file_written_at ON transfer_file(written_at);
CREATE TABLE ksef_invoice (
  id bigserial PRIMARY KEY,
  environment text NOT NULL,
  ksef_number text NOT NULL,
  seller_nip text NOT NULL,
  seller_name text NOT NULL,
  invoice_number text NOT NULL,
  issue_date text NOT NULL,
  gross_amount bigint,
  currency text NOT NULL,
  sha256 text NOT NULL,
  file_path text NOT NULL,
  downloaded_at timestamp(0) NOT NULL,
  UNIQUE (environment, ksef_number)
);
CREATE TABLE paid_outside (
  invoice_key text PRIMARY KEY,
  marked_at timestamp(0) NOT NULL,
  note text NOT NULL
);
)sql",
};

// The key of the transaction-level advisory lock every write and every layout step holds.
const char *const TakeJournalLock = "SELECT pg_advisory_xact_lock(7021378946515230721)";

// A time column as ReadDateTime reads it, whatever the server's DateStyle.
QByteArray TimeOf(const char *column) { return QByteArray("to_char(") + column + ", 'YYYY-MM-DD\"T\"HH24:MI:SS')"; }

// What the listing's search looks in: the payee's name, NIP, invoice and KSeF numbers, case
// folded here as the search is, so that the server's own locale plays no part.
QString SearchText(const TJournalPayment &payment) {
  return QStringList{payment.PayeeName, payment.PayeeNIP, payment.InvoiceNumber, payment.KsefNumber.value_or(QString())}
      .join(u'\n')
      .toCaseFolded();
}

// A text[] or bigint[] value as PostgreSQL reads it: each text quoted, its quotes and
// backslashes escaped.
QString TextArray(const QStringList &texts) {
  QStringList quoted;
  for (QString text : texts)
    quoted.append(u'"' + text.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\"")) + u'"');
  return u'{' + quoted.join(u',') + u'}';
}

QString IntegerArray(const QList<qint64> &numbers) {
  QStringList texts;
  for (const qint64 number : numbers)
    texts.append(QString::number(number));
  return u'{' + texts.join(u',') + u'}';
}

// The payments a listing shows; the filter's values are bound as $1 (first day), $2 (the day
// after the last) and $3 (the search, case folded), each NULL when not set.
const QByteArray ListedPayments = "FROM payment p JOIN transfer_file f ON f.id = p.file_id "
                                  "WHERE ($1::timestamp IS NULL OR f.written_at >= $1::timestamp) "
                                  "AND ($2::timestamp IS NULL OR f.written_at < $2::timestamp) "
                                  "AND ($3::text IS NULL OR strpos(p.search_text, $3::text) > 0) ";

const QByteArray EntryColumns = "SELECT " + TimeOf("f.written_at") +
                                ", p.payee_name, p.payee_nip, p.invoice_number, p.ksef_number, p.amount, "
                                "p.currency, f.archive_path, p.payee_iban, p.title, p.split_payment, p.vat_amount, "
                                "p.whitelist_result, p.id, f.id, " +
                                TimeOf("f.withdrawn_at") + ", f.split_payment_format ";

TPgParams DayParams(const THistoryFilter &filter) {
  TPgParams params;
  params.Add(filter.From ? std::optional(filter.From->toString(Qt::ISODate)) : std::nullopt);
  params.Add(filter.To ? std::optional(filter.To->addDays(1).toString(Qt::ISODate)) : std::nullopt);
  return params;
}

TPgParams FilterParams(const THistoryFilter &filter) {
  TPgParams params = DayParams(filter);
  const QString search = Trim(filter.Search);
  params.Add(search.isEmpty() ? std::nullopt : std::optional(search.toCaseFolded()));
  return params;
}

THistoryEntry ReadEntry(const TPgResult &row, int r) {
  THistoryEntry entry;
  entry.WrittenAt = ReadDateTime(row.Text(r, 0));
  entry.PayeeName = row.Text(r, 1);
  entry.PayeeNIP = row.Text(r, 2);
  entry.InvoiceNumber = row.Text(r, 3);
  entry.KsefNumber = row.OptionalText(r, 4).value_or(QString());
  entry.Amount = TAmount::FromUnits(row.Integer(r, 5));
  entry.Currency = row.Text(r, 6);
  entry.ArchivePath = row.Text(r, 7);
  entry.PayeeIBAN = row.Text(r, 8);
  entry.Title = row.Text(r, 9);
  entry.SplitPayment = row.Text(r, 10) == u't';
  entry.VATAmount = row.IsNull(r, 11) ? std::nullopt : std::optional(TAmount::FromUnits(row.Integer(r, 11)));
  entry.WhiteListResult = row.OptionalText(r, 12).value_or(QString());
  entry.Id = row.Integer(r, 13);
  entry.FileId = row.Integer(r, 14);
  const std::optional<QString> withdrawnAt = row.OptionalText(r, 15);
  entry.WithdrawnAt = withdrawnAt ? std::optional(ReadDateTime(*withdrawnAt)) : std::nullopt;
  entry.SplitPaymentFormat = row.OptionalText(r, 16).value_or(QString());
  return entry;
}

} // namespace

TPgPaymentJournal::TPgPaymentJournal(const QString &uri) : FConnection(uri) { Migrate(); }

int TPgPaymentJournal::SchemaVersion() { return int(std::size(Migrations)); }

void TPgPaymentJournal::Migrate() {
  const auto storedVersion = [this] {
    const TPgResult version = FConnection.Execute("SELECT max(version) FROM pavena_schema");
    return version.IsNull(0, 0) ? 0 : int(version.Integer(0, 0));
  };
  if (!FConnection.Execute("SELECT to_regclass('pavena_schema')").IsNull(0, 0) && storedVersion() == SchemaVersion())
    return;
  InPgTransaction(FConnection, "BEGIN", [&] {
    // Under the lock: another workstation may have made the layout meanwhile.
    FConnection.Execute(TakeJournalLock);
    FConnection.ExecuteScript("CREATE TABLE IF NOT EXISTS pavena_schema (version integer NOT NULL)");
    const int version = storedVersion();
    if (version > SchemaVersion())
      throw Exception(QStringLiteral("baza danych pochodzi z nowszej wersji programu (wersja układu %1)").arg(version));
    for (int step = version; step < SchemaVersion(); ++step)
      FConnection.ExecuteScript(Migrations[step]);
    FConnection.ExecuteScript("DELETE FROM pavena_schema");
    FConnection.Execute("INSERT INTO pavena_schema (version) VALUES ($1)",
                        TPgParams().Add(std::int64_t(SchemaVersion())));
  });
}

template <typename Work> void TPgPaymentJournal::Writing(Work &&work) {
  if (!FExclusive) {
    InPgTransaction(FConnection, "BEGIN", [&] {
      FConnection.Execute(TakeJournalLock);
      work();
    });
    return;
  }
  // Inside Exclusively a failed write takes back its own changes and leaves the rest.
  FConnection.ExecuteScript("SAVEPOINT journal_write");
  try {
    work();
  } catch (...) {
    try {
      FConnection.ExecuteScript("ROLLBACK TO SAVEPOINT journal_write; RELEASE SAVEPOINT journal_write");
    } catch (...) {
    }
    throw;
  }
  FConnection.ExecuteScript("RELEASE SAVEPOINT journal_write");
}

template <typename Work> void TPgPaymentJournal::Reading(Work &&work) {
  if (FExclusive)
    work();
  else
    InPgTransaction(FConnection, "BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY", std::forward<Work>(work));
}

void TPgPaymentJournal::Exclusively(const std::function<void()> &work) {
  InPgTransaction(FConnection, "BEGIN", [&] {
    // The run before, on this workstation or another, may hold the lock for as long as its
    // writing, checks and archive copy take: the wait for it has no statement timeout, and
    // Interrupt (a cancel request) ends it. What runs under the lock has the connection's
    // timeout again.
    FConnection.ExecuteScript("SET LOCAL statement_timeout = 0");
    FConnection.Execute(TakeJournalLock);
    FConnection.ExecuteScript("RESET statement_timeout");
    FExclusive = true;
    struct TEnd {
      bool &Flag;
      ~TEnd() { Flag = false; }
    } end{FExclusive};
    work();
  });
}

std::vector<std::optional<TEarlierPayment>>
TPgPaymentJournal::FindEarlier(const std::vector<TJournalPayment> &payments) {
  std::vector<std::optional<TEarlierPayment>> found(payments.size());
  // The newest file that paid each key, for all keys in one statement: the keys go as two
  // bound arrays, numbered from 1 in the order sent.
  const auto newest = [&](const char *hashColumn, const char *textColumn, const auto &keyOf) {
    std::vector<std::size_t> sent;
    QList<qint64> hashes;
    QStringList texts;
    for (std::size_t i = 0; i < payments.size(); ++i)
      if (const std::optional<THashedKey> key = Hashed(keyOf(payments[i]))) {
        sent.push_back(i);
        hashes.append(key->Hash);
        texts.append(key->Text);
      }
    std::vector<std::optional<std::pair<std::int64_t, TEarlierPayment>>> files(payments.size());
    if (sent.empty())
      return files;
    const QByteArray sql =
        "SELECT k.i, f.id, f.archive_path, " + TimeOf("f.written_at") +
        " FROM unnest($1::bigint[], $2::text[]) WITH ORDINALITY AS k(hash, key, i) "
        "CROSS JOIN LATERAL (SELECT p.file_id FROM payment p JOIN transfer_file w ON w.id = p.file_id WHERE p." +
        hashColumn + " = k.hash AND p." + textColumn +
        " = k.key AND w.withdrawn_at IS NULL ORDER BY p.file_id DESC LIMIT 1) e "
        "JOIN transfer_file f ON f.id = e.file_id";
    const TPgResult rows =
        FConnection.Execute(sql.constData(), TPgParams().Add(IntegerArray(hashes)).Add(TextArray(texts)));
    for (int r = 0; r < rows.Rows(); ++r)
      files[sent[std::size_t(rows.Integer(r, 0) - 1)]] =
          std::pair(rows.Integer(r, 1), TEarlierPayment{rows.Text(r, 2), ReadDateTime(rows.Text(r, 3))});
    return files;
  };
  Reading([&] {
    const auto byKey = newest("match_hash", "match_key", [](const TJournalPayment &p) { return MatchKey(p); });
    const auto byKsefNumber = newest("ksef_hash", "ksef_number", [](const TJournalPayment &p) {
      return p.VideoTel ? std::nullopt : MatchingKsefNumber(p);
    });
    for (std::size_t i = 0; i < payments.size(); ++i) {
      if (byKey[i] && (!byKsefNumber[i] || byKey[i]->first >= byKsefNumber[i]->first))
        found[i] = byKey[i]->second;
      else if (byKsefNumber[i])
        found[i] = byKsefNumber[i]->second;
    }
  });
  return found;
}

void TPgPaymentJournal::Record(const TJournalFile &file, const std::vector<TJournalPayment> &payments) {
  QMap<QString, TAmount> sums;
  for (const TJournalPayment &payment : payments)
    sums[payment.Currency] += payment.Amount;
  Writing([&] {
    const std::int64_t fileId =
        FConnection
            .Execute(
                "INSERT INTO transfer_file (written_at, command, payer_iban, file_name, payment_count, sha256, "
                "archive_path, warning_count, split_payment_format) "
                "VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9) RETURNING id",
                TPgParams()
                    .Add(StoredDateTime(file.WrittenAt))
                    .Add(CommandName(file.Command))
                    .Add(file.PayerIBAN)
                    .Add(file.FileName)
                    .Add(std::int64_t(payments.size()))
                    .Add(file.Sha256)
                    .Add(file.ArchivePath)
                    .Add(std::int64_t(file.Warnings))
                    .Add(file.SplitPaymentFormat.isEmpty() ? std::nullopt : std::optional(file.SplitPaymentFormat)))
            .Integer(0, 0);
    for (auto sum = sums.cbegin(); sum != sums.cend(); ++sum)
      FConnection.Execute("INSERT INTO transfer_sum (file_id, currency, amount) VALUES ($1, $2, $3)",
                          TPgParams().Add(fileId).Add(sum.key()).Add(sum.value().Units()));
    std::int64_t position = 0;
    for (const TJournalPayment &payment : payments) {
      const std::optional<THashedKey> key = Hashed(MatchKey(payment));
      const std::optional<THashedKey> ksefNumber = Hashed(MatchingKsefNumber(payment));
      FConnection.Execute(
          "INSERT INTO payment (file_id, position, payee_name, payee_nip, payee_iban, amount, currency, "
          "invoice_number, ksef_number, title, split_payment, vat_amount, whitelist_result, match_key, match_hash, "
          "ksef_hash, search_text) VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11, $12, $13, $14, $15, $16, $17)",
          TPgParams()
              .Add(fileId)
              .Add(++position)
              .Add(payment.PayeeName)
              .Add(payment.PayeeNIP)
              .Add(payment.PayeeIBAN)
              .Add(payment.Amount.Units())
              .Add(payment.Currency)
              .Add(payment.InvoiceNumber)
              .Add(payment.KsefNumber)
              .Add(payment.Title)
              .Add(QString::fromLatin1(payment.SplitPayment ? "true" : "false"))
              .Add(payment.VATAmount ? std::optional(payment.VATAmount->Units()) : std::nullopt)
              .Add(payment.WhiteListResult)
              .Add(key ? std::optional(key->Text) : std::nullopt)
              .Add(key ? std::optional(key->Hash) : std::nullopt)
              .Add(ksefNumber ? std::optional(ksefNumber->Hash) : std::nullopt)
              .Add(SearchText(payment)));
    }
  });
}

void TPgPaymentJournal::ForEach(const THistoryFilter &filter, const std::function<void(const THistoryEntry &)> &take) {
  FConnection.ForEachRow((EntryColumns + ListedPayments + "ORDER BY p.id DESC").constData(), FilterParams(filter),
                         [&](const TPgResult &row) { take(ReadEntry(row, 0)); });
}

std::vector<THistoryEntry> TPgPaymentJournal::ListPage(const THistoryFilter &filter, std::optional<std::int64_t> below,
                                                       int limit) {
  const TPgResult rows = FConnection.Execute(
      (EntryColumns + ListedPayments + "AND ($4::bigint IS NULL OR p.id < $4::bigint) ORDER BY p.id DESC LIMIT $5")
          .constData(),
      FilterParams(filter).Add(below).Add(std::int64_t(limit)));
  std::vector<THistoryEntry> entries;
  for (int r = 0; r < rows.Rows(); ++r)
    entries.push_back(ReadEntry(rows, r));
  return entries;
}

THistorySummary TPgPaymentJournal::Summarize(const THistoryFilter &filter) {
  // A withdrawn file's payments are listed and counted, but paid nothing.
  const TPgResult rows =
      FConnection.Execute(("SELECT p.currency, SUM(CASE WHEN f.withdrawn_at IS NULL THEN p.amount END), COUNT(*) " +
                           ListedPayments + "GROUP BY p.currency")
                              .constData(),
                          FilterParams(filter));
  THistorySummary summary;
  for (int r = 0; r < rows.Rows(); ++r) {
    if (!rows.IsNull(r, 1))
      summary.Sums[rows.Text(r, 0)] = TAmount::FromUnits(rows.Integer(r, 1));
    summary.Count += rows.Integer(r, 2);
  }
  return summary;
}

std::optional<TFileMark> TPgPaymentJournal::MarkWithdrawn(std::int64_t fileId, const std::optional<QDateTime> &at) {
  std::optional<TFileMark> before;
  Writing([&] {
    const TPgResult found = FConnection.Execute(
        ("SELECT archive_path, " + TimeOf("withdrawn_at") + " FROM transfer_file WHERE id = $1").constData(),
        TPgParams().Add(fileId));
    if (found.Rows() == 0)
      return;
    const std::optional<QString> withdrawnAt = found.OptionalText(0, 1);
    before = TFileMark{found.Text(0, 0), withdrawnAt ? std::optional(ReadDateTime(*withdrawnAt)) : std::nullopt};
    if (before->WithdrawnAt.has_value() == at.has_value())
      return;
    FConnection.Execute("UPDATE transfer_file SET withdrawn_at = $2 WHERE id = $1",
                        TPgParams().Add(fileId).Add(at ? std::optional(StoredDateTime(*at)) : std::nullopt));
  });
  return before;
}

void TPgPaymentJournal::MarkPaidOutside(const QString &invoiceKey, const QDateTime &at, const QString &note) {
  Writing([&] {
    FConnection.Execute("INSERT INTO paid_outside (invoice_key, marked_at, note) VALUES ($1, $2, $3) "
                        "ON CONFLICT (invoice_key) DO UPDATE SET marked_at = $2, note = $3",
                        TPgParams().Add(invoiceKey).Add(StoredDateTime(at)).Add(note));
  });
}

bool TPgPaymentJournal::UnmarkPaidOutside(const QString &invoiceKey) {
  bool removed = false;
  Writing([&] {
    removed =
        FConnection.Execute("DELETE FROM paid_outside WHERE invoice_key = $1", TPgParams().Add(invoiceKey)).Changed() >
        0;
  });
  return removed;
}

QHash<QString, TPaidOutsideMark> TPgPaymentJournal::PaidOutsideMarks() {
  QHash<QString, TPaidOutsideMark> marks;
  Reading([&] {
    const TPgResult rows =
        FConnection.Execute(("SELECT invoice_key, " + TimeOf("marked_at") + ", note FROM paid_outside").constData());
    for (int r = 0; r < rows.Rows(); ++r)
      marks.insert(rows.Text(r, 0), TPaidOutsideMark{ReadDateTime(rows.Text(r, 1)), rows.Text(r, 2)});
  });
  return marks;
}

bool TPgPaymentJournal::RecordKsefInvoice(const TKsefInvoiceRecord &invoice) {
  bool added = false;
  Writing([&] {
    added = FConnection
                .Execute("INSERT INTO ksef_invoice (environment, ksef_number, seller_nip, seller_name, invoice_number, "
                         "issue_date, gross_amount, currency, sha256, file_path, downloaded_at) "
                         "VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11) "
                         "ON CONFLICT (environment, ksef_number) DO NOTHING",
                         TPgParams()
                             .Add(invoice.Environment)
                             .Add(invoice.KsefNumber)
                             .Add(invoice.SellerNIP)
                             .Add(invoice.SellerName)
                             .Add(invoice.InvoiceNumber)
                             .Add(invoice.IssueDate)
                             .Add(invoice.GrossAmount ? std::optional(invoice.GrossAmount->Units()) : std::nullopt)
                             .Add(invoice.Currency)
                             .Add(invoice.Sha256)
                             .Add(invoice.FilePath)
                             .Add(StoredDateTime(invoice.DownloadedAt)))
                .Changed() > 0;
  });
  return added;
}

void TPgPaymentJournal::ForEachKsefInvoice(const THistoryFilter &filter,
                                           const std::function<void(const TKsefInvoiceRecord &)> &take) {
  FConnection.ForEachRow(
      ("SELECT environment, ksef_number, seller_nip, seller_name, invoice_number, issue_date, gross_amount, currency, "
       "sha256, file_path, " +
       TimeOf("downloaded_at") +
       " FROM ksef_invoice WHERE ($1::timestamp IS NULL OR downloaded_at >= $1::timestamp) "
       "AND ($2::timestamp IS NULL OR downloaded_at < $2::timestamp) ORDER BY id DESC")
          .constData(),
      DayParams(filter), [&](const TPgResult &row) {
        TKsefInvoiceRecord invoice;
        invoice.Environment = row.Text(0, 0);
        invoice.KsefNumber = row.Text(0, 1);
        invoice.SellerNIP = row.Text(0, 2);
        invoice.SellerName = row.Text(0, 3);
        invoice.InvoiceNumber = row.Text(0, 4);
        invoice.IssueDate = row.Text(0, 5);
        invoice.GrossAmount = row.IsNull(0, 6) ? std::nullopt : std::optional(TAmount::FromUnits(row.Integer(0, 6)));
        invoice.Currency = row.Text(0, 7);
        invoice.Sha256 = row.Text(0, 8);
        invoice.FilePath = row.Text(0, 9);
        invoice.DownloadedAt = ReadDateTime(row.Text(0, 10));
        take(invoice);
      });
}

void TPgPaymentJournal::Interrupt() noexcept { FConnection.Interrupt(); }
