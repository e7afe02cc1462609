#include "whitelist/WhiteListDigest.h"

#include <openssl/sha.h>
#include <cstring>

TDigestPrefix WhiteListDigest(QDate date, const QString &nip, const QString &account, int transformations) {
  const QByteArray text = (date.toString(QStringLiteral("yyyyMMdd")) + nip + account).toLatin1();
  unsigned char digest[SHA512_DIGEST_LENGTH];
  SHA512(reinterpret_cast<const unsigned char *>(text.constData()), std::size_t(text.size()), digest);
  static constexpr char Hex[] = "0123456789abcdef";
  char hex[2 * SHA512_DIGEST_LENGTH];
  for (int round = 1; round < transformations; ++round) {
    for (int i = 0; i < SHA512_DIGEST_LENGTH; ++i) {
      hex[2 * i] = Hex[digest[i] >> 4];
      hex[2 * i + 1] = Hex[digest[i] & 0xF];
    }
    SHA512(reinterpret_cast<const unsigned char *>(hex), sizeof hex, digest);
  }
  TDigestPrefix prefix;
  std::memcpy(prefix.data(), digest, prefix.size());
  return prefix;
}

QString MaskedAccount(const char *mask, const QString &account) {
  QString text(MaskLength, u'X');
  for (qsizetype i = 0; i < MaskLength; ++i) {
    const char c = mask[i];
    if (c == 'Y')
      text[i] = account[i];
    else if (c != 'X') {
      if (account[i] != QChar(c))
        return {};
      text[i] = account[i];
    }
  }
  return text;
}
