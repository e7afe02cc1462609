#pragma once

#include <QString>
#include <atomic>
#include <cstdint>
#include <optional>
#include <utility>

struct sqlite3;
struct sqlite3_stmt;

// A connection to one SQLite database file. Every failure is an Exception whose message says
// in Polish what kind of fault it is, followed by SQLite's own words in brackets.
class TSqliteDatabase {
public:
  // Opens the file for reading and writing; `create` also makes a missing file.
  TSqliteDatabase(const QString &fileName, bool create, int busyTimeoutMs);
  ~TSqliteDatabase();
  TSqliteDatabase(const TSqliteDatabase &) = delete;
  TSqliteDatabase &operator=(const TSqliteDatabase &) = delete;

  // Runs statements without parameters: only the program's own SQL text, never data.
  void Execute(const char *sql);
  // Puts the file into write-ahead-log mode. Switching needs the file to itself for a moment,
  // and SQLite answers "database is locked" at once instead of waiting when another connection
  // is switching it too (the window and pavena-cli making the journal together): this waits
  // for it as long as the busy timeout allows.
  void UseWriteAheadLog();
  // Ends an open transaction without its changes; SQLite may have ended it already after a
  // failure (a full disk), which is no fault here.
  void RollBack() noexcept;

  // Begins a write transaction (BEGIN IMMEDIATE) that waits for another connection's write to
  // end however long it takes, not only for the busy timeout; Interrupt ends the wait with the
  // busy error.
  void BeginWriteWaitingWithoutLimit();

  // Makes the statement running on this connection end soon with an error; safe to call from
  // another thread while the connection is open.
  void Interrupt() noexcept;

  // The row id of the last row this connection inserted.
  std::int64_t LastInsertedRow() const;

  sqlite3 *Handle() const { return FHandle; }

private:
  sqlite3 *FHandle = nullptr;
  int FBusyTimeoutMs = 0;
  // Set by Interrupt for BeginWriteWaitingWithoutLimit, whose waits run outside any statement.
  std::atomic<bool> FInterrupted = false;
};

// One prepared statement. Values are bound by position, from 1.
class TSqliteStatement {
public:
  TSqliteStatement(TSqliteDatabase &database, const char *sql);
  ~TSqliteStatement();
  TSqliteStatement(const TSqliteStatement &) = delete;
  TSqliteStatement &operator=(const TSqliteStatement &) = delete;

  void Bind(int index, const QString &value);
  // NULL for an empty optional.
  void Bind(int index, const std::optional<QString> &value);
  void Bind(int index, std::int64_t value);
  void BindNull(int index);

  // Steps once: true while a row is there to read.
  bool Next();
  // Steps to the end of a statement that gives no rows.
  void Run();
  // Clears the bindings' effect for the next run with new values.
  void Reset();

  QString Text(int column) const;
  std::optional<QString> OptionalText(int column) const;
  std::int64_t Integer(int column) const;
  bool IsNull(int column) const;

private:
  void Check(int result) const;

  TSqliteDatabase &FDatabase;
  sqlite3_stmt *FStatement = nullptr;
};

// Runs `work` inside the transaction just begun and commits it; an exception rolls it back.
template <typename Work> void InBegunTransaction(TSqliteDatabase &database, Work &&work) {
  try {
    work();
    database.Execute("COMMIT");
  } catch (...) {
    database.RollBack();
    throw;
  }
}

// Runs `work` inside the transaction that `begin` starts; an exception rolls it back.
template <typename Work> void InTransaction(TSqliteDatabase &database, const char *begin, Work &&work) {
  database.Execute(begin);
  InBegunTransaction(database, std::forward<Work>(work));
}

// Runs `work` inside one write transaction begun at once (BEGIN IMMEDIATE, so that a second
// writer waits for the lock at the start instead of failing midway); an exception rolls it back.
template <typename Work> void InWriteTransaction(TSqliteDatabase &database, Work &&work) {
  InTransaction(database, "BEGIN IMMEDIATE", std::forward<Work>(work));
}

// Runs `work` inside one read transaction: all its reads see the same journal, and the file is
// locked and checked for changes once instead of once a statement.
template <typename Work> void InReadTransaction(TSqliteDatabase &database, Work &&work) {
  InTransaction(database, "BEGIN", std::forward<Work>(work));
}
