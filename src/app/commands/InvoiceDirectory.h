#pragma once

#include <QString>
#include <QStringList>

// The invoice files of a batch: every file directly inside `directory` (subdirectories are not
// entered; hidden files count, special files such as FIFOs do not) whose name ends in ".xml" in
// any letter case, as full paths sorted by file name. Fails with a Polish message when the text is empty after
// trimming, names no readable directory or a directory without such a file.
QStringList ListInvoiceFiles(const QString &directory);
