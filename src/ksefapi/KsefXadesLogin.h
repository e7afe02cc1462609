#pragma once

#include "ksefapi/KsefSession.h"

#include <QDateTime>
#include <functional>

// The files of a KSeF certificate, a qualified seal or a qualified signature: a certificate
// (PEM or DER) with its PEM private key, or one PKCS#12 file (.p12, .pfx) holding both.
struct TKsefCertificateFiles {
  QString Certificate;
  // Empty when Certificate is a PKCS#12 file.
  QString Key;
};

// Logging in with a certificate: the AuthTokenRequest of the challenge signed as an enveloped
// XAdES-BES signature (exc-c14n, SHA-256, RSA or ECDSA by the key's type, the signing time and
// the certificate's digest and issuer/serial among the signed properties) by xmlsec, POST
// /auth/xades-signature. The passphrase is overwritten once the key is open.
class TKsefXadesLogin : public IKsefLogin {
public:
  // Reads the files at once, so that a wrong passphrase (TKsefSecretRefused) or a key of
  // another certificate is told before anything goes to KSeF.
  TKsefXadesLogin(const TKsefCertificateFiles &files, QByteArray passphrase, std::function<QDateTime()> now);
  ~TKsefXadesLogin() override;
  TKsefXadesLogin(const TKsefXadesLogin &) = delete;
  TKsefXadesLogin &operator=(const TKsefXadesLogin &) = delete;

  TKsefAuthStart Start(TKsefSession &session, const TKsefChallenge &challenge, const QString &nip) override;

  // The signed document, for the stand-in's tests and for a look by hand.
  QByteArray SignedRequest(const QString &challenge, const QString &nip) const;

private:
  struct TSigner;
  std::unique_ptr<TSigner> FSigner;
  std::function<QDateTime()> FNow;
};
