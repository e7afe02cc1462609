#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The JSON answers of KSeF read into plain records. Every answer is outside data: a missing or
// mistyped field, an over-long text or a malformed document fails with one Polish sentence
// naming the call ("Odpowiedź KSeF na <what> jest nieczytelna."), never a crash.

struct TKsefPublicKey {
  QByteArray CertificateDer;
  QString PublicKeyId;
  QStringList Usage;
  // When KSeF takes data encrypted under the key.
  QDateTime ValidFrom;
  QDateTime ValidTo;
};

struct TKsefChallenge {
  QString Challenge;
  qint64 TimestampMs = 0;
};

struct TKsefAuthStart {
  QString ReferenceNumber;
  QByteArray AuthenticationToken;
};

struct TKsefStatus {
  int Code = 0;
  QString Description;
  QStringList Details;
};

struct TKsefTokens {
  QByteArray Access;
  QByteArray Refresh;
};

struct TKsefPackagePart {
  int OrdinalNumber = 0;
  QString Url;
  qint64 Size = 0;
  qint64 EncryptedSize = 0;
  QByteArray Hash;
  QByteArray EncryptedHash;
};

struct TKsefExportStatus {
  TKsefStatus Status;
  // Set once the package is ready.
  bool HasPackage = false;
  qint64 InvoiceCount = 0;
  qint64 Size = 0;
  QList<TKsefPackagePart> Parts;
  bool Truncated = false;
  // ISO 8601 as KSeF wrote it; empty when absent.
  QString LastPermanentStorageDate;
  QString PermanentStorageHwmDate;
};

// One invoice of the package's _metadata.json.
struct TKsefInvoiceMetadata {
  QString KsefNumber;
  // The 32 bytes of the invoice file's SHA-256.
  QByteArray InvoiceHash;
  QString InvoiceNumber;
  QString IssueDate;
  QString SellerNip;
  QString SellerName;
  // As KSeF wrote the number, e.g. "1230.5"; read exactly by whoever needs the amount.
  QString GrossAmount;
  QString Currency;
  QString PermanentStorageDate;
};

QList<TKsefPublicKey> ReadPublicKeys(const QByteArray &json);
TKsefChallenge ReadChallenge(const QByteArray &json);
TKsefAuthStart ReadAuthStart(const QByteArray &json);
TKsefStatus ReadAuthStatus(const QByteArray &json);
TKsefTokens ReadTokens(const QByteArray &json);
QByteArray ReadRefreshedAccessToken(const QByteArray &json);
QString ReadExportReference(const QByteArray &json);
TKsefExportStatus ReadExportStatus(const QByteArray &json);

// The codes of an error answer, in either of KSeF's forms (problem details' errors[].code or
// exception.exceptionDetailList[].exceptionCode), with the first detail the server gave; none
// when the body is no such answer.
struct TKsefErrorAnswer {
  QList<int> Codes;
  QString Detail;
  // 403's reasonCode, e.g. "missing-permissions".
  QString ReasonCode;
};
TKsefErrorAnswer ReadErrorAnswer(const QByteArray &json);

// The invoices of _metadata.json; nothing when the file is not such a document (cut short,
// damaged), since the package can still be read by its file names.
std::optional<QList<TKsefInvoiceMetadata>> ReadPackageMetadata(const QByteArray &json);
