#pragma once

#include <QString>
#include <QTemporaryDir>

// A PostgreSQL server of the tests' own: Debian's initdb and pg_ctl (the newest version under
// /usr/lib/postgresql) make and start it in a temporary folder, listening only on a Unix
// socket there; run as root, the server runs as "nobody", which owns the folder. One server
// serves a whole test program and is stopped when the program's tests end.
class TPostgresServer {
public:
  // Who may log in: the administrator without a password, PasswordUser only with Password.
  static inline const QString Admin = QStringLiteral("pavena_admin");
  static inline const QString PasswordUser = QStringLiteral("pavena_haslo");
  static inline const QString Password = QStringLiteral("Tajne-Haslo-7");

  // The test program's server, started on first use.
  static TPostgresServer &Shared();
  ~TPostgresServer();

  // A fresh empty database that Admin and PasswordUser may use; its name.
  QString NewDatabase();
  // The libpq URI of `database` for `user`, without a password.
  QString Uri(const QString &database, const QString &user = Admin) const;
  // Runs the administrator's SQL in `database`; a failure fails with the server's words.
  void Execute(const QString &database, const QString &sql);
  // The first column of the first row of the administrator's query, NULL as empty.
  QString Query(const QString &database, const QString &sql);

  // Stops the server at once, as a crash or a pulled cable would, and starts it again.
  void StopImmediately();
  void Start();

private:
  TPostgresServer();
  QString Tool(const QString &name) const;
  void Run(const QString &tool, const QStringList &arguments);

  QTemporaryDir FDir;
  QString FBinDir;
  int FNextDatabase = 0;
  bool FRunning = false;
};
