#include "PostgresServer.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QVersionNumber>
#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <memory>
#include <stdexcept>
#include <unistd.h>

namespace {

constexpr uid_t Nobody = 65534;

// The newest server version installed, as Debian lays them out.
QString BinDirectory() {
  const QDir root(QStringLiteral("/usr/lib/postgresql"));
  QString best;
  QVersionNumber bestVersion;
  for (const QString &version : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    const QVersionNumber number = QVersionNumber::fromString(version);
    if (QFile::exists(root.filePath(version + QStringLiteral("/bin/pg_ctl"))) && number > bestVersion) {
      bestVersion = number;
      best = root.filePath(version + QStringLiteral("/bin"));
    }
  }
  if (best.isEmpty())
    throw std::runtime_error("PostgreSQL's server is not installed (/usr/lib/postgresql/*/bin/pg_ctl): "
                             "run scripts/install-deps");
  return best;
}

void OwnAllBy(const QString &path, uid_t user) {
  if (::chown(QFile::encodeName(path).constData(), user, user) != 0)
    throw std::runtime_error("Cannot hand " + path.toStdString() + " to the server's user");
}

// Stops the shared server after the program's last test.
class TServerStop : public ::testing::Environment {
public:
  explicit TServerStop(TPostgresServer *server) : FServer(server) {}
  void TearDown() override { delete FServer; }

private:
  TPostgresServer *FServer;
};

struct TConnectionClose {
  void operator()(PGconn *connection) const { PQfinish(connection); }
};

} // namespace

TPostgresServer &TPostgresServer::Shared() {
  static TPostgresServer *server = [] {
    auto *made = new TPostgresServer();
    ::testing::AddGlobalTestEnvironment(new TServerStop(made));
    return made;
  }();
  return *server;
}

TPostgresServer::TPostgresServer() : FBinDir(BinDirectory()) {
  if (!FDir.isValid())
    throw std::runtime_error("Cannot create a temporary directory");
  if (geteuid() == 0)
    OwnAllBy(FDir.path(), Nobody);
  Run(QStringLiteral("initdb"), {QStringLiteral("-D"), FDir.filePath(QStringLiteral("data")), QStringLiteral("-U"),
                                 Admin, QStringLiteral("-E"), QStringLiteral("UTF8"), QStringLiteral("--locale=C"),
                                 QStringLiteral("--auth=trust"), QStringLiteral("--no-sync")});
  QFile hba(FDir.filePath(QStringLiteral("data/pg_hba.conf")));
  if (!hba.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
      hba.write(QStringLiteral("local all %1 scram-sha-256\nlocal all all trust\n").arg(PasswordUser).toUtf8()) < 0)
    throw std::runtime_error("Cannot write pg_hba.conf");
  hba.close();
  Start();
  Execute(QStringLiteral("postgres"), QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD '%2'").arg(PasswordUser, Password));
}

TPostgresServer::~TPostgresServer() {
  if (FRunning) {
    try {
      Run(QStringLiteral("pg_ctl"), {QStringLiteral("-D"), FDir.filePath(QStringLiteral("data")), QStringLiteral("-m"),
                                     QStringLiteral("immediate"), QStringLiteral("-w"), QStringLiteral("stop")});
    } catch (const std::exception &) {
    }
  }
}

QString TPostgresServer::Tool(const QString &name) const { return FBinDir + u'/' + name; }

void TPostgresServer::Run(const QString &tool, const QStringList &arguments) {
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  // The server refuses to run as root: it runs as nobody, in a folder of its own.
  if (geteuid() == 0)
    process.start(QStringLiteral("/usr/bin/setpriv"),
                  QStringList{QStringLiteral("--reuid=%1").arg(Nobody), QStringLiteral("--regid=%1").arg(Nobody),
                              QStringLiteral("--clear-groups"), Tool(tool)} +
                      arguments);
  else
    process.start(Tool(tool), arguments);
  if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
    throw std::runtime_error((tool + QStringLiteral(" failed: ") + QString::fromUtf8(process.readAll())).toStdString());
}

void TPostgresServer::Start() {
  // No TCP at all: the socket in the folder is the only way in, so no port is ever taken.
  Run(QStringLiteral("pg_ctl"),
      {QStringLiteral("-D"), FDir.filePath(QStringLiteral("data")), QStringLiteral("-l"),
       FDir.filePath(QStringLiteral("server.log")), QStringLiteral("-w"), QStringLiteral("-o"),
       QStringLiteral("-c listen_addresses= -k %1 -c fsync=off").arg(FDir.path()), QStringLiteral("start")});
  FRunning = true;
}

void TPostgresServer::StopImmediately() {
  Run(QStringLiteral("pg_ctl"), {QStringLiteral("-D"), FDir.filePath(QStringLiteral("data")), QStringLiteral("-m"),
                                 QStringLiteral("immediate"), QStringLiteral("-w"), QStringLiteral("stop")});
  FRunning = false;
}

QString TPostgresServer::NewDatabase() {
  const QString name = QStringLiteral("journal_%1").arg(++FNextDatabase);
  Execute(QStringLiteral("postgres"), QStringLiteral("CREATE DATABASE %1").arg(name));
  Execute(name, QStringLiteral("GRANT ALL ON SCHEMA public TO %1").arg(PasswordUser));
  return name;
}

QString TPostgresServer::Uri(const QString &database, const QString &user) const {
  return QStringLiteral("postgresql:///%1?host=%2&user=%3").arg(database, FDir.path(), user);
}

QString TPostgresServer::Query(const QString &database, const QString &sql) {
  const std::unique_ptr<PGconn, TConnectionClose> connection(PQconnectdb(Uri(database).toUtf8().constData()));
  if (PQstatus(connection.get()) != CONNECTION_OK)
    throw std::runtime_error(std::string("Cannot connect to the test server: ") + PQerrorMessage(connection.get()));
  PGresult *result = PQexec(connection.get(), sql.toUtf8().constData());
  const ExecStatusType status = PQresultStatus(result);
  const QString value =
      status == PGRES_TUPLES_OK && PQntuples(result) > 0 ? QString::fromUtf8(PQgetvalue(result, 0, 0)) : QString();
  const std::string error = PQresultErrorMessage(result);
  PQclear(result);
  if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK)
    throw std::runtime_error("The test server refused " + sql.toStdString() + ": " + error);
  return value;
}

void TPostgresServer::Execute(const QString &database, const QString &sql) { Query(database, sql); }
