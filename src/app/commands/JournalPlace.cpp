#include "app/commands/JournalPlace.h"

#include "journal/PgPaymentJournal.h"
#include "settings/IniFile.h"

#include <QFileInfo>

TJournalPlace TJournalPlace::Of(const TAppPaths &paths) {
  return {TIniFile(paths.SettingsFile()).ReadString(QStringLiteral("Historia"), QStringLiteral("Baza")),
          paths.AppFilePath(QStringLiteral("historia.sqlite"))};
}

QString TJournalPlace::Name() const {
  return IsSqlite() ? QStringLiteral("historia.sqlite") : QStringLiteral("baza PostgreSQL");
}

std::unique_ptr<IPaymentJournal> TJournalPlace::Open(int busyTimeoutMs) const {
  if (IsSqlite())
    return std::make_unique<TPaymentJournal>(SqliteFile, busyTimeoutMs);
  return std::make_unique<TPgPaymentJournal>(DatabaseUri);
}

std::unique_ptr<IPaymentJournal> TJournalPlace::OpenExisting() const {
  if (IsSqlite() && !QFileInfo::exists(SqliteFile))
    return nullptr;
  return Open();
}
