#pragma once

#include "xml/XmlDocument.h"

#include <QStringList>
#include <memory>

// An XSD schema, read once and used for any number of documents.
class TXmlSchema {
public:
  // `schema` is the XSD document, read by LoadXmlFile or ParseXml: schemas it includes are
  // found beside the file it names, and never over the network. Fails with
  // "Schemat XSD jest niepoprawny (<first error>)." when the document is no valid schema.
  explicit TXmlSchema(TXmlDocument schema);

  // What the document breaks, one line per violation in the order met, each starting with
  // "wiersz <line>: " where the document gives a line; empty for a valid document.
  QStringList Validate(const TXmlDocument &document) const;

private:
  struct TFree {
    void operator()(void *schema) const;
  };

  // The parsed schema may point into its document, so the document stays while it does.
  TXmlDocument FSource;
  std::unique_ptr<void, TFree> FSchema;
};
