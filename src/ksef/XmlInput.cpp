#include "ksef/XmlInput.h"

#include "model/Exception.h"

#include <QFile>
#include <QFileInfo>
#include <libxml/parser.h>
#include <limits>

namespace {

struct TParserCtxtFree {
  void operator()(xmlParserCtxt *ctxt) const { xmlFreeParserCtxt(ctxt); }
};

constexpr int SafeParseOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

// What the parser met on the way, kept in the parser context's user slot.
struct TParseWatch {
  bool DoctypeSeen = false;
  QString FirstError;
};

TParseWatch &WatchOf(void *ctx) { return *static_cast<TParseWatch *>(static_cast<xmlParserCtxt *>(ctx)->_private); }

QString ShortName(const QString &fileName) { return QFileInfo(fileName).fileName(); }

// One line: libxml2 puts the offending bytes on a line of their own.
QString Describe(const xmlError &error) {
  QString message = error.message ? QString::fromUtf8(error.message).simplified() : QStringLiteral("nieznany błąd parsera");
  if (error.line > 0)
    message = QStringLiteral("wiersz %1: %2").arg(error.line).arg(message);
  return message;
}

// Stops at the DOCTYPE itself, so that no entity declaration is ever read.
void RefuseDoctype(void *ctx, const xmlChar *, const xmlChar *, const xmlChar *) {
  WatchOf(ctx).DoctypeSeen = true;
  xmlStopParser(static_cast<xmlParserCtxt *>(ctx));
}

// The parser goes on after a fatal error and reports its consequences too; the first one is
// where the file is wrong. A template, because libxml2 2.12 made the error pointer const.
template <typename TError>
void KeepFirstFatalError(void *ctx, TError error) {
  TParseWatch &watch = WatchOf(ctx);
  if (error && error->level == XML_ERR_FATAL && watch.FirstError.isEmpty())
    watch.FirstError = Describe(*error);
}

} // namespace

TXmlDocument LoadXmlFile(const QString &fileName) {
  const QString name = ShortName(fileName);
  QFile file(fileName);
  if (!QFileInfo(fileName).isFile())
    throw Exception(QStringLiteral("Nie można otworzyć pliku \"%1\": plik nie istnieje.").arg(name));
  if (!file.open(QIODevice::ReadOnly))
    throw Exception(QStringLiteral("Nie można otworzyć pliku \"%1\": brak dostępu do pliku.").arg(name));
  // The parser takes the length as an int.
  if (file.size() > std::numeric_limits<int>::max())
    throw Exception(QStringLiteral("Plik \"%1\" jest za duży na fakturę.").arg(name));
  const QByteArray bytes = file.readAll();

  std::unique_ptr<xmlParserCtxt, TParserCtxtFree> ctxt(xmlNewParserCtxt());
  if (!ctxt)
    throw Exception(QStringLiteral("Brak pamięci na odczyt pliku \"%1\".").arg(name));
  TParseWatch watch;
  ctxt->_private = &watch;
  ctxt->sax->internalSubset = RefuseDoctype;
  ctxt->sax->serror = KeepFirstFatalError;
  const QByteArray url = QFileInfo(fileName).absoluteFilePath().toUtf8();
  TXmlDocument doc(xmlCtxtReadMemory(ctxt.get(), bytes.constData(), static_cast<int>(bytes.size()),
                                     url.constData(), nullptr, SafeParseOptions));
  if (watch.DoctypeSeen)
    throw Exception(QStringLiteral("Plik \"%1\" zawiera deklarację DOCTYPE, której faktura nie może mieć.").arg(name));
  if (!doc || !ctxt->wellFormed) {
    const QString reason = watch.FirstError.isEmpty() ? Describe(ctxt->lastError) : watch.FirstError;
    throw Exception(QStringLiteral("Plik \"%1\" nie jest poprawnym plikiem XML (%2).").arg(name, reason));
  }
  if (!xmlDocGetRootElement(doc.get()))
    throw Exception(QStringLiteral("Plik \"%1\" nie zawiera elementu głównego XML.").arg(name));
  return doc;
}

QString LocalName(const xmlNode *node) {
  if (!node || !node->name)
    return QString();
  const QString name = QString::fromUtf8(reinterpret_cast<const char *>(node->name));
  // libxml2 keeps "x:P_15" whole when the prefix x was never declared; the prefix plays no
  // part in finding an element either way.
  return name.mid(name.indexOf(u':') + 1);
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
