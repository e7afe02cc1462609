#include "app/commands/OutputAsInput.h"

#include "model/Exception.h"

#include <QFileInfo>
#include <utility>
#include <vector>

bool IsSameFile(const QString &a, const QString &b) {
  // Empty for a name that leads to no file: no file is the same as a missing one.
  const QString canonical = QFileInfo(a).canonicalFilePath();
  return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
}

void RefuseOutputAsInput(const QStringList &inputs, const QStringList &outputs) {
  std::vector<std::pair<QString, QString>> existing;
  for (const QString &output : outputs)
    if (QString canonical = QFileInfo(output).canonicalFilePath(); !canonical.isEmpty())
      existing.emplace_back(output, std::move(canonical));
  // Nothing written yet: no input can be an output.
  if (existing.empty())
    return;
  for (const QString &input : inputs) {
    const QString canonical = QFileInfo(input).canonicalFilePath();
    for (const auto &[output, outputCanonical] : existing)
      if (canonical == outputCanonical)
        throw Exception(
            QStringLiteral("Plik %1 nie może być danymi wejściowymi tego polecenia: polecenie zapisuje albo usuwa "
                           "ten plik (%2).")
                .arg(input, output));
  }
}
