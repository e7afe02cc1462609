#pragma once

#include <QDateTime>
#include <QString>

class QIODevice;

// Keeps a copy of every transfer file written, whole and unchanged, in the directory
// `archiveDir` ("PLIKI_DO_BANKU/archiwum"), so that the bytes the bank received can be shown
// months later. A copy is named "<date>_<time>_<counter>_<name>", e.g.
// "2026-03-05_140509_0001_Pain001Paczka.xml": the counter (four digits, so that the names sort
// in the order the copies were made) grows until the name is free, and the name is taken
// before the copy is written, so two programs archiving in the same second never overwrite
// each other's copy; a copy that fails gives its name back. Copies made before the counter had
// its four digits ("..._1_...") keep their names: the journal holds each copy's name as made.
// `content` is read once, from where it stands to its end, in blocks, so a file of any size
// costs little memory; the copy is written straight into the name it took and synced to the
// disk (a run killed meanwhile leaves a part of a copy that no record of the journal names).
// Fails with an Exception when the copy cannot be written or `content` not read.
struct TArchivedCopy {
  // The copy's file name, without the directory.
  QString Name;
  // Lower-case hexadecimal SHA-256 of the bytes copied.
  QString Sha256;
};

TArchivedCopy ArchiveTransferFile(const QString &archiveDir, const QString &originalName, QIODevice &content,
                                  const QDateTime &writtenAt);
