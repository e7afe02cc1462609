#pragma once

#include <QFile>
#include <QString>
#include <cstddef>
#include <curl/curl.h>
#include <optional>

// Feeds the attached file to libcurl while the message goes out, so the file is read as it
// stands then and a missing file shows up at that point. The reader keeps the file layer's own
// message when opening or reading fails, since libcurl only learns that the read was aborted.
class TAttachmentReader {
public:
  explicit TAttachmentReader(const QString &fileName);

  // What went wrong with the file, if anything.
  const std::optional<QString> &Failure() const { return FFailure; }
  // True once libcurl has been given the whole file.
  bool Handed() const { return FHanded; }

  // libcurl's read and seek callbacks; `reader` is the TAttachmentReader.
  static size_t Read(char *buffer, size_t size, size_t count, void *reader);
  static int Seek(void *reader, curl_off_t offset, int origin);

private:
  size_t Read(char *buffer, size_t length);
  // The file layer's message, the same for a file that cannot be opened and one whose reading
  // breaks off.
  void Fail();

  QFile FFile;
  std::optional<QString> FFailure;
  bool FHanded = false;
};
