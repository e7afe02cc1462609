#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// Keeps a copy of every transfer file written, whole and unchanged, in the directory
// `archiveDir` ("PLIKI_DO_BANKU/archiwum"), so that the bytes the bank received can be shown
// months later. A copy is named "<date>_<time>_<counter>_<name>", e.g.
// "2026-03-05_140509_1_Pain001Paczka.xml": the counter grows until the name is free, and the
// name is taken before the copy is written, so two programs archiving in the same second
// never overwrite each other's copy. Gives the copy's file name (without the directory);
// fails with an Exception when the copy cannot be written.
QString ArchiveTransferFile(const QString &archiveDir, const QString &originalName, const QByteArray &content,
                            const QDateTime &writtenAt);
