#include "app/gui/QtLog.h"

#include "model/Text.h"

#include <QPlainTextEdit>
#include <QScrollBar>

TQtLog::TQtLog(std::vector<QPlainTextEdit *> views) : FViews(std::move(views)) {}

void TQtLog::SetViews(std::vector<QPlainTextEdit *> views) { FViews = std::move(views); }

QPlainTextEdit *TQtLog::NewView(const QString &name) {
  auto *view = new QPlainTextEdit;
  view->setObjectName(name);
  view->setPlainText(name);
  view->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  return view;
}

void TQtLog::Append(const QString &text, bool withSeparator, TLogKind) {
  const QStringList lines = SplitLines(text);
  for (QPlainTextEdit *view : FViews) {
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    for (const QString &line : lines)
      view->appendPlainText(line);
    if (withSeparator)
      view->appendPlainText(LogSeparator());
    view->moveCursor(QTextCursor::End);
    view->ensureCursorVisible();
  }
}
