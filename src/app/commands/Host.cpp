#include "app/commands/Host.h"

#include "model/Exception.h"

void ILog::AppendError(const QString &message) { Append(QStringLiteral("Błąd: ") + message, false, TLogKind::Error); }

void ILog::AppendWarning(const QString &message) {
  Append(QStringLiteral("Uwaga: ") + message, false, TLogKind::Warning);
}

void RunGuarded(IDialogs &dialogs, const std::function<void()> &work) {
  try {
    work();
  } catch (const std::exception &error) {
    dialogs.ShowError(ErrorMessage(error));
  }
}
