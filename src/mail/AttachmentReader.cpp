#include "mail/AttachmentReader.h"

#include <cstdio>

TAttachmentReader::TAttachmentReader(const QString &fileName) : FFile(fileName) {}

size_t TAttachmentReader::Read(char *buffer, size_t size, size_t count, void *reader) {
  return static_cast<TAttachmentReader *>(reader)->Read(buffer, size * count);
}

size_t TAttachmentReader::Read(char *buffer, size_t length) {
  if (!FFailure && !FFile.isOpen() && !FFile.open(QIODevice::ReadOnly))
    Fail();
  if (FFailure)
    return CURL_READFUNC_ABORT;
  const qint64 read = FFile.read(buffer, static_cast<qint64>(length));
  if (read < 0) {
    Fail();
    return CURL_READFUNC_ABORT;
  }
  FHanded = read == 0;
  return static_cast<size_t>(read);
}

void TAttachmentReader::Fail() {
  FFailure = QStringLiteral("Cannot open file \"%1\". %2").arg(FFile.fileName(), FFile.errorString());
}

int TAttachmentReader::Seek(void *reader, curl_off_t offset, int origin) {
  // libcurl only ever rewinds a part to its start before sending it again.
  auto *self = static_cast<TAttachmentReader *>(reader);
  if (offset != 0 || origin != SEEK_SET)
    return CURL_SEEKFUNC_CANTSEEK;
  if (self->FFile.isOpen() && !self->FFile.seek(0))
    return CURL_SEEKFUNC_FAIL;
  self->FHanded = false;
  return CURL_SEEKFUNC_OK;
}
