#include "ksefapi/KsefXadesLogin.h"

#include "ksefapi/KsefAnswers.h"
#include "ksefapi/KsefCrypto.h"
#include "model/Exception.h"
#include "model/SecretBytes.h"

#include <QFile>
#include <QFileInfo>
#include <libxml/tree.h>
#include <libxml/xmlmemory.h>
#include <libxml/parser.h>
#include <mutex>
#include <openssl/bio.h>
#include <openssl/bn.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/pkcs12.h>
#include <openssl/x509.h>
#include <xmlsec/crypto.h>
#include <xmlsec/errors.h>
#include <xmlsec/openssl/evp.h>
#include <xmlsec/xmldsig.h>
#include <xmlsec/xmlsec.h>
#include <xmlsec/xmltree.h>

namespace {

struct TBioFree {
  void operator()(BIO *bio) const { BIO_free(bio); }
};
struct TX509Free {
  void operator()(X509 *certificate) const { X509_free(certificate); }
};
struct TKeyFree {
  void operator()(EVP_PKEY *key) const { EVP_PKEY_free(key); }
};
struct TPkcs12Free {
  void operator()(PKCS12 *p12) const { PKCS12_free(p12); }
};
struct TDocFree {
  void operator()(xmlDoc *document) const { xmlFreeDoc(document); }
};
struct TSignContextFree {
  void operator()(xmlSecDSigCtx *context) const { xmlSecDSigCtxDestroy(context); }
};
struct TBnFree {
  void operator()(BIGNUM *number) const { BN_free(number); }
};

// A certificate or key file is small; a larger one is not what the user meant.
constexpr qint64 MaxCredentialFile = 1 << 20;

QByteArray ReadCredential(const QString &fileName) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly))
    throw Exception(QStringLiteral("Nie można otworzyć pliku „%1”.").arg(fileName));
  if (file.size() > MaxCredentialFile)
    throw Exception(QStringLiteral("Plik „%1” nie jest certyfikatem ani kluczem (jest za duży).").arg(fileName));
  return file.readAll();
}

std::unique_ptr<BIO, TBioFree> MemoryBio(const QByteArray &bytes) {
  std::unique_ptr<BIO, TBioFree> bio(BIO_new_mem_buf(bytes.constData(), int(bytes.size())));
  if (!bio)
    throw std::bad_alloc();
  return bio;
}

int GivePassphrase(char *buffer, int size, int, void *user) {
  const auto *passphrase = static_cast<const QByteArray *>(user);
  const int length = std::min(size, int(passphrase->size()));
  std::copy_n(passphrase->constData(), length, buffer);
  return length;
}

void SilentXmlsecErrors(const char *, int, const char *, const char *, const char *, int, const char *) {}

void InitialiseXmlsec() {
  static std::once_flag once;
  static bool ready = false;
  std::call_once(once, [] {
    xmlSecErrorsSetCallback(SilentXmlsecErrors);
    ready = xmlSecInit() == 0 && xmlSecCheckVersion() == 1 && xmlSecOpenSSLAppInit(nullptr) == 0 &&
            xmlSecOpenSSLInit() == 0;
  });
  if (!ready)
    throw Exception(QStringLiteral("Nie udało się uruchomić biblioteki podpisu XML (xmlsec)."));
}

QString IssuerName(X509 *certificate) {
  const std::unique_ptr<BIO, TBioFree> out(BIO_new(BIO_s_mem()));
  X509_NAME_print_ex(out.get(), X509_get_issuer_name(certificate), 0, XN_FLAG_RFC2253 & ~ASN1_STRFLGS_ESC_MSB);
  char *data = nullptr;
  const long length = BIO_get_mem_data(out.get(), &data);
  return QString::fromUtf8(data, length);
}

QString SerialNumber(X509 *certificate) {
  const std::unique_ptr<BIGNUM, TBnFree> serial(ASN1_INTEGER_to_BN(X509_get0_serialNumber(certificate), nullptr));
  char *text = serial ? BN_bn2dec(serial.get()) : nullptr;
  if (!text)
    throw std::bad_alloc();
  const QString result = QString::fromLatin1(text);
  OPENSSL_free(text);
  return result;
}

QByteArray Der(X509 *certificate) {
  const int length = i2d_X509(certificate, nullptr);
  QByteArray der(length, Qt::Uninitialized);
  auto *out = reinterpret_cast<unsigned char *>(der.data());
  i2d_X509(certificate, &out);
  return der;
}

} // namespace

struct TKsefXadesLogin::TSigner {
  std::unique_ptr<X509, TX509Free> Certificate;
  std::unique_ptr<EVP_PKEY, TKeyFree> Key;
};

