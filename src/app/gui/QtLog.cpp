#include "app/gui/QtLog.h"

#include "app/gui/LineBreaks.h"

#include <QPlainTextEdit>
#include <QScrollBar>

const QString TQtLog::Separator = QString(104, QLatin1Char('-'));

TQtLog::TQtLog(std::vector<QPlainTextEdit *> views) : FViews(std::move(views)) {}

QPlainTextEdit *TQtLog::NewView(const QString &name) {
  auto *view = new QPlainTextEdit;
  view->setObjectName(name);
  view->setPlainText(name);
  view->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  return view;
}

void TQtLog::AppendLog(const QString &text, bool withSeparator) {
  const QStringList lines = WithLineFeeds(text).split(QLatin1Char('\n'));
  for (QPlainTextEdit *view : FViews) {
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    for (const QString &line : lines)
      view->appendPlainText(line);
    if (withSeparator)
      view->appendPlainText(Separator);
    view->moveCursor(QTextCursor::End);
    view->ensureCursorVisible();
  }
}
