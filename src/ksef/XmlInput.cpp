#include "ksef/XmlInput.h"

#include "model/Exception.h"

#include <QFile>
#include <QFileInfo>
#include <libxml/parser.h>

namespace {

struct TParserCtxtFree {
  void operator()(xmlParserCtxt *ctxt) const { xmlFreeParserCtxt(ctxt); }
};

constexpr int SafeParseOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

QString ShortName(const QString &fileName) { return QFileInfo(fileName).fileName(); }

QString ParserMessage(const xmlParserCtxt *ctxt) {
  const xmlError *error = xmlCtxtGetLastError(const_cast<xmlParserCtxt *>(ctxt));
  if (!error || !error->message)
    return QStringLiteral("nieznany błąd parsera");
  QString message = QString::fromUtf8(error->message).trimmed();
  if (error->line > 0)
    message = QStringLiteral("wiersz %1: %2").arg(error->line).arg(message);
  return message;
}

} // namespace

TXmlDocument LoadXmlFile(const QString &fileName) {
  const QString name = ShortName(fileName);
  QFile file(fileName);
  if (!QFileInfo(fileName).isFile())
    throw Exception(QStringLiteral("Nie można otworzyć pliku \"%1\": plik nie istnieje.").arg(name));
  if (!file.open(QIODevice::ReadOnly))
    throw Exception(QStringLiteral("Nie można otworzyć pliku \"%1\": brak dostępu do pliku.").arg(name));
  const QByteArray bytes = file.readAll();

  std::unique_ptr<xmlParserCtxt, TParserCtxtFree> ctxt(xmlNewParserCtxt());
  if (!ctxt)
    throw Exception(QStringLiteral("Brak pamięci na odczyt pliku \"%1\".").arg(name));
  const QByteArray url = QFileInfo(fileName).absoluteFilePath().toUtf8();
  TXmlDocument doc(xmlCtxtReadMemory(ctxt.get(), bytes.constData(), static_cast<int>(bytes.size()),
                                     url.constData(), nullptr, SafeParseOptions));
  if (!doc || !ctxt->wellFormed)
    throw Exception(QStringLiteral("Plik \"%1\" nie jest poprawnym plikiem XML (%2).").arg(name, ParserMessage(ctxt.get())));
  if (doc->intSubset || doc->extSubset)
    throw Exception(QStringLiteral("Plik \"%1\" zawiera deklarację DOCTYPE, której faktura nie może mieć.").arg(name));
  if (!xmlDocGetRootElement(doc.get()))
    throw Exception(QStringLiteral("Plik \"%1\" nie zawiera elementu głównego XML.").arg(name));
  return doc;
}

QString LocalName(const xmlNode *node) {
  return node && node->name ? QString::fromUtf8(reinterpret_cast<const char *>(node->name)) : QString();
}

bool HasLocalName(const xmlNode *node, const QString &name) {
  if (!node || node->type != XML_ELEMENT_NODE)
    return false;
  const QString local = LocalName(node);
  if (local.size() != name.size())
    return false;
  for (qsizetype i = 0; i < local.size(); ++i) {
    QChar a = local[i], b = name[i];
    if (a.unicode() < 0x80 && b.unicode() < 0x80 ? a.toLower() != b.toLower() : a != b)
      return false;
  }
  return true;
}
