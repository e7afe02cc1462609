#pragma once

#include "TestSupport.h"
#include "journal/IPaymentJournal.h"

#include <memory>
#include <string>

// The two homes of the journal that every test of its behaviour runs against.
enum class TJournalKind { Sqlite, PostgreSql };

const TJournalKind JournalKinds[] = {TJournalKind::Sqlite, TJournalKind::PostgreSql};

std::string KindName(TJournalKind kind);

// A fresh empty journal of one kind: historia.sqlite in a temporary folder, or a new database
// on the test program's own PostgreSQL server.
class TTestJournalPlace {
public:
  explicit TTestJournalPlace(TJournalKind kind);

  // A connection of its own to this journal, as another process or workstation has.
  std::unique_ptr<IPaymentJournal> Open() const;
  // The "Baza=" of settings.ini; empty for historia.sqlite.
  QString DatabaseUri() const { return FDatabaseUri; }
  QString SqliteFile() const { return FDir.File(QStringLiteral("historia.sqlite")); }

private:
  TJournalKind FKind;
  TTempDir FDir;
  QString FDatabaseUri;
};
