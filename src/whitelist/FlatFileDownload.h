#pragma once

#include "whitelist/LoadProgress.h"

#include <QString>

// Where and how a flat file is fetched.
struct TDownloadSource {
  // "https://…/RRRRMMDD.7z".
  QString Url;
  // A PEM file of the authorities trusted instead of the system's (a mirror with the office's
  // own certificate); empty for the system's.
  QString CaFile;
};

// Downloads the file over HTTPS, the server's certificate verified, into `fileName`, which
// appears only when the download is whole; a failed or cancelled one leaves nothing behind.
// Fails with one Polish sentence.
void DownloadFile(const TDownloadSource &source, const QString &fileName, IProgress &progress);
