#pragma once

#include "ksef/InvoiceDocument.h"

#include <QByteArray>
#include <QString>

// Reads the invoice the PDF shows from the bytes of a KSeF invoice file (FA(2) or FA(3)), with
// the document reader the transfer uses too. Fails with one Polish message naming
// the file when it is no well-formed XML or no KSeF invoice: the root element Faktura with
// Podmiot1 and Fa, and in Fa the number P_2 and the issue date P_1.
TInvoiceDocument ReadInvoiceDocument(const QByteArray &bytes, const QString &fileName);
