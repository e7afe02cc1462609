#include "iso20022/ReadKsefNumber.h"

#include "ksef/KsefNumber.h"
#include "ksef/XmlInput.h"

QString ReadKsefNumber(const QString &fileName) { return KsefNumberOf(LoadXmlFile(fileName).get()); }
