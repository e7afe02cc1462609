#pragma once

#include <QByteArray>
#include <QString>

// Writes the whole content to a temporary file beside the target and renames it over the
// target, so the target holds either its old content or the new one, never a part.
// Fails with "Unable to write to <path>" and leaves the target as it was.
void WriteFileAtomically(const QString &fileName, const QByteArray &content);
