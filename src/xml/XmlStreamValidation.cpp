#include "model/Exception.h"
#include "xml/XmlErrorText.h"
#include "xml/XmlReadErrors.h"
#include "xml/XmlSchema.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <cstring>
#include <exception>
#include <libxml/parser.h>
#include <libxml/xmlschemas.h>
#include <string>
#include <utility>
#include <vector>

namespace {

struct TParserFree {
  void operator()(xmlParserCtxt *parser) const { xmlFreeParserCtxt(parser); }
};

struct TUnplug {
  void operator()(xmlSchemaSAXPlugPtr plug) const { xmlSchemaSAXUnplug(plug); }
};

TXmlViolationKind KindOf(int code) {
  switch (code) {
  case XML_SCHEMAV_CVC_MINLENGTH_VALID: return TXmlViolationKind::TooShort;
  case XML_SCHEMAV_CVC_MAXLENGTH_VALID: return TXmlViolationKind::TooLong;
  case XML_SCHEMAV_CVC_PATTERN_VALID: return TXmlViolationKind::Pattern;
  default: return TXmlViolationKind::Other;
  }
}

QString FromXml(const xmlChar *text) { return QString::fromUtf8(reinterpret_cast<const char *>(text)); }

bool SameName(const xmlChar *name, const char *expected) {
  return std::strcmp(reinterpret_cast<const char *>(name), expected) == 0;
}

} // namespace

// Reads a document as SAX events with the schema's validator plugged in between. It keeps the
// path from the root to the element being read, each step with its position among its
// namesakes, and the text of an element that holds text only. The validator reports what is
// wrong right after the event that showed it, so an element that has just ended stays on the
// path until the next event: a violation found at an end tag is placed on that element.
class TXmlStreamValidation {
public:
  TXmlStreamValidation(xmlSchemaValidCtxt *validator, const TXmlElementVisitor &visit)
      : FValidator(validator), FVisit(visit) {}

  QList<TXmlViolation> Read(QIODevice &input, const QString &fileName);

  bool EndsWith(std::initializer_list<const char *> names) const {
    if (names.size() > FPath.size())
      return false;
    auto level = FPath.end() - std::ptrdiff_t(names.size());
    for (const char *name : names)
      if (!SameName((level++)->Name, name))
        return false;
    return true;
  }

  int PositionOf(const char *name) const {
    for (auto level = FPath.rbegin(); level != FPath.rend(); ++level)
      if (SameName(level->Name, name))
        return level->Position;
    return 0;
  }

  QString Text() const { return FPath.empty() || FPath.back().HasChildren ? QString() : QString::fromUtf8(FText); }

private:
  struct TLevel {
    // The parser keeps its names in its dictionary: one name, one pointer.
    const xmlChar *Name = nullptr;
    int Position = 1;
    bool HasChildren = false;
    std::vector<std::pair<const xmlChar *, int>> ChildCounts;

    int CountChild(const xmlChar *name) {
      HasChildren = true;
      for (auto &[childName, count] : ChildCounts)
        if (childName == name)
          return ++count;
      ChildCounts.emplace_back(name, 1);
      return 1;
    }
  };

  static TXmlStreamValidation &Of(void *self) { return *static_cast<TXmlStreamValidation *>(self); }

  // Libxml2 is C: nothing may be thrown through it. The first error stops the parser and is
  // thrown again once it has returned.
  template <typename Work> void Guarded(Work &&work) {
    if (FFailure)
      return;
    try {
      work();
    } catch (...) {
      FFailure = std::current_exception();
      xmlStopParser(FParser);
    }
  }

  void ForgetEndedElement() {
    if (!FEnded)
      return;
    FPath.pop_back();
    FEnded = false;
    FText.clear();
  }

  static void StartElement(void *self, const xmlChar *name, const xmlChar *, const xmlChar *, int, const xmlChar **,
                           int, int, const xmlChar **) {
    TXmlStreamValidation &reading = Of(self);
    reading.Guarded([&] {
      reading.ForgetEndedElement();
      const int position = reading.FPath.empty() ? 1 : reading.FPath.back().CountChild(name);
      reading.FPath.push_back({name, position, false, {}});
      reading.FText.clear();
    });
  }

  static void EndElement(void *self, const xmlChar *, const xmlChar *, const xmlChar *) {
    TXmlStreamValidation &reading = Of(self);
    reading.Guarded([&] {
      reading.ForgetEndedElement();
      reading.FEnded = true;
      if (reading.FVisit)
        reading.FVisit(TXmlStreamElement(&reading));
    });
  }

  static void Characters(void *self, const xmlChar *text, int length) {
    TXmlStreamValidation &reading = Of(self);
    reading.Guarded([&] {
      reading.ForgetEndedElement();
      reading.FText.append(reinterpret_cast<const char *>(text), std::size_t(length));
    });
  }

