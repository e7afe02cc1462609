#include "pdf/XmlTree.h"

#include "model/Exception.h"
#include "model/Text.h"

#include <QFileInfo>
#include <QXmlStreamReader>
#include <optional>

namespace {

bool SameNameIgnoringAsciiCase(const QString &a, const QString &b) {
  if (a.size() != b.size())
    return false;
  for (qsizetype i = 0; i < a.size(); ++i) {
    const char16_t x = a[i].unicode();
    const char16_t y = b[i].unicode();
    const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; };
    if (lower(x) != lower(y))
      return false;
  }
  return true;
}

[[noreturn]] void Refuse(const QString &fileName, const QString &reason) {
  throw Exception(
      QStringLiteral("Plik \"%1\" nie jest poprawnym plikiem XML (%2).").arg(QFileInfo(fileName).fileName(), reason));
}

// Reads the element whose start the reader stands on, with everything inside it.
TXmlNode ReadElement(QXmlStreamReader &reader, const QString &fileName, int depth) {
  // Far deeper than any invoice; a file built to exhaust the stack stops here.
  if (depth > 256)
    Refuse(fileName, QStringLiteral("zbyt głęboko zagnieżdżone elementy"));
  TXmlNode node;
  node.LocalName = reader.name().toString();
  while (!reader.atEnd()) {
    switch (reader.readNext()) {
    case QXmlStreamReader::StartElement:
      node.Children.push_back(ReadElement(reader, fileName, depth + 1));
      break;
    case QXmlStreamReader::Characters:
      node.Text += reader.text();
      break;
    case QXmlStreamReader::EndElement:
      return node;
    case QXmlStreamReader::DTD:
    case QXmlStreamReader::EntityReference:
      Refuse(fileName, QStringLiteral("deklaracje DOCTYPE i encje są niedozwolone"));
    default:
      break;
    }
  }
  return node;
}

} // namespace

const TXmlNode *TXmlNode::Child(const QString &name) const {
  for (const TXmlNode &child : Children)
    if (SameNameIgnoringAsciiCase(child.LocalName, name))
      return &child;
  return nullptr;
}

std::vector<const TXmlNode *> TXmlNode::ChildrenNamed(const QString &name) const {
  std::vector<const TXmlNode *> found;
  for (const TXmlNode &child : Children)
    if (SameNameIgnoringAsciiCase(child.LocalName, name))
      found.push_back(&child);
  return found;
}

QString TXmlNode::ChildText(const QString &name) const {
  const TXmlNode *child = Child(name);
  return child ? Trim(child->Text) : QString();
}

TXmlNode ParseXmlTree(const QByteArray &bytes, const QString &fileName) {
  QXmlStreamReader reader(bytes);
  std::optional<TXmlNode> root;
  while (!reader.atEnd()) {
    const QXmlStreamReader::TokenType token = reader.readNext();
    if (token == QXmlStreamReader::DTD)
      Refuse(fileName, QStringLiteral("deklaracje DOCTYPE i encje są niedozwolone"));
    if (token == QXmlStreamReader::StartElement)
      root = ReadElement(reader, fileName, 0);
  }
  if (reader.hasError()) {
    QString reason = reader.errorString();
    if (reason.endsWith(u'.'))
      reason.chop(1);
    Refuse(fileName, QStringLiteral("wiersz %1: %2").arg(reader.lineNumber()).arg(reason));
  }
  if (!root)
    Refuse(fileName, QStringLiteral("brak elementu głównego"));
  return *root;
}
