#include "ksefapi/KsefTokenLogin.h"

#include "ksefapi/KsefCrypto.h"
#include "model/Exception.h"
#include "model/SecretBytes.h"

#include <QJsonDocument>
#include <QJsonObject>

TKsefTokenLogin::TKsefTokenLogin(QByteArray token) : FToken(std::move(token)) {
  // A buffer of its own (none is copied for a token moved in): wiping it leaves the caller's
  // copy alone.
  FToken.detach();
  // A token file often ends with a line break.
  while (!FToken.isEmpty() && uchar(FToken.back()) <= 0x20)
    FToken.chop(1);
  if (FToken.isEmpty())
    throw Exception(QStringLiteral("Token KSeF jest pusty."));
}

TKsefTokenLogin::~TKsefTokenLogin() { WipeSecret(FToken); }

TKsefAuthStart TKsefTokenLogin::Start(TKsefSession &session, const TKsefChallenge &challenge, const QString &nip) {
  // The answer holds the login's authentication token.
  QByteArray answer = session.WithPublicKey(QStringLiteral("KsefTokenEncryption"), [&](const TKsefPublicKey &key) {
    QByteArray plain = FToken + '|' + QByteArray::number(challenge.TimestampMs);
    const TSecretWipe wipePlain(plain);
    const QByteArray encrypted = RsaOaepEncrypt(key.CertificateDer, plain);
    QJsonObject request{
        {QStringLiteral("challenge"), challenge.Challenge},
        {QStringLiteral("contextIdentifier"),
         QJsonObject{{QStringLiteral("type"), QStringLiteral("Nip")}, {QStringLiteral("value"), nip}}},
        {QStringLiteral("encryptedToken"), QString::fromLatin1(encrypted.toBase64())},
    };
    if (!key.PublicKeyId.isEmpty())
      request.insert(QStringLiteral("publicKeyId"), key.PublicKeyId);
    return session.CallAnonymous("POST", QStringLiteral("/auth/ksef-token"), "application/json",
                                 QJsonDocument(request).toJson(QJsonDocument::Compact),
                                 QStringLiteral("logowanie tokenem KSeF"));
  });
  const TSecretWipe wipeAnswer(answer);
  return ReadAuthStart(answer);
}
