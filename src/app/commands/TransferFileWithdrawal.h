#pragma once

#include "app/commands/AppPaths.h"

#include <QDateTime>
#include <QString>
#include <cstdint>

// Marks a transfer file of the journal as never sent to the bank ("wycofany": a trial, a file
// the bank refused, one replaced by a corrected file), so that its payments no longer count as
// paid, and takes the mark away again. `fileId` is the file's number as the listings show it.
// Each gives the line that says what was done; fails with a Polish message for an unknown
// file, a file already in that state, or a journal that cannot be changed.
QString WithdrawTransferFile(const TAppPaths &paths, std::int64_t fileId, const QDateTime &now);
QString RestoreTransferFile(const TAppPaths &paths, std::int64_t fileId);
