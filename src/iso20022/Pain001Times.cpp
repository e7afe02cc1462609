#include "iso20022/Pain001Times.h"

// QDateTime formats with the C locale, so the digits never depend on regional settings.
TPain001Times Pain001Times(const QDateTime &now) {
  return TPain001Times{
      .TimeStamp = now.toString(QStringLiteral("yyyyMMddHHmmss")),
      .CreationDateTime = now.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")),
      .ExecutionDate = now.toString(QStringLiteral("yyyy-MM-dd")),
  };
}
