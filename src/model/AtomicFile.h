#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>

// Takes the content of a file piece by piece, in order.
using TByteSink = std::function<void(QByteArrayView bytes)>;

// Writes the content that `produce` hands to its sink into a temporary file beside the target,
// syncs it to the disk and renames it over the target, so the target holds either its old
// content or the new one, never a part, even when the process is killed midway. The temporary
// is the hidden file ".<name>.pavena-XXXXXX"; one that a killed run left behind is removed by
// the next write of the same target. A missing directory of the target is created first.
// Fails with "Unable to write to <path>" and leaves the target as it was; when `produce`
// throws, the target stays as it was too and the exception passes on.
void WriteFileAtomically(const QString &fileName, const std::function<void(const TByteSink &sink)> &produce);

// The same for content held whole in memory.
void WriteFileAtomically(const QString &fileName, const QByteArray &content);

// The points of an atomic write where a crash leaves a different picture on the disk, in the
// order a write passes them. PartWritten comes after each block that reached the temporary,
// at least once before Synced.
enum class TAtomicWriteStep { TemporaryCreated, PartWritten, Synced, Renamed };

// Called at each step of every atomic write this process makes, on the writing thread; none
// by default. The fault tests set it in a child process to stop a write at a known step and
// kill it there.
void SetAtomicWriteObserver(std::function<void(TAtomicWriteStep step)> observer);
