#include "ksef/KsefNumber.h"

QString KsefNumberOf(const TXmlDocument &document) {
  return document.Root().FindFirst(QStringLiteral("SystemInfo")).TextContent();
}

QString ReadKsefNumber(const QString &fileName) { return KsefNumberOf(LoadXmlFile(fileName)); }
