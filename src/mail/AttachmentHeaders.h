#pragma once

#include <QByteArray>
#include <QString>

// The two MIME headers that name an attachment, each a complete header (folded where long,
// without the final line end). A short plain-ASCII name goes in as a quoted string. Any other
// name, Polish letters above all, is written the two ways mail clients read: RFC 2231 in the
// disposition for the clients that follow the standard, RFC 2047 words in the type's "name"
// for the older ones (Outlook among them). No line grows past 78 characters.
QByteArray AttachmentContentType(const QString &fileName);
QByteArray AttachmentDisposition(const QString &fileName);
