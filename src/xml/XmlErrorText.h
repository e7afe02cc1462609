#pragma once

#include <QString>

// One line for an error of libxml2's parser or validator, "wiersz <line>: <message>" when it
// gives a line: libxml2 puts the offending bytes on a line of their own.
QString XmlErrorText(int line, const char *message);
