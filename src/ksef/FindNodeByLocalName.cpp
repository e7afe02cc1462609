#include "ksef/FindNodeByLocalName.h"

#include "ksef/XmlInput.h"

xmlNode *FindNodeByLocalName(xmlNode *node, const QString &name) {
  // Only elements are searched; the parser's depth limit bounds the recursion.
  if (!node || node->type != XML_ELEMENT_NODE)
    return nullptr;
  if (HasLocalName(node, name))
    return node;
  for (xmlNode *child = node->children; child; child = child->next)
    if (xmlNode *found = FindNodeByLocalName(child, name))
      return found;
  return nullptr;
}
