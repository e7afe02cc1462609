#include "journal/PgDatabase.h"

#include "model/Exception.h"

#include <libpq-fe.h>
#include <memory>

namespace {

// The words for a failed statement, by the class or the whole of its SQLSTATE.
QString KindOfFailure(const QByteArray &state) {
  if (state == "53100")
    return QStringLiteral("brak miejsca na dysku serwera bazy danych");
  if (state == "57014")
    return QStringLiteral("serwer bazy danych nie odpowiedział w porę");
  if (state.startsWith("57P") || state.startsWith("08"))
    return QStringLiteral("utracono połączenie z serwerem bazy danych");
  if (state == "42501" || state.startsWith("28"))
    return QStringLiteral("brak uprawnień w bazie danych");
  if (state.startsWith("53"))
    return QStringLiteral("serwerowi bazy danych brakuje zasobów");
  return QStringLiteral("błąd bazy danych");
}

struct TConnInfoFree {
  void operator()(PQconninfoOption *options) const { PQconninfoFree(options); }
};

} // namespace

TPgParams &TPgParams::Add(const QString &value) {
  FValues.emplace_back(value.toUtf8());
  return *this;
}

TPgParams &TPgParams::Add(const std::optional<QString> &value) { return value ? Add(*value) : AddNull(); }

TPgParams &TPgParams::Add(std::int64_t value) {
  FValues.emplace_back(QByteArray::number(qint64(value)));
  return *this;
}

TPgParams &TPgParams::Add(const std::optional<std::int64_t> &value) { return value ? Add(*value) : AddNull(); }

TPgParams &TPgParams::AddNull() {
  FValues.emplace_back(std::nullopt);
  return *this;
}

std::vector<const char *> TPgParams::Pointers() const {
  std::vector<const char *> pointers;
  pointers.reserve(FValues.size());
  for (const std::optional<QByteArray> &value : FValues)
    pointers.push_back(value ? value->constData() : nullptr);
  return pointers;
}

TPgResult::~TPgResult() { PQclear(FResult); }

int TPgResult::Rows() const { return PQntuples(FResult); }

QString TPgResult::Text(int row, int column) const {
  return QString::fromUtf8(PQgetvalue(FResult, row, column), PQgetlength(FResult, row, column));
}

std::optional<QString> TPgResult::OptionalText(int row, int column) const {
  if (IsNull(row, column))
    return std::nullopt;
  return Text(row, column);
}

std::int64_t TPgResult::Integer(int row, int column) const {
  return QByteArray(PQgetvalue(FResult, row, column)).toLongLong();
}

bool TPgResult::IsNull(int row, int column) const { return PQgetisnull(FResult, row, column) != 0; }

std::int64_t TPgResult::Changed() const { return QByteArray(PQcmdTuples(FResult)).toLongLong(); }

void TPgConnection::CheckUri(const QString &uri) {
  char *error = nullptr;
  const std::unique_ptr<PQconninfoOption, TConnInfoFree> options(PQconninfoParse(uri.toUtf8().constData(), &error));
  if (!options) {
    PQfreemem(error);
    throw Exception(QStringLiteral("adres bazy danych w settings.ini ([Historia] Baza=) nie jest poprawnym adresem "
                                   "postgresql://"));
  }
  for (const PQconninfoOption *option = options.get(); option->keyword; ++option)
    if (QByteArrayView(option->keyword) == "password" && option->val)
      throw Exception(QStringLiteral("adres bazy danych w settings.ini ([Historia] Baza=) zawiera hasło, a hasło nie "
                                     "może być zapisane w settings.ini; usuń je z adresu i zapisz w pliku ~/.pgpass "
                                     "(z prawami 0600) albo w zmiennej PGPASSWORD, albo użyj certyfikatu klienta "
                                     "(sslcert i sslkey)"));
}

