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

QString WithLineFeeds(const QString &text) {
  QString result = text;
  result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  result.replace(u'\r', u'\n');
  return result;
}

QStringList SplitLines(const QString &text) { return WithLineFeeds(text).split(u'\n'); }

QString LogSeparator() { return QString(104, u'-'); }
