#pragma once

#include "ksefapi/KsefSession.h"

// Logging in with a KSeF token: "token|timestampMs" encrypted with RSA-OAEP under KSeF's
// KsefTokenEncryption key, POST /auth/ksef-token. The token stays in this object's memory only
// and is wiped when it goes.
class TKsefTokenLogin : public IKsefLogin {
public:
  explicit TKsefTokenLogin(QByteArray token);
  ~TKsefTokenLogin() override;
  TKsefTokenLogin(const TKsefTokenLogin &) = delete;
  TKsefTokenLogin &operator=(const TKsefTokenLogin &) = delete;

  TKsefAuthStart Start(TKsefSession &session, const TKsefChallenge &challenge, const QString &nip) override;

private:
  QByteArray FToken;
};
