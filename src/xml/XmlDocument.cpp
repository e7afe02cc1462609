#include "xml/XmlDocument.h"

#include "model/Exception.h"
#include "xml/XmlErrorText.h"
#include "xml/XmlReadErrors.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <libxml/parser.h>
#include <limits>

namespace {

constexpr int SafeParseOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_COMPACT;

// What the parser met on the way, kept in the parser context's user slot.
struct TParseWatch {
  bool DoctypeSeen = false;
  QString FirstError;
};

TParseWatch &WatchOf(void *ctx) { return *static_cast<TParseWatch *>(static_cast<xmlParserCtxt *>(ctx)->_private); }

QString ShortName(const QString &fileName) { return QFileInfo(fileName).fileName(); }

QString Describe(const xmlError &error) { return XmlErrorText(error.line, error.message); }

// The parser takes the length as an int.
void RefuseTooLarge(qint64 size, const QString &fileName) {
  if (size > std::numeric_limits<int>::max())
    throw Exception(QStringLiteral("Plik \"%1\" jest za duży na fakturę.").arg(ShortName(fileName)));
}

// Stops at the DOCTYPE itself, so that no entity declaration is ever read.
void RefuseDoctype(void *ctx, const xmlChar *, const xmlChar *, const xmlChar *) {
  WatchOf(ctx).DoctypeSeen = true;
  xmlStopParser(static_cast<xmlParserCtxt *>(ctx));
}

// The parser goes on after a fatal error and reports its consequences too; the first one is
// where the file is wrong. A template, because libxml2 2.12 made the error pointer const.
template <typename Error> void KeepFirstFatalError(void *ctx, Error error) {
  TParseWatch &watch = WatchOf(ctx);
  if (error && error->level == XML_ERR_FATAL && watch.FirstError.isEmpty())
    watch.FirstError = Describe(*error);
}

} // namespace

void TXmlDocument::TFree::operator()(xmlDoc *document) const { xmlFreeDoc(document); }

TXmlElement TXmlDocument::Root() const { return TXmlElement(xmlDocGetRootElement(FDocument.get())); }

TXmlParser::TXmlParser() { xmlInitParser(); }

void TXmlParser::TFree::operator()(xmlParserCtxt *context) const { xmlFreeParserCtxt(context); }

TXmlDocument TXmlParser::Load(const QString &fileName) {
  const QFileInfo info(fileName);
  if (!info.isFile())
    throw NotAFile(fileName);
  // Unbuffered and into the parser's own buffer: the whole file is read in one call, without a
  // buffer allocated, copied through and freed again for every invoice of a batch.
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
    throw FileInaccessible(fileName);
  RefuseTooLarge(info.size(), fileName);
  FBuffer.resize(info.size());
  FBuffer.resize(std::max<qint64>(0, file.read(FBuffer.data(), FBuffer.size())));
  return Read(FBuffer, fileName, info);
}

TXmlDocument TXmlParser::Parse(const QByteArray &bytes, const QString &fileName) {
  return Read(bytes, fileName, QFileInfo(fileName));
}

TXmlDocument TXmlParser::Read(const QByteArray &bytes, const QString &fileName, const QFileInfo &file) {
  RefuseTooLarge(bytes.size(), fileName);
  if (!FContext)
    FContext.reset(xmlNewParserCtxt());
  xmlParserCtxt *ctxt = FContext.get();
  if (!ctxt)
    throw Exception(QStringLiteral("Brak pamięci na odczyt pliku \"%1\".").arg(ShortName(fileName)));
  // xmlCtxtReadMemory resets whatever the previous document left in the context.
  TParseWatch watch;
  ctxt->_private = &watch;
  ctxt->sax->internalSubset = RefuseDoctype;
  ctxt->sax->serror = KeepFirstFatalError;
  // Files the document names (a schema's includes) are found beside it.
  const QByteArray url = file.absoluteFilePath().toUtf8();
  // A byte the declared encoding cannot convert is reported outside the parser's handler: it
  // would go to standard error, and the user would read only of its consequence. The handler
  // belongs to this thread.
  xmlSetStructuredErrorFunc(ctxt, KeepFirstFatalError);
  TXmlDocument doc(xmlCtxtReadMemory(ctxt, bytes.constData(), static_cast<int>(bytes.size()), url.constData(), nullptr,
                                     SafeParseOptions));
  xmlSetStructuredErrorFunc(nullptr, nullptr);
  ctxt->_private = nullptr;
  // The names in the messages are made only when one is needed.
  if (watch.DoctypeSeen)
    throw DoctypeRefused(fileName);
  if (!doc.FDocument || !ctxt->wellFormed)
    throw NotWellFormed(fileName, watch.FirstError.isEmpty() ? Describe(ctxt->lastError) : watch.FirstError);
  if (doc.Root().IsNull())
    throw Exception(QStringLiteral("Plik \"%1\" nie zawiera elementu głównego XML.").arg(ShortName(fileName)));
  return doc;
}

TXmlDocument LoadXmlFile(const QString &fileName) { return TXmlParser().Load(fileName); }

TXmlDocument ParseXml(const QByteArray &bytes, const QString &fileName) { return TXmlParser().Parse(bytes, fileName); }
