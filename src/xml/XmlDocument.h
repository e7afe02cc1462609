#pragma once

#include "xml/XmlElement.h"

#include <QByteArray>
#include <QString>
#include <memory>

class QFileInfo;

// A whole XML document: it owns the tree that its elements point into.
class TXmlDocument {
public:
  TXmlElement Root() const;

private:
  friend class TXmlParser;
  friend class TXmlSchema;

  struct TFree {
    void operator()(xmlDoc *document) const;
  };

  explicit TXmlDocument(xmlDoc *document) : FDocument(document) {}

  std::unique_ptr<xmlDoc, TFree> FDocument;
};

// Reading XML that comes from outside (invoices): no network, no entity substitution, no DTD
// loading, and a document that declares a DOCTYPE is refused, so a file can neither pull in a
// local file nor blow up memory. The declared encoding of the document is honoured.

// Fails with one short Polish message that names the file (without its directory) and says
// what is wrong, with the line number where the parser gives one.
TXmlDocument LoadXmlFile(const QString &fileName);

// The same for the content of a file already in memory: `fileName` names it in the messages.
TXmlDocument ParseXml(const QByteArray &bytes, const QString &fileName);

// Reads documents one after the other with one parser, as LoadXmlFile and ParseXml each read
// one. The parser's buffers and its dictionary of names, which would otherwise be made anew for
// every file, serve them all: a batch of many small invoices reads markedly faster. The
// documents stay valid after the parser is gone.
// A parser serves one thread at a time; parsers of different threads work side by side.
// Making a parser readies libxml2 for the whole process, which must not happen on two threads
// at once: make the parsers that other threads are to use before starting those threads.
class TXmlParser {
public:
  TXmlParser();

  TXmlDocument Load(const QString &fileName);
  TXmlDocument Parse(const QByteArray &bytes, const QString &fileName);

private:
  struct TFree {
    void operator()(xmlParserCtxt *context) const;
  };

  TXmlDocument Read(const QByteArray &bytes, const QString &fileName, const QFileInfo &file);

  // Made by the first reading, so that its failure can name the file.
  std::unique_ptr<xmlParserCtxt, TFree> FContext;
  // What Load reads a file into.
  QByteArray FBuffer;
};