TKsefXadesLogin::TKsefXadesLogin(const TKsefCertificateFiles &files, QByteArray passphrase,
                                 std::function<QDateTime()> now)
    : FSigner(std::make_unique<TSigner>()), FNow(std::move(now)) {
  // Needed only to open the key, here; in a buffer of its own (none is copied for a passphrase
  // moved in), so that wiping it leaves the caller's copy alone.
  passphrase.detach();
  const TSecretWipe wipePassphrase(passphrase);
  const QByteArray certificateBytes = ReadCredential(files.Certificate);
  if (files.Key.isEmpty()) {
    const auto bio = MemoryBio(certificateBytes);
    const std::unique_ptr<PKCS12, TPkcs12Free> p12(d2i_PKCS12_bio(bio.get(), nullptr));
    EVP_PKEY *key = nullptr;
    X509 *certificate = nullptr;
    if (!p12 || PKCS12_parse(p12.get(), passphrase.constData(), &key, &certificate, nullptr) != 1 || !key ||
        !certificate) {
      EVP_PKEY_free(key);
      X509_free(certificate);
      throw TKsefSecretRefused(
          QStringLiteral("Nie można otworzyć pliku „%1”: hasło jest błędne albo plik nie jest plikiem "
                         "PKCS#12 (.p12, .pfx) z certyfikatem i kluczem.")
              .arg(files.Certificate));
    }
    FSigner->Key.reset(key);
    FSigner->Certificate.reset(certificate);
  } else {
    const auto certificateBio = MemoryBio(certificateBytes);
    FSigner->Certificate.reset(PEM_read_bio_X509(certificateBio.get(), nullptr, nullptr, nullptr));
    if (!FSigner->Certificate) {
      const auto *der = reinterpret_cast<const unsigned char *>(certificateBytes.constData());
      FSigner->Certificate.reset(d2i_X509(nullptr, &der, long(certificateBytes.size())));
    }
    if (!FSigner->Certificate)
      throw Exception(QStringLiteral("Plik „%1” nie jest certyfikatem (PEM ani DER).").arg(files.Certificate));
    QByteArray keyBytes = ReadCredential(files.Key);
    const TSecretWipe wipeKey(keyBytes);
    const auto keyBio = MemoryBio(keyBytes);
    FSigner->Key.reset(PEM_read_bio_PrivateKey(keyBio.get(), nullptr, GivePassphrase, &passphrase));
    if (!FSigner->Key) {
      throw TKsefSecretRefused(
          QStringLiteral("Nie można odczytać klucza prywatnego „%1”: hasło jest błędne albo plik nie jest "
                         "kluczem w formacie PEM.")
              .arg(files.Key));
    }
    if (X509_check_private_key(FSigner->Certificate.get(), FSigner->Key.get()) != 1) {
      throw Exception(
          QStringLiteral("Klucz prywatny „%1” nie pasuje do certyfikatu „%2”.").arg(files.Key, files.Certificate));
    }
  }
  const int type = EVP_PKEY_base_id(FSigner->Key.get());
  if (type != EVP_PKEY_RSA && type != EVP_PKEY_EC)
    throw Exception(QStringLiteral("Certyfikat „%1” ma klucz innego rodzaju niż RSA i ECDSA, których KSeF wymaga.")
                        .arg(files.Certificate));
  InitialiseXmlsec();
}

TKsefXadesLogin::~TKsefXadesLogin() = default;

