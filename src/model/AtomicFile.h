#pragma once

#include <QByteArray>
#include <QString>

// Writes the whole content to a temporary file beside the target, syncs it to the disk and
// renames it over the target, so the target holds either its old content or the new one,
// never a part, even when the process is killed midway. The temporary is the hidden file
// ".<name>.pavena-XXXXXX"; one that a killed run left behind is removed by the next write of
// the same target. A missing directory of the target is created first.
// Fails with "Unable to write to <path>" and leaves the target as it was.
void WriteFileAtomically(const QString &fileName, const QByteArray &content);
