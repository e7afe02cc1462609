#pragma once

#include "xml/XmlDocument.h"
#include "xml/XmlElement.h"

#include <QList>
#include <QStringList>
#include <memory>

// One step of an element's path: its local name and its position, from 1, among the element
// children of its parent that bear the same name.
struct TXmlStep {
  QString Name;
  int Position = 1;
};

// What kind of rule a violation breaks: a text shorter or longer than its type allows, a value
// its pattern refuses, or anything else.
enum TXmlViolationKind { xvTooShort, xvTooLong, xvPattern, xvOther };

// One place where a document breaks its schema.
struct TXmlViolation {
  TXmlViolationKind Kind = xvOther;
  // The element that breaks the schema (for an attribute, the element that carries it); null
  // when the validator names none. It points into the validated document.
  TXmlElement Element;
  // From the root element down to Element, both included.
  QList<TXmlStep> Path;
  // What the document holds and what the schema allows: for xvTooShort and xvTooLong the text's
  // length and the allowed length, for xvPattern the value and the pattern; empty otherwise.
  QString Actual;
  QString Allowed;
  // "wiersz <line>: <the validator's message>", as Validate gives it.
  QString Text;
};

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

  // The same violations with the element each one concerns, so that a caller can say in its
  // own words where the document is wrong.
  QList<TXmlViolation> Violations(const TXmlDocument &document) const;

private:
  struct TFree {
    void operator()(void *schema) const;
  };

  // The parsed schema may point into its document, so the document stays while it does.
  TXmlDocument FSource;
  std::unique_ptr<void, TFree> FSchema;
};