TPgConnection::TPgConnection(const QString &uri) {
  CheckUri(uri);
  const QByteArray connectTimeout = QByteArray::number(ConnectTimeoutSeconds);
  const QByteArray options = "-c statement_timeout=" + QByteArray::number(StatementTimeoutMs);
  const QByteArray dbname = uri.toUtf8();
  // The program's defaults first: what the URI sets itself wins.
  const char *const keywords[] = {"connect_timeout", "options", "application_name",
                                  "client_encoding", "dbname",  nullptr};
  const char *const values[] = {
      connectTimeout.constData(), options.constData(), "pavena", "UTF8", dbname.constData(), nullptr};
  FConnection = PQconnectdbParams(keywords, values, 1);
  if (PQstatus(FConnection) != CONNECTION_OK) {
    // libpq's own words name the server and the user: they stay out of the message.
    QString kind;
    if (PQconnectionNeedsPassword(FConnection))
      kind = QStringLiteral("serwer bazy danych żąda hasła, a nie ma go w ~/.pgpass ani w PGPASSWORD");
    else if (PQconnectionUsedPassword(FConnection))
      kind = QStringLiteral("serwer bazy danych nie przyjął użytkownika albo hasła");
    else
      kind = QStringLiteral("nie można połączyć się z serwerem bazy danych");
    PQfinish(FConnection);
    FConnection = nullptr;
    throw Exception(kind);
  }
  FCancel = PQgetCancel(FConnection);
  // Notices (an index already there) are no concern of the user's.
  PQsetNoticeProcessor(
      FConnection, [](void *, const char *) {}, nullptr);
}

TPgConnection::~TPgConnection() {
  PQfreeCancel(FCancel);
  PQfinish(FConnection);
}

TPgResult TPgConnection::Execute(const char *sql, const TPgParams &params) {
  const std::vector<const char *> values = params.Pointers();
  PGresult *raw = PQexecParams(FConnection, sql, params.Count(), nullptr, values.data(), nullptr, nullptr, 0);
  TPgResult result(raw);
  if (const ExecStatusType status = PQresultStatus(raw); status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
    Fail(raw);
  return result;
}

void TPgConnection::ExecuteScript(const char *sql) {
  PGresult *raw = PQexec(FConnection, sql);
  const TPgResult result(raw);
  if (const ExecStatusType status = PQresultStatus(raw); status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
    Fail(raw);
}

void TPgConnection::ForEachRow(const char *sql, const TPgParams &params,
                               const std::function<void(const TPgResult &)> &take) {
  const std::vector<const char *> values = params.Pointers();
  if (!PQsendQueryParams(FConnection, sql, params.Count(), nullptr, values.data(), nullptr, nullptr, 0) ||
      !PQsetSingleRowMode(FConnection))
    Fail(nullptr);
  // Every result is read to the end, also after a failure of `take`, so the connection is
  // ready for the next statement.
  std::exception_ptr failure;
  while (PGresult *row = PQgetResult(FConnection)) {
    TPgResult result(row);
    const ExecStatusType status = PQresultStatus(row);
    if (status == PGRES_SINGLE_TUPLE) {
      if (!failure) {
        try {
          take(result);
        } catch (...) {
          failure = std::current_exception();
          Interrupt();
        }
      }
    } else if (status != PGRES_TUPLES_OK && !failure) {
      try {
        Fail(row);
      } catch (...) {
        failure = std::current_exception();
      }
    }
  }
  if (failure)
    std::rethrow_exception(failure);
}

void TPgConnection::RollBack() noexcept {
  if (PQstatus(FConnection) == CONNECTION_OK && PQtransactionStatus(FConnection) != PQTRANS_IDLE)
    PQclear(PQexec(FConnection, "ROLLBACK"));
}

void TPgConnection::Interrupt() noexcept {
  char error[256];
  if (FCancel)
    PQcancel(FCancel, error, sizeof error);
}

void TPgConnection::Fail(const pg_result *result) const {
  const char *state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
  if (!state || PQstatus(FConnection) != CONNECTION_OK)
    throw Exception(PQstatus(FConnection) != CONNECTION_OK ? KindOfFailure("08000") : KindOfFailure({}));
  throw Exception(QStringLiteral("%1 (kod %2)").arg(KindOfFailure(state), QString::fromLatin1(state)));
}
