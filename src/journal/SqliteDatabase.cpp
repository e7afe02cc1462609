#include "journal/SqliteDatabase.h"

#include "model/Exception.h"

#include <cerrno>
#include <sqlite3.h>

namespace {

QString KindOfFailure(int result) {
  switch (result & 0xff) {
  case SQLITE_CORRUPT:
  case SQLITE_NOTADB: return QStringLiteral("plik jest uszkodzony; zostawiono go bez zmian");
  case SQLITE_BUSY:
  case SQLITE_LOCKED: return QStringLiteral("plik jest zajęty przez inny program");
  case SQLITE_READONLY:
  case SQLITE_CANTOPEN:
  case SQLITE_PERM:
  case SQLITE_AUTH: return QStringLiteral("nie można zapisywać w pliku ani w jego katalogu");
  case SQLITE_FULL: return QStringLiteral("brak miejsca na dysku");
  case SQLITE_IOERR: return QStringLiteral("błąd odczytu albo zapisu dysku");
  default: return QStringLiteral("błąd bazy danych");
  }
}

[[noreturn]] void Fail(int result, const char *text) {
  throw Exception(KindOfFailure(result) + QStringLiteral(" (") + QString::fromUtf8(text) + u')');
}

[[noreturn]] void Fail(sqlite3 *handle, int result) {
  // A write into the log or its index that meets a full disk comes back as a mere I/O error.
  if ((result & 0xff) == SQLITE_IOERR && handle && sqlite3_system_errno(handle) == ENOSPC)
    Fail(SQLITE_FULL, sqlite3_errstr(SQLITE_FULL));
  Fail(result, handle ? sqlite3_errmsg(handle) : sqlite3_errstr(result));
}

} // namespace

TSqliteDatabase::TSqliteDatabase(const QString &fileName, bool create, int busyTimeoutMs) {
  const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0) | SQLITE_OPEN_NOMUTEX;
  const int result = sqlite3_open_v2(fileName.toUtf8().constData(), &FHandle, flags, nullptr);
  if (result != SQLITE_OK) {
    const QByteArray text = FHandle ? QByteArray(sqlite3_errmsg(FHandle)) : QByteArray(sqlite3_errstr(result));
    sqlite3_close(FHandle);
    FHandle = nullptr;
    Fail(result, text.constData());
  }
  sqlite3_extended_result_codes(FHandle, 1);
  sqlite3_busy_timeout(FHandle, busyTimeoutMs);
  FBusyTimeoutMs = busyTimeoutMs;
}

TSqliteDatabase::~TSqliteDatabase() { sqlite3_close_v2(FHandle); }

void TSqliteDatabase::Execute(const char *sql) {
  if (const int result = sqlite3_exec(FHandle, sql, nullptr, nullptr, nullptr); result != SQLITE_OK)
    Fail(FHandle, result);
}

void TSqliteDatabase::UseWriteAheadLog() {
  constexpr int RetryMs = 10;
  for (int waited = 0;; waited += RetryMs) {
    const int result = sqlite3_exec(FHandle, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
    if (result == SQLITE_OK)
      return;
    if ((result & 0xff) != SQLITE_BUSY || waited >= FBusyTimeoutMs)
      Fail(FHandle, result);
    sqlite3_sleep(RetryMs);
  }
}

void TSqliteDatabase::BeginWriteWaitingWithoutLimit() {
  FInterrupted = false;
  sqlite3_busy_handler(
      FHandle,
      [](void *interrupted, int) {
        if (static_cast<std::atomic<bool> *>(interrupted)->load())
          return 0;
        constexpr int RetryMs = 10;
        sqlite3_sleep(RetryMs);
        return 1;
      },
      &FInterrupted);
  struct TBusyTimeoutBack {
    TSqliteDatabase &Database;
    ~TBusyTimeoutBack() { sqlite3_busy_timeout(Database.FHandle, Database.FBusyTimeoutMs); }
  } busyTimeoutBack{*this};
  Execute("BEGIN IMMEDIATE");
}

void TSqliteDatabase::Interrupt() noexcept {
  FInterrupted = true;
  sqlite3_interrupt(FHandle);
}

std::int64_t TSqliteDatabase::LastInsertedRow() const { return sqlite3_last_insert_rowid(FHandle); }

void TSqliteDatabase::RollBack() noexcept {
  if (!sqlite3_get_autocommit(FHandle))
    sqlite3_exec(FHandle, "ROLLBACK", nullptr, nullptr, nullptr);
}

TSqliteStatement::TSqliteStatement(TSqliteDatabase &database, const char *sql) : FDatabase(database) {
  Check(sqlite3_prepare_v2(database.Handle(), sql, -1, &FStatement, nullptr));
}

TSqliteStatement::~TSqliteStatement() { sqlite3_finalize(FStatement); }

void TSqliteStatement::Bind(int index, const QString &value) {
  const QByteArray utf8 = value.toUtf8();
  Check(sqlite3_bind_text(FStatement, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT));
}

void TSqliteStatement::Bind(int index, const std::optional<QString> &value) {
  if (value)
    Bind(index, *value);
  else
    BindNull(index);
}

void TSqliteStatement::Bind(int index, std::int64_t value) { Check(sqlite3_bind_int64(FStatement, index, value)); }

void TSqliteStatement::BindNull(int index) { Check(sqlite3_bind_null(FStatement, index)); }

bool TSqliteStatement::Next() {
  const int result = sqlite3_step(FStatement);
  if (result == SQLITE_ROW)
    return true;
  if (result == SQLITE_DONE)
    return false;
  Fail(FDatabase.Handle(), result);
}

void TSqliteStatement::Run() {
  while (Next()) {
  }
}

void TSqliteStatement::Reset() {
  sqlite3_reset(FStatement);
  sqlite3_clear_bindings(FStatement);
}

QString TSqliteStatement::Text(int column) const {
  const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(FStatement, column));
  return QString::fromUtf8(text, sqlite3_column_bytes(FStatement, column));
}

std::optional<QString> TSqliteStatement::OptionalText(int column) const {
  if (IsNull(column))
    return std::nullopt;
  return Text(column);
}

std::int64_t TSqliteStatement::Integer(int column) const { return sqlite3_column_int64(FStatement, column); }

bool TSqliteStatement::IsNull(int column) const { return sqlite3_column_type(FStatement, column) == SQLITE_NULL; }

void TSqliteStatement::Check(int result) const {
  if (result != SQLITE_OK)
    Fail(FDatabase.Handle(), result);
}
