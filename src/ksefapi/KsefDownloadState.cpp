#include "ksefapi/KsefDownloadState.h"

#include "settings/IniFile.h"

TKsefDownloadState::TKsefDownloadState(QString fileName) : FFileName(std::move(fileName)) {}

std::optional<QDateTime> TKsefDownloadState::Start(const QString &environment, const QString &nip) const {
  const QDateTime start = QDateTime::fromString(TIniFile(FFileName).ReadString(environment, nip), Qt::ISODateWithMs);
  if (!start.isValid())
    return std::nullopt;
  return start.toUTC();
}

void TKsefDownloadState::SetStart(const QString &environment, const QString &nip, const QDateTime &start) const {
  TIniFile file(FFileName);
  file.WriteString(environment, nip, start.toUTC().toString(Qt::ISODateWithMs));
  file.Save();
}
