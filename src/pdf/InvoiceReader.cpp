#include "pdf/InvoiceReader.h"

#include "ksef/InvoiceDocumentReader.h"
#include "model/Exception.h"
#include "xml/XmlDocument.h"

#include <QFileInfo>

TInvoiceDocument ReadInvoiceDocument(const QByteArray &bytes, const QString &fileName) {
  const TXmlDocument document = ParseXml(bytes, fileName);
  const TXmlElement root = document.Root();
  const auto refuse = [&](const QString &missing) {
    throw Exception(QStringLiteral("Plik \"%1\" nie jest fakturą KSeF: brak elementu %2.")
                        .arg(QFileInfo(fileName).fileName(), missing));
  };
  if (root.LocalName() != QStringLiteral("Faktura"))
    refuse(QStringLiteral("Faktura"));
  if (root.FirstChild(QStringLiteral("Podmiot1")).IsNull())
    refuse(QStringLiteral("Podmiot1"));
  if (root.FirstChild(QStringLiteral("Fa")).IsNull())
    refuse(QStringLiteral("Fa"));
  TInvoiceDocument invoice = ReadInvoiceDocument(document);
  if (invoice.Number.isEmpty())
    refuse(QStringLiteral("Fa/P_2"));
  if (invoice.IssueDate.isEmpty())
    refuse(QStringLiteral("Fa/P_1"));
  return invoice;
}
