#include "xml/XmlErrorText.h"

QString XmlErrorText(int line, const char *message) {
  QString text = message ? QString::fromUtf8(message).simplified() : QStringLiteral("nieznany błąd parsera");
  if (line > 0)
    text = QStringLiteral("wiersz %1: %2").arg(line).arg(text);
  return text;
}
