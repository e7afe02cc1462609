#pragma once

#include "xml/XmlDocument.h"

#include <QList>
#include <QStringList>
#include <functional>
#include <initializer_list>
#include <memory>

class QIODevice;
class TXmlStreamValidation;

// One step of an element's path: its local name and its position, from 1, among the element
// children of its parent that bear the same name.
struct TXmlStep {
  QString Name;
  int Position = 1;
};

// What kind of rule a violation breaks: a text shorter or longer than its type allows, a value
// its pattern refuses, or anything else.
enum class TXmlViolationKind { TooShort, TooLong, Pattern, Other };

// One place where a document breaks its schema.
struct TXmlViolation {
  TXmlViolationKind Kind = TXmlViolationKind::Other;
  // From the root element down to the element that breaks the schema (for an attribute, the
  // element that carries it); empty when the validator names no element.
  QList<TXmlStep> Path;
  // That element's text, when it holds text only.
  QString Content;
  // What the document holds and what the schema allows: for TooShort and TooLong the text's
  // length and the allowed length, for Pattern the value and the pattern; empty otherwise.
  QString Actual;
  QString Allowed;
  // "wiersz <line>: <the validator's message>", as Validate gives it.
  QString Text;
};

// An element of a document read as a stream, at its end tag; valid only while it is visited.
class TXmlStreamElement {
public:
  // Whether the element and its nearest ancestors bear these local names, the element's own
  // last: EndsWith({"PstlAdr", "TwnNm"}).
  bool EndsWith(std::initializer_list<const char *> names) const;
  // The position, from 1, of the element or its nearest ancestor named `name` among the
  // namesakes under its parent; 0 when there is none of that name.
  int PositionOf(const char *name) const;
  // The element's text when it holds text only; empty otherwise.
  QString Text() const;

private:
  friend class TXmlStreamValidation;
  explicit TXmlStreamElement(const TXmlStreamValidation *reading) : FReading(reading) {}
  const TXmlStreamValidation *FReading;
};

using TXmlElementVisitor = std::function<void(const TXmlStreamElement &)>;

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

  // What the document that `input` holds breaks, read as a stream: the document is never held
  // whole, so a file of any size costs the same little memory. Each violation comes with the
  // element it concerns, so that a caller can say in its own words where the document is wrong;
  // `visit`, when given, sees every element as it ends. `fileName` names the document in the
  // messages. Fails like LoadXmlFile when the input is no well-formed XML or has a DOCTYPE.
  QList<TXmlViolation> Violations(QIODevice &input, const QString &fileName,
                                  const TXmlElementVisitor &visit = {}) const;

  // The same for the file `fileName`; fails like LoadXmlFile when it cannot be opened.
  QList<TXmlViolation> Violations(const QString &fileName, const TXmlElementVisitor &visit = {}) const;

private:
  struct TFree {
    void operator()(xmlSchema *schema) const;
  };

  struct TFreeValidator {
    void operator()(xmlSchemaValidCtxt *validator) const;
  };

  // A new validation context of this schema.
  std::unique_ptr<xmlSchemaValidCtxt, TFreeValidator> NewValidator() const;

  // The parsed schema may point into its document, so the document stays while it does.
  TXmlDocument FSource;
  std::unique_ptr<xmlSchema, TFree> FSchema;
};
