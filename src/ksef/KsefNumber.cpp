#include "ksef/KsefNumber.h"

#include "ksef/FindNodeByLocalName.h"

namespace {

// Text and CDATA below the element in document order. Entity references are skipped rather
// than expanded, so an invoice can never make this text grow beyond what the file holds.
void AppendTextContent(const xmlNode *node, QByteArray &text) {
  for (const xmlNode *child = node->children; child; child = child->next) {
    if (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE)
      text += reinterpret_cast<const char *>(child->content);
    else if (child->type == XML_ELEMENT_NODE)
      AppendTextContent(child, text);
  }
}

} // namespace

QString KsefNumberOf(const xmlDoc *document) {
  const xmlNode *systemInfo =
      FindNodeByLocalName(xmlDocGetRootElement(document), QStringLiteral("SystemInfo"));
  if (!systemInfo)
    return QString();
  QByteArray text;
  AppendTextContent(systemInfo, text);
  return QString::fromUtf8(text);
}
