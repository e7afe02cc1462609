#pragma once

#include <QString>

// The invoice's KSeF number: the text content, untrimmed, of the first element named
// SystemInfo (any namespace prefix, ASCII case ignored) in the invoice file, or an empty text
// when the file has none. Errors loading the file pass to the caller unchanged.
QString ReadKsefNumber(const QString &fileName);
