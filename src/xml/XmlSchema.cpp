#include "xml/XmlSchema.h"

#include "model/Exception.h"
#include "xml/XmlErrorText.h"

#include <libxml/xmlIO.h>
#include <libxml/xmlschemas.h>
#include <new>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

struct TParserCtxtFree {
  void operator()(xmlSchemaParserCtxt *ctxt) const { xmlSchemaFreeParserCtxt(ctxt); }
};

struct TValidCtxtFree {
  void operator()(xmlSchemaValidCtxt *ctxt) const { xmlSchemaFreeValidCtxt(ctxt); }
};

// A template, because libxml2 2.12 made the error pointer const.
template <typename TError> void CollectError(void *messages, TError error) {
  if (error)
    static_cast<QStringList *>(messages)->append(XmlErrorText(error->line, error->message));
}

// What the validator said about one violation, kept until the walk is over.
struct TRawViolation {
  int Code = 0;
  const xmlNode *Node = nullptr;
  QString Str1;
  QString Str2;
  QString Text;
};

QString FromXml(const char *text) { return text ? QString::fromUtf8(text) : QString(); }

template <typename TError> void CollectViolation(void *violations, TError error) {
  if (!error)
    return;
  const auto *node = static_cast<const xmlNode *>(error->node);
  // An attribute's violation belongs to the element that carries it.
  if (node && node->type == XML_ATTRIBUTE_NODE)
    node = node->parent;
  static_cast<std::vector<TRawViolation> *>(violations)
      ->push_back({error->code, node && node->type == XML_ELEMENT_NODE ? node : nullptr, FromXml(error->str1),
                   FromXml(error->str2), XmlErrorText(error->line, error->message)});
}

TXmlViolationKind KindOf(int code) {
  switch (code) {
  case XML_SCHEMAV_CVC_MINLENGTH_VALID: return xvTooShort;
  case XML_SCHEMAV_CVC_MAXLENGTH_VALID: return xvTooLong;
  case XML_SCHEMAV_CVC_PATTERN_VALID: return xvPattern;
  default: return xvOther;
  }
}

// The facet errors carry the document's value and the schema's limit; other errors carry
// texts of other meanings.
bool CarriesValues(TXmlViolationKind kind) { return kind != xvOther; }

// Positions among namesakes, counted once per parent: a document of many transactions
// with a violation in each must not be walked again for every one.
class TPositions {
public:
  int Of(const xmlNode *node) {
    if (!FPositions.contains(node))
      CountChildrenOf(node->parent);
    return FPositions[node];
  }

private:
  void CountChildrenOf(const xmlNode *parent) {
    std::unordered_map<std::string, int> seen;
    for (const xmlNode *child = parent->children; child; child = child->next)
      if (child->type == XML_ELEMENT_NODE)
        FPositions[child] = ++seen[reinterpret_cast<const char *>(child->name)];
  }

  std::unordered_map<const xmlNode *, int> FPositions;
};

xmlSchema *ParseSchema(void *document) {
  // Included and imported schemas are loaded by libxml2 itself; a location on the network
  // must fail rather than be fetched.
  xmlSetExternalEntityLoader(xmlNoNetExternalEntityLoader);
  const std::unique_ptr<xmlSchemaParserCtxt, TParserCtxtFree> parser(
      xmlSchemaNewDocParserCtxt(static_cast<xmlDoc *>(document)));
  if (!parser)
    throw std::bad_alloc();
  QStringList errors;
  xmlSchemaSetParserStructuredErrors(parser.get(), CollectError, &errors);
  xmlSchema *schema = xmlSchemaParse(parser.get());
  if (!schema)
    throw Exception(
        QStringLiteral("Schemat XSD jest niepoprawny (%1).").arg(errors.value(0, XmlErrorText(0, nullptr))));
  return schema;
}

} // namespace

void TXmlSchema::TFree::operator()(void *schema) const { xmlSchemaFree(static_cast<xmlSchema *>(schema)); }

TXmlSchema::TXmlSchema(TXmlDocument schema)
    : FSource(std::move(schema)), FSchema(ParseSchema(FSource.FDocument.get())) {}

QStringList TXmlSchema::Validate(const TXmlDocument &document) const {
  QStringList lines;
  for (const TXmlViolation &violation : Violations(document))
    lines.append(violation.Text);
  return lines;
}

QList<TXmlViolation> TXmlSchema::Violations(const TXmlDocument &document) const {
  const std::unique_ptr<xmlSchemaValidCtxt, TValidCtxtFree> validator(
      xmlSchemaNewValidCtxt(static_cast<xmlSchema *>(FSchema.get())));
  if (!validator)
    throw std::bad_alloc();
  std::vector<TRawViolation> raw;
  xmlSchemaSetValidStructuredErrors(validator.get(), CollectViolation, &raw);
  // A failure of the validator itself reports no error of the document; it must not pass.
  if (xmlSchemaValidateDoc(validator.get(), static_cast<xmlDoc *>(document.FDocument.get())) != 0 && raw.empty())
    raw.push_back({0, nullptr, QString(), QString(), XmlErrorText(0, nullptr)});

  TPositions positions;
  QList<TXmlViolation> violations;
  violations.reserve(qsizetype(raw.size()));
  for (const TRawViolation &found : raw) {
    TXmlViolation violation;
    violation.Kind = KindOf(found.Code);
    violation.Element = TXmlElement(found.Node);
    for (const xmlNode *node = found.Node; node && node->type == XML_ELEMENT_NODE; node = node->parent)
      violation.Path.prepend({TXmlElement(node).LocalName(), positions.Of(node)});
    if (CarriesValues(violation.Kind)) {
      violation.Actual = found.Str1;
      violation.Allowed = found.Str2;
    }
    violation.Text = found.Text;
    violations.append(violation);
  }
  return violations;
}
