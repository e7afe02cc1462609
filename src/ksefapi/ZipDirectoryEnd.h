#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

// What a ZIP's end-of-central-directory record (and ZIP64's, when the classic one points to it)
// says of the archive's directory, read before any ZIP library walks the directory.
struct TZipDirectoryEnd {
  // The larger of the entries declared on this disk and in total.
  quint64 Entries = 0;
  quint64 DirectoryOffset = 0;
  quint64 DirectorySize = 0;
  // Where the end record (ZIP64's when present) begins: the directory lies before it.
  quint64 RecordPosition = 0;
};

// Nothing when the file has no end record within its last 64 KiB + 22 bytes, or when a ZIP64
// locator points at no ZIP64 record.
std::optional<TZipDirectoryEnd> ReadZipDirectoryEnd(const QString &zipFile);
