#pragma once

#include <QByteArray>
#include <QString>

// A file holding a secret (a KSeF token, a private key, a PKCS#12 file) must be readable by its
// owner alone: one that others may read or write (permissions wider than 0600) is refused with a
// Polish sentence saying how to fix it, before anything is read from it.
void CheckPrivateFile(const QString &fileName);

// The KSeF token of such a file, read whole; a file far larger than a token is refused.
QByteArray ReadTokenFile(const QString &fileName);
