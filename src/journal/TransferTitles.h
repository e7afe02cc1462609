#pragma once

#include <QByteArray>
#include <QStringList>

// The remittance text of each transfer of a pain.001 file, in file order: its unstructured
// text, else the reference of its structured split-payment block, else an empty text. Read
// from the file as written, so the journal keeps exactly what the bank received.
QStringList TransferTitles(const QByteArray &pain001, const QString &fileName);
