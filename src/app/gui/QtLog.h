#pragma once

#include "app/commands/Host.h"

#include <QString>
#include <vector>

class QPlainTextEdit;

// The message log over the logs of the pages: every entry reaches every one of them.
class TQtLog : public ILog {
public:
  TQtLog() = default;
  // The views in the order they are written: MemoLog, MemoTech, MemoPaczka, MemoVideoTel.
  explicit TQtLog(std::vector<QPlainTextEdit *> views);

  // The window shows its pages' logs once it has built them.
  void SetViews(std::vector<QPlainTextEdit *> views);

  // A page's log, named `name` and starting with one line holding that name. It has no
  // scroll bar until its first entry; the user may still type into it.
  static QPlainTextEdit *NewView(const QString &name);

  void Append(const QString &text, bool withSeparator, TLogKind kind) override;

private:
  std::vector<QPlainTextEdit *> FViews;
};
