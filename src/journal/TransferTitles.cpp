#include "journal/TransferTitles.h"

#include "xml/XmlDocument.h"

QStringList TransferTitles(const QByteArray &pain001, const QString &fileName) {
  const TXmlDocument document = ParseXml(pain001, fileName);
  QStringList titles;
  const TXmlElement initiation = document.Root().FirstChild(QStringLiteral("CstmrCdtTrfInitn"));
  for (const TXmlElement &block : initiation.Children(QStringLiteral("PmtInf")))
    for (const TXmlElement &transfer : block.Children(QStringLiteral("CdtTrfTxInf"))) {
      const TXmlElement remittance = transfer.FirstChild(QStringLiteral("RmtInf"));
      const TXmlElement plain = remittance.FirstChild(QStringLiteral("Ustrd"));
      titles.append(plain.IsNull() ? remittance.FindFirst(QStringLiteral("RefNb")).TextContent() : plain.TextContent());
    }
  return titles;
}