QByteArray TKsefXadesLogin::SignedRequest(const QString &challenge, const QString &nip) const {
  const bool rsa = EVP_PKEY_base_id(FSigner->Key.get()) == EVP_PKEY_RSA;
  const QByteArray der = Der(FSigner->Certificate.get());
  const QByteArray certificateDigest = TSha256::Of(der).toBase64();
  const QString signingTime = FNow().toUTC().toString(Qt::ISODate);
  // The signature's place and its properties; xmlsec canonicalises, digests and signs them.
  const QString request =
      QStringLiteral(
          R"(<?xml version="1.0" encoding="utf-8"?>)"
          R"(<AuthTokenRequest xmlns="http://ksef.mf.gov.pl/auth/token/2.0">)"
          R"(<Challenge>%1</Challenge><ContextIdentifier><Nip>%2</Nip></ContextIdentifier>)"
          R"(<SubjectIdentifierType>certificateSubject</SubjectIdentifierType>)"
          R"(<ds:Signature xmlns:ds="http://www.w3.org/2000/09/xmldsig#" Id="Signature"><ds:SignedInfo>)"
          R"(<ds:CanonicalizationMethod Algorithm="http://www.w3.org/2001/10/xml-exc-c14n#"/>)"
          R"(<ds:SignatureMethod Algorithm="%3"/>)"
          R"(<ds:Reference URI=""><ds:Transforms>)"
          R"(<ds:Transform Algorithm="http://www.w3.org/2000/09/xmldsig#enveloped-signature"/>)"
          R"(<ds:Transform Algorithm="http://www.w3.org/2001/10/xml-exc-c14n#"/></ds:Transforms>)"
          R"(<ds:DigestMethod Algorithm="http://www.w3.org/2001/04/xmlenc#sha256"/><ds:DigestValue/></ds:Reference>)"
          R"(<ds:Reference Type="http://uri.etsi.org/01903#SignedProperties" URI="#SignedProperties"><ds:Transforms>)"
          R"(<ds:Transform Algorithm="http://www.w3.org/2001/10/xml-exc-c14n#"/></ds:Transforms>)"
          R"(<ds:DigestMethod Algorithm="http://www.w3.org/2001/04/xmlenc#sha256"/><ds:DigestValue/></ds:Reference>)"
          R"(</ds:SignedInfo><ds:SignatureValue/>)"
          R"(<ds:KeyInfo><ds:X509Data><ds:X509Certificate>%4</ds:X509Certificate></ds:X509Data></ds:KeyInfo>)"
          R"(<ds:Object><xades:QualifyingProperties xmlns:xades="http://uri.etsi.org/01903/v1.3.2#" )"
          R"(Target="#Signature"><xades:SignedProperties Id="SignedProperties"><xades:SignedSignatureProperties>)"
          R"(<xades:SigningTime>%5</xades:SigningTime><xades:SigningCertificate><xades:Cert><xades:CertDigest>)"
          R"(<ds:DigestMethod Algorithm="http://www.w3.org/2001/04/xmlenc#sha256"/>)"
          R"(<ds:DigestValue>%6</ds:DigestValue></xades:CertDigest><xades:IssuerSerial>)"
          R"(<ds:X509IssuerName>%7</ds:X509IssuerName><ds:X509SerialNumber>%8</ds:X509SerialNumber>)"
          R"(</xades:IssuerSerial></xades:Cert></xades:SigningCertificate></xades:SignedSignatureProperties>)"
          R"(</xades:SignedProperties></xades:QualifyingProperties></ds:Object></ds:Signature></AuthTokenRequest>)")
          .arg(challenge.toHtmlEscaped(), nip.toHtmlEscaped(),
               rsa ? QStringLiteral("http://www.w3.org/2001/04/xmldsig-more#rsa-sha256")
                   : QStringLiteral("http://www.w3.org/2001/04/xmldsig-more#ecdsa-sha256"),
               QString::fromLatin1(der.toBase64()), signingTime, QString::fromLatin1(certificateDigest),
               IssuerName(FSigner->Certificate.get()).toHtmlEscaped(), SerialNumber(FSigner->Certificate.get()));
  const QByteArray text = request.toUtf8();
  const std::unique_ptr<xmlDoc, TDocFree> document(
      xmlReadMemory(text.constData(), int(text.size()), nullptr, "utf-8", XML_PARSE_NONET));
  const auto signFailed = [] {
    return Exception(QStringLiteral("Nie udało się podpisać prośby o logowanie do KSeF."));
  };
  if (!document)
    throw signFailed();
  xmlNode *signature = xmlSecFindNode(xmlDocGetRootElement(document.get()), xmlSecNodeSignature, xmlSecDSigNs);
  xmlNode *properties =
      xmlSecFindNode(signature, BAD_CAST "SignedProperties", BAD_CAST "http://uri.etsi.org/01903/v1.3.2#");
  if (!signature || !properties)
    throw signFailed();
  xmlAttr *id = xmlHasProp(properties, BAD_CAST "Id");
  if (!id || !xmlAddID(nullptr, document.get(), BAD_CAST "SignedProperties", id))
    throw signFailed();

  const std::unique_ptr<xmlSecDSigCtx, TSignContextFree> context(xmlSecDSigCtxCreate(nullptr));
  if (!context)
    throw std::bad_alloc();
  EVP_PKEY_up_ref(FSigner->Key.get());
  xmlSecKeyDataPtr keyData = xmlSecOpenSSLEvpKeyAdopt(FSigner->Key.get());
  xmlSecKeyPtr key = xmlSecKeyCreate();
  if (!keyData || !key || xmlSecKeySetValue(key, keyData) != 0) {
    if (keyData)
      xmlSecKeyDataDestroy(keyData);
    else
      EVP_PKEY_free(FSigner->Key.get());
    if (key)
      xmlSecKeyDestroy(key);
    throw signFailed();
  }
  context->signKey = key;
  if (xmlSecDSigCtxSign(context.get(), signature) != 0)
    throw signFailed();
  xmlChar *out = nullptr;
  int size = 0;
  xmlDocDumpMemoryEnc(document.get(), &out, &size, "utf-8");
  const QByteArray signedRequest(reinterpret_cast<const char *>(out), size);
  xmlFree(out);
  return signedRequest;
}

TKsefAuthStart TKsefXadesLogin::Start(TKsefSession &session, const TKsefChallenge &challenge, const QString &nip) {
  // The answer holds the login's authentication token.
  QByteArray answer =
      session.CallAnonymous("POST", QStringLiteral("/auth/xades-signature"), "application/xml",
                            SignedRequest(challenge.Challenge, nip), QStringLiteral("logowanie certyfikatem"));
  const TSecretWipe wipeAnswer(answer);
  return ReadAuthStart(answer);
}
