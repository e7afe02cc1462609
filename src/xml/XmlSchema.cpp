#include "xml/XmlSchema.h"

#include "model/Exception.h"
#include "xml/XmlErrorText.h"

#include <libxml/xmlIO.h>
#include <libxml/xmlschemas.h>
#include <new>

namespace {

struct TParserCtxtFree {
  void operator()(xmlSchemaParserCtxt *ctxt) const { xmlSchemaFreeParserCtxt(ctxt); }
};

// A template, because libxml2 2.12 made the error pointer const.
template <typename Error> void CollectError(void *messages, Error error) {
  if (error)
    static_cast<QStringList *>(messages)->append(XmlErrorText(error->line, error->message));
}

xmlSchema *ParseSchema(xmlDoc *document) {
  // Included and imported schemas are loaded by libxml2 itself; a location on the network
  // must fail rather than be fetched.
  xmlSetExternalEntityLoader(xmlNoNetExternalEntityLoader);
  const std::unique_ptr<xmlSchemaParserCtxt, TParserCtxtFree> parser(xmlSchemaNewDocParserCtxt(document));
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

void TXmlSchema::TFree::operator()(xmlSchema *schema) const { xmlSchemaFree(schema); }

TXmlSchema::TXmlSchema(TXmlDocument schema)
    : FSource(std::move(schema)), FSchema(ParseSchema(FSource.FDocument.get())) {}

void TXmlSchema::TFreeValidator::operator()(xmlSchemaValidCtxt *validator) const { xmlSchemaFreeValidCtxt(validator); }

std::unique_ptr<xmlSchemaValidCtxt, TXmlSchema::TFreeValidator> TXmlSchema::NewValidator() const {
  std::unique_ptr<xmlSchemaValidCtxt, TFreeValidator> validator(xmlSchemaNewValidCtxt(FSchema.get()));
  if (!validator)
    throw std::bad_alloc();
  return validator;
}

QStringList TXmlSchema::Validate(const TXmlDocument &document) const {
  const auto validator = NewValidator();
  xmlSchemaValidCtxt *context = validator.get();
  QStringList lines;
  xmlSchemaSetValidStructuredErrors(context, CollectError, &lines);
  // A failure of the validator itself reports no error of the document; it must not pass.
  if (xmlSchemaValidateDoc(context, document.FDocument.get()) != 0 && lines.isEmpty())
    lines.append(XmlErrorText(0, nullptr));
  return lines;
}
