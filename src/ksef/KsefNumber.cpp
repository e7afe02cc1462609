#include "ksef/KsefNumber.h"

#include "model/Text.h"

QString KsefNumberOf(const TXmlDocument &document, const QString &fileName) {
  const QString systemInfo = document.Root().FindFirst(QStringLiteral("SystemInfo")).TextContent();
  if (IsKsefNumber(Trim(systemInfo)))
    return systemInfo;
  const QString fromFileName = KsefNumberInFileName(fileName);
  return fromFileName.isEmpty() ? systemInfo : fromFileName;
}

QString ReadKsefNumber(const QString &fileName) { return KsefNumberOf(LoadXmlFile(fileName), fileName); }
