#include "JournalKinds.h"

#include "PostgresServer.h"
#include "journal/PaymentJournal.h"
#include "journal/PgPaymentJournal.h"

std::string KindName(TJournalKind kind) { return kind == TJournalKind::Sqlite ? "Sqlite" : "PostgreSql"; }

TTestJournalPlace::TTestJournalPlace(TJournalKind kind) : FKind(kind) {
  if (kind == TJournalKind::PostgreSql) {
    TPostgresServer &server = TPostgresServer::Shared();
    FDatabaseUri = server.Uri(server.NewDatabase());
  }
}

std::unique_ptr<IPaymentJournal> TTestJournalPlace::Open() const {
  if (FKind == TJournalKind::Sqlite)
    return std::make_unique<TPaymentJournal>(SqliteFile());
  return std::make_unique<TPgPaymentJournal>(FDatabaseUri);
}
