#pragma once

#include <QByteArray>
#include <QString>

// The KSeF number the PDF prints: `given` (trimmed) when it is one, else one found in the
// invoice file's name, else none (empty).
QString KsefNumberToPrint(const QString &given, const QString &invoicePath);

// The PDF of a KSeF invoice: `invoiceFile` is the file's exact bytes (the verification code
// is made from them), `invoicePath` its path. Fails with a Polish message for a file that is
// no KSeF invoice.
QByteArray RenderInvoicePdf(const QByteArray &invoiceFile, const QString &invoicePath, const QString &givenKsefNumber,
                            const QString &qrBase);
