#include "model/Text.h"

QString Trim(const QString &text) {
  qsizetype first = 0;
  qsizetype last = text.size();
  while (first < last && text.at(first).unicode() <= 0x20)
    ++first;
  while (last > first && text.at(last - 1).unicode() <= 0x20)
    --last;
  return text.mid(first, last - first);
}
