#pragma once

#include "app/commands/AppPaths.h"
#include "journal/IPaymentJournal.h"
#include "journal/PaymentJournal.h"

#include <QString>
#include <memory>

// Where the payment journal lives, as settings.ini says: [Historia] Baza= empty (the default)
// keeps it in the data directory's "historia.sqlite"; a libpq URI ("postgresql://user@host/db")
// puts it in that PostgreSQL database, shared by the workstations of an office.
struct TJournalPlace {
  // Empty for historia.sqlite.
  QString DatabaseUri;
  QString SqliteFile;

  static TJournalPlace Of(const TAppPaths &paths);

  bool IsSqlite() const { return DatabaseUri.isEmpty(); }
  // How the messages name it: "historia.sqlite" or "baza PostgreSQL"; never the URI, which may
  // name the server and the user.
  QString Name() const;

  // Opens the journal, making it when it is missing. Fails with the reason in Polish.
  std::unique_ptr<IPaymentJournal> Open(int busyTimeoutMs = TPaymentJournal::DefaultBusyTimeoutMs) const;
  // The same for a reader or a change of what is there: none while historia.sqlite is missing,
  // and none is made for the question.
  std::unique_ptr<IPaymentJournal> OpenExisting() const;
};
