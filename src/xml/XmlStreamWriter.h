#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

// Writes an XML document element by element as it goes, so that no tree of the whole document
// is ever held: UTF-8, the XML declaration on the first line, each element on a line of its own
// indented by two spaces per level, LF line ends, an element without content as <Name/>, and
// text and attribute values escaped as libxml2's serialiser escapes them. The root element
// declares `namespaceUri` as the default namespace, and every element below it shares that
// namespace, so the root carries the file's only namespace declaration.
//
// An element holds either text or elements, never both. The bytes go to `sink` in large pieces.
class TXmlStreamWriter {
public:
  using TSink = std::function<void(QByteArrayView bytes)>;

  TXmlStreamWriter(TSink sink, const char *rootName, const char *namespaceUri);

  // Opens an element whose content is elements. Closed before any child is written, it is an
  // empty element.
  void StartElement(const char *name);
  // Closes the innermost open element.
  void EndElement();

  // An element holding `text`, or an empty element when the text is empty. XML 1.0 has no place
  // for control characters other than tab and line ends, so any other becomes a blank.
  void TextElement(const char *name, const QString &text);
  // The same with one attribute, whose value is written as given.
  void TextElement(const char *name, const QString &text, const char *attribute, const QString &value);
  // A chain of elements, each the only child of the one before it, with `text` in the last one.
  void TextElementPath(std::initializer_list<const char *> names, const QString &text);

  // Closes every element still open, the root included, and passes the rest to the sink.
  void Finish();

private:
  void CloseStartTag();
  void Indent();
  void FlushWhenFull();

  TSink FSink;
  std::string FBuffer;
  std::vector<const char *> FOpen;
  // The start tag of the innermost open element still lacks its ">": until a child comes, the
  // element may yet turn out empty.
  bool FStartTagOpen = false;
};

// Writes `fileName` as a whole document through a TXmlStreamWriter: `content` writes what lies
// below the root. The document goes to a temporary file beside `fileName`, which replaces it in
// one step at the end: when `content` throws or the file cannot be written, no file appears and
// an older one stays as it was.
void WriteXmlFile(const QString &fileName, const char *rootName, const char *namespaceUri,
                  const std::function<void(TXmlStreamWriter &)> &content);
