#include "ksefapi/KsefCrypto.h"

#include "model/Exception.h"

#include <openssl/evp.h>
#include <openssl/rand.h>
#include <openssl/x509.h>
#include <new>

namespace {

struct TCertificateFree {
  void operator()(X509 *certificate) const { X509_free(certificate); }
};
struct TKeyFree {
  void operator()(EVP_PKEY *key) const { EVP_PKEY_free(key); }
};
struct TKeyContextFree {
  void operator()(EVP_PKEY_CTX *context) const { EVP_PKEY_CTX_free(context); }
};

const QString UnreadableKey = QStringLiteral(
    "Klucz publiczny KSeF do szyfrowania jest nieczytelny albo nie jest kluczem RSA; spróbuj ponownie później.");

} // namespace

QByteArray RandomBytes(int count) {
  QByteArray bytes(count, Qt::Uninitialized);
  if (RAND_bytes(reinterpret_cast<unsigned char *>(bytes.data()), count) != 1)
    throw Exception(QStringLiteral("System nie dał liczb losowych do szyfrowania."));
  return bytes;
}

QByteArray RsaOaepEncrypt(const QByteArray &certificateDer, QByteArrayView plain) {
  const auto *der = reinterpret_cast<const unsigned char *>(certificateDer.constData());
  const std::unique_ptr<X509, TCertificateFree> certificate(d2i_X509(nullptr, &der, long(certificateDer.size())));
  if (!certificate)
    throw Exception(UnreadableKey);
  const std::unique_ptr<EVP_PKEY, TKeyFree> key(X509_get_pubkey(certificate.get()));
  if (!key || EVP_PKEY_base_id(key.get()) != EVP_PKEY_RSA)
    throw Exception(UnreadableKey);
  const std::unique_ptr<EVP_PKEY_CTX, TKeyContextFree> context(EVP_PKEY_CTX_new(key.get(), nullptr));
  std::size_t size = 0;
  const auto *input = reinterpret_cast<const unsigned char *>(plain.data());
  if (!context || EVP_PKEY_encrypt_init(context.get()) != 1 ||
      EVP_PKEY_CTX_set_rsa_padding(context.get(), RSA_PKCS1_OAEP_PADDING) != 1 ||
      EVP_PKEY_CTX_set_rsa_oaep_md(context.get(), EVP_sha256()) != 1 ||
      EVP_PKEY_CTX_set_rsa_mgf1_md(context.get(), EVP_sha256()) != 1 ||
      EVP_PKEY_encrypt(context.get(), nullptr, &size, input, std::size_t(plain.size())) != 1)
    throw Exception(UnreadableKey);
  QByteArray cipher(qsizetype(size), Qt::Uninitialized);
  if (EVP_PKEY_encrypt(context.get(), reinterpret_cast<unsigned char *>(cipher.data()), &size, input,
                       std::size_t(plain.size())) != 1)
    throw Exception(UnreadableKey);
  cipher.resize(qsizetype(size));
  return cipher;
}

struct TSha256::TState {
  EVP_MD_CTX *Context = EVP_MD_CTX_new();
  ~TState() { EVP_MD_CTX_free(Context); }
};

TSha256::TSha256() : FState(std::make_unique<TState>()) {
  if (!FState->Context || EVP_DigestInit_ex(FState->Context, EVP_sha256(), nullptr) != 1)
    throw std::bad_alloc();
}

TSha256::~TSha256() = default;

void TSha256::Add(QByteArrayView bytes) { EVP_DigestUpdate(FState->Context, bytes.data(), std::size_t(bytes.size())); }

QByteArray TSha256::Result() {
  QByteArray digest(32, Qt::Uninitialized);
  EVP_DigestFinal_ex(FState->Context, reinterpret_cast<unsigned char *>(digest.data()), nullptr);
  return digest;
}

QByteArray TSha256::Of(QByteArrayView bytes) {
  TSha256 sha;
  sha.Add(bytes);
  return sha.Result();
}

struct TAesCbcDecryptor::TState {
  EVP_CIPHER_CTX *Context = EVP_CIPHER_CTX_new();
  ~TState() { EVP_CIPHER_CTX_free(Context); }
};

TAesCbcDecryptor::TAesCbcDecryptor(const QByteArray &key, const QByteArray &iv) : FState(std::make_unique<TState>()) {
  if (key.size() != 32 || iv.size() != 16)
    throw std::invalid_argument("AES-256-CBC needs a 32-byte key and a 16-byte IV");
  if (!FState->Context || EVP_DecryptInit_ex(FState->Context, EVP_aes_256_cbc(), nullptr,
                                             reinterpret_cast<const unsigned char *>(key.constData()),
                                             reinterpret_cast<const unsigned char *>(iv.constData())) != 1)
    throw std::bad_alloc();
}

TAesCbcDecryptor::~TAesCbcDecryptor() = default;

QByteArray TAesCbcDecryptor::Add(QByteArrayView cipher) {
  QByteArray plain(cipher.size() + 16, Qt::Uninitialized);
  int length = 0;
  if (EVP_DecryptUpdate(FState->Context, reinterpret_cast<unsigned char *>(plain.data()), &length,
                        reinterpret_cast<const unsigned char *>(cipher.data()), int(cipher.size())) != 1)
    throw std::bad_alloc();
  plain.resize(length);
  return plain;
}

bool TAesCbcDecryptor::Finish(QByteArray &plain) {
  plain.resize(16);
  int length = 0;
  if (EVP_DecryptFinal_ex(FState->Context, reinterpret_cast<unsigned char *>(plain.data()), &length) != 1) {
    plain.clear();
    return false;
  }
  plain.resize(length);
  return true;
}
