#include "app/commands/OutputAsInput.h"

#include "model/Exception.h"

#include <QFileInfo>

bool IsSameFile(const QString &a, const QString &b) {
  // Empty for a name that leads to no file: no file is the same as a missing one.
  const QString canonical = QFileInfo(a).canonicalFilePath();
  return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
}

void RefuseOutputAsInput(const QString &input, const QStringList &outputs) {
  for (const QString &output : outputs)
    if (IsSameFile(input, output))
      throw Exception(
          QStringLiteral("Plik %1 nie może być danymi wejściowymi tego polecenia: polecenie zapisuje albo usuwa "
                         "ten plik (%2).")
              .arg(input, output));
}
