#pragma once

#include <QString>
#include <libxml/tree.h>

// The first element, in document order, whose local name equals `name` ignoring the case of
// ASCII letters: `node` itself is tested before its children (depth first). nullptr when none.
xmlNode *FindNodeByLocalName(xmlNode *node, const QString &name);
