#pragma once

#include <QByteArray>
#include <QString>

// The link of the verification code "KOD I" that lets anyone check the invoice in KSeF:
// the base, the seller's NIP, the issue date (P_1) as DD-MM-RRRR and the SHA-256 of the
// invoice file's exact bytes in Base64URL without padding, joined by slashes. The base ends
// with a slash. Fails with a Polish message when the NIP or the date is missing.
QString VerificationLink(const QString &base, const QString &sellerNip, const QString &issueDate,
                         const QByteArray &invoiceFile);
