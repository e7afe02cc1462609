#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <memory>

// The cryptography KSeF asks of a client, on OpenSSL's libcrypto.

QByteArray RandomBytes(int count);

// RSA-OAEP with SHA-256 and MGF1 with SHA-256, under the public key of a DER certificate
// (one of KSeF's public-key certificates). Fails with a Polish sentence when the certificate
// is unreadable or holds no RSA key.
QByteArray RsaOaepEncrypt(const QByteArray &certificateDer, QByteArrayView plain);

// SHA-256 of data that comes in pieces.
class TSha256 {
public:
  TSha256();
  ~TSha256();
  TSha256(const TSha256 &) = delete;
  TSha256 &operator=(const TSha256 &) = delete;

  void Add(QByteArrayView bytes);
  // The 32 bytes of the digest; the object is spent.
  QByteArray Result();

  static QByteArray Of(QByteArrayView bytes);

private:
  struct TState;
  std::unique_ptr<TState> FState;
};

// AES-256-CBC with PKCS#7 padding, decrypted as the ciphertext comes.
class TAesCbcDecryptor {
public:
  // `key` of 32 bytes, `iv` of 16.
  TAesCbcDecryptor(const QByteArray &key, const QByteArray &iv);
  ~TAesCbcDecryptor();
  TAesCbcDecryptor(const TAesCbcDecryptor &) = delete;
  TAesCbcDecryptor &operator=(const TAesCbcDecryptor &) = delete;

  // The plaintext that these bytes complete (a block is held back for the padding).
  QByteArray Add(QByteArrayView cipher);
  // The last plaintext; false when the ciphertext is not whole blocks or its padding is wrong.
  bool Finish(QByteArray &plain);

private:
  struct TState;
  std::unique_ptr<TState> FState;
};
