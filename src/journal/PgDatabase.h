#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

struct pg_conn;
struct pg_result;
struct pg_cancel;

// The values of one statement, by position from $1; every value goes to the server bound,
// never inside the SQL text.
class TPgParams {
public:
  TPgParams &Add(const QString &value);
  // NULL for an empty optional.
  TPgParams &Add(const std::optional<QString> &value);
  TPgParams &Add(std::int64_t value);
  TPgParams &Add(const std::optional<std::int64_t> &value);
  TPgParams &AddNull();

  int Count() const { return int(FValues.size()); }
  // The values as libpq takes them; valid while the object lives unchanged.
  std::vector<const char *> Pointers() const;

private:
  std::vector<std::optional<QByteArray>> FValues;
};

// The rows a statement gave.
class TPgResult {
public:
  explicit TPgResult(pg_result *result) : FResult(result) {}
  ~TPgResult();
  TPgResult(TPgResult &&other) noexcept : FResult(std::exchange(other.FResult, nullptr)) {}
  TPgResult(const TPgResult &) = delete;
  TPgResult &operator=(const TPgResult &) = delete;
  TPgResult &operator=(TPgResult &&) = delete;

  int Rows() const;
  QString Text(int row, int column) const;
  std::optional<QString> OptionalText(int row, int column) const;
  std::int64_t Integer(int row, int column) const;
  bool IsNull(int row, int column) const;
  // The number of rows the statement changed.
  std::int64_t Changed() const;

private:
  pg_result *FResult = nullptr;
};

// A connection to a PostgreSQL server through libpq, named by a libpq connection URI. A URI
// with a password in it is refused: the password belongs in ~/.pgpass, PGPASSWORD or a client
// certificate. Every failure is an Exception with a Polish message of the kind of fault and
// the server's error code, never with the URI, the server's address or a password in it.
class TPgConnection {
public:
  static constexpr int ConnectTimeoutSeconds = 10;
  static constexpr int StatementTimeoutMs = 30000;

  explicit TPgConnection(const QString &uri);
  ~TPgConnection();
  TPgConnection(const TPgConnection &) = delete;
  TPgConnection &operator=(const TPgConnection &) = delete;

  // Fails, before anything is sent, when `uri` is no libpq URI or carries a password.
  static void CheckUri(const QString &uri);

  // Runs the program's own SQL with `params` bound and gives its rows.
  TPgResult Execute(const char *sql, const TPgParams &params = {});
  // Runs statements without parameters, several at once: only the program's own SQL text.
  void ExecuteScript(const char *sql);
  // Hands the rows of a query to `take` one at a time, as the server sends them.
  void ForEachRow(const char *sql, const TPgParams &params, const std::function<void(const TPgResult &)> &take);
  // Ends an open transaction without its changes; a lost connection ended it already.
  void RollBack() noexcept;
  // Asks the server to end the statement running now; safe from another thread.
  void Interrupt() noexcept;

private:
  [[noreturn]] void Fail(const pg_result *result) const;

  pg_conn *FConnection = nullptr;
  pg_cancel *FCancel = nullptr;
};

// Runs `work` inside the transaction that `begin` starts; an exception rolls it back.
template <typename Work> void InPgTransaction(TPgConnection &connection, const char *begin, Work &&work) {
  connection.Execute(begin);
  try {
    work();
    connection.Execute("COMMIT");
  } catch (...) {
    connection.RollBack();
    throw;
  }
}
