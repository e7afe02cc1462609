#pragma once

#include <QByteArray>
#include <cstddef>

// Overwrites a secret (a token, a passphrase, an answer that holds one) where its bytes lie, and
// empties it. Copies of a QByteArray share one buffer until one of them is written to: the bytes
// are overwritten in that buffer, for every copy that shares it, where fill() would detach and
// overwrite a fresh copy of its own.
void WipeSecret(QByteArray &secret);
void WipeSecret(char *bytes, std::size_t size);

// Wipes a secret when the scope ends, however it ends.
class TSecretWipe {
public:
  explicit TSecretWipe(QByteArray &secret) : FSecret(secret) {}
  ~TSecretWipe() { WipeSecret(FSecret); }
  TSecretWipe(const TSecretWipe &) = delete;
  TSecretWipe &operator=(const TSecretWipe &) = delete;

private:
  QByteArray &FSecret;
};