  static void RefuseDoctype(void *self, const xmlChar *, const xmlChar *, const xmlChar *) {
    TXmlStreamValidation &reading = Of(self);
    reading.FDoctypeSeen = true;
    xmlStopParser(reading.FParser);
  }

  static int Locate(void *self, const char **file, unsigned long *line) {
    const xmlParserCtxt *parser = Of(self).FParser;
    if (file)
      *file = nullptr;
    if (line)
      *line = parser && parser->input ? (unsigned long)parser->input->line : 0;
    return 0;
  }

  // A template, because libxml2 2.12 made the error pointer const.
  template <typename Error> static void CollectViolation(void *self, Error error) {
    TXmlStreamValidation &reading = Of(self);
    if (!error)
      return;
    reading.Guarded([&] {
      TXmlViolation violation;
      violation.Kind = KindOf(error->code);
      for (const TLevel &level : reading.FPath)
        violation.Path.append({FromXml(level.Name), level.Position});
      violation.Content = reading.Text();
      // The facet errors carry the document's value and the schema's limit; other errors
      // carry texts of other meanings.
      if (violation.Kind != TXmlViolationKind::Other) {
        violation.Actual = QString::fromUtf8(error->str1);
        violation.Allowed = QString::fromUtf8(error->str2);
      }
      violation.Text = XmlErrorText(error->line, error->message);
      reading.FViolations.append(violation);
    });
  }

  xmlSchemaValidCtxt *FValidator;
  const TXmlElementVisitor &FVisit;
  xmlParserCtxt *FParser = nullptr;
  std::vector<TLevel> FPath;
  bool FEnded = false;
  std::string FText;
  bool FDoctypeSeen = false;
  std::exception_ptr FFailure;
  QList<TXmlViolation> FViolations;
};

QList<TXmlViolation> TXmlStreamValidation::Read(QIODevice &input, const QString &fileName) {
  xmlSAXHandler sax;
  std::memset(&sax, 0, sizeof sax);
  sax.initialized = XML_SAX2_MAGIC;
  sax.startElementNs = StartElement;
  sax.endElementNs = EndElement;
  sax.characters = Characters;
  sax.cdataBlock = Characters;
  sax.internalSubset = RefuseDoctype;
  const QByteArray url = QFileInfo(fileName).absoluteFilePath().toUtf8();
  const std::unique_ptr<xmlParserCtxt, TParserFree> parser(
      xmlCreatePushParserCtxt(&sax, this, nullptr, 0, url.constData()));
  if (!parser)
    throw std::bad_alloc();
  FParser = parser.get();
  xmlSchemaSetValidStructuredErrors(FValidator, CollectViolation, this);
  xmlSchemaValidateSetLocator(FValidator, Locate, this);
  // Unplugged before the parser is freed: the plug lends the parser its handler.
  const std::unique_ptr<xmlSchemaSAXPlugStruct, TUnplug> plug(
      xmlSchemaSAXPlug(FValidator, &FParser->sax, &FParser->userData));
  if (!plug)
    throw std::bad_alloc();
  xmlCtxtUseOptions(FParser, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);

  QByteArray chunk(64 * 1024, Qt::Uninitialized);
  for (bool last = false; !last && FParser->instate != XML_PARSER_EOF;) {
    const qint64 size = input.read(chunk.data(), chunk.size());
    if (size < 0)
      throw Exception(QStringLiteral("Nie można odczytać pliku \"%1\".").arg(QFileInfo(fileName).fileName()));
    last = size == 0;
    xmlParseChunk(FParser, chunk.constData(), int(size), last);
  }
  if (FFailure)
    std::rethrow_exception(FFailure);
  if (FDoctypeSeen)
    throw DoctypeRefused(fileName);
  if (!FParser->wellFormed)
    throw NotWellFormed(fileName, XmlErrorText(FParser->lastError.line, FParser->lastError.message));
  // A failure of the validator itself reports no error of the document; it must not pass.
  if (xmlSchemaIsValid(FValidator) != 1 && FViolations.isEmpty())
    FViolations.append({TXmlViolationKind::Other, {}, {}, {}, {}, XmlErrorText(0, nullptr)});
  return FViolations;
}

bool TXmlStreamElement::EndsWith(std::initializer_list<const char *> names) const { return FReading->EndsWith(names); }

int TXmlStreamElement::PositionOf(const char *name) const { return FReading->PositionOf(name); }

QString TXmlStreamElement::Text() const { return FReading->Text(); }

QList<TXmlViolation> TXmlSchema::Violations(QIODevice &input, const QString &fileName,
                                            const TXmlElementVisitor &visit) const {
  const auto validator = NewValidator();
  return TXmlStreamValidation(validator.get(), visit).Read(input, fileName);
}

QList<TXmlViolation> TXmlSchema::Violations(const QString &fileName, const TXmlElementVisitor &visit) const {
  if (!QFileInfo(fileName).isFile())
    throw NotAFile(fileName);
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
    throw FileInaccessible(fileName);
  return Violations(file, fileName, visit);
}
