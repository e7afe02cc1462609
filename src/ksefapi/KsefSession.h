#pragma once

#include "ksefapi/KsefAnswers.h"
#include "ksefapi/KsefConnection.h"
#include "ksefapi/KsefProgress.h"
#include "model/Exception.h"
#include "net/HttpsClient.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <functional>
#include <optional>

class TKsefSession;

// A secret that proved wrong: a key's passphrase that did not open it, or a token KSeF refused
// (login status 450). Whoever remembered it forgets it, so that it is asked for again.
class TKsefSecretRefused : public Exception {
public:
  using Exception::Exception;
};

// KSeF's answer that it does not know the public key the data was encrypted under (code 21470):
// withdrawn, or never its own.
class TKsefKeyRefused : public Exception {
public:
  using Exception::Exception;
};

// How long KSeF may take, connecting included: an answer of the API, and a package part by its
// announced size over the slowest line waited for. Tests make them tiny.
struct TKsefTimeLimits {
  qint64 ApiAnswerMs = 120'000;
  qint64 PartBaseMs = 60'000;
  qint64 PartBytesPerSecond = 32 << 10;

  qint64 PartMs(qint64 size) const { return PartBaseMs + size * 1000 / PartBytesPerSecond; }
};

// A way of logging in (a KSeF token, a XAdES signature): it answers the challenge and hands
// back what KSeF's start of the login returned.
class IKsefLogin {
public:
  virtual ~IKsefLogin() = default;
  virtual TKsefAuthStart Start(TKsefSession &session, const TKsefChallenge &challenge, const QString &nip) = 0;
};

// A conversation with KSeF in the context of one NIP: it logs in when first needed, keeps the
// access tokens (never logged, never written, overwritten in memory once done with), refreshes
// the access token on a 401 and asks once more, logs in again when the refresh fails, waits
// where KSeF asks it to (429 Retry-After) and ends the session at LogOut().
class TKsefSession {
public:
  TKsefSession(TKsefConnection connection, IKsefLogin &login, QString nip, IKsefWaiter &waiter, IKsefProgress &progress,
               TKsefTimeLimits limits = {});
  ~TKsefSession();
  TKsefSession(const TKsefSession &) = delete;
  TKsefSession &operator=(const TKsefSession &) = delete;

  const TKsefConnection &Connection() const { return FConnection; }
  IKsefProgress &Progress() const { return FProgress; }
  IKsefWaiter &Waiter() const { return FWaiter; }

  // Calls `use` with a public key of KSeF's for `usage` ("KsefTokenEncryption",
  // "SymmetricKeyEncryption") valid now, the keys asked for once per session; when KSeF refuses
  // the key (TKsefKeyRefused), asks for its keys again and calls `use` once more with the one
  // chosen anew.
  QByteArray WithPublicKey(const QString &usage, const std::function<QByteArray(const TKsefPublicKey &)> &use);

  // A call without the access token (the steps of a login); the body of a 2xx answer, else
  // the Polish sentence of the error. `call` names it in such a sentence.
  QByteArray CallAnonymous(const QByteArray &method, const QString &path, const QByteArray &contentType,
                           const QByteArray &body, const QString &call);

  void LogIn();
  // Whether a login of this session has succeeded.
  bool LoggedIn() const { return FLoggedIn; }
  // A call with the access token, logging in first where needed.
  QByteArray Call(const QByteArray &method, const QString &path, const QByteArray &body, const QString &call);
  // Ends the session in KSeF; a failure is only a notice, since the downloads are done.
  void LogOut();

  // A request to an address KSeF gave (a package part): no token, no 429 handling, its time
  // limited by its announced size (MaxAnswer); a request that came to no answer fails with
  // THttpsFailure, for the caller to tell what it was.
  THttpsAnswer Fetch(const THttpsRequest &request, const TBodySink &sink) const;

  // The one sentence of a request that came to no answer.
  [[noreturn]] static void Fail(const THttpsFailure &failure, const QString &url);

private:
  THttpsAnswer Send(THttpsRequest request);
  bool Refresh();
  TKsefPublicKey PublicKey(const QString &usage);

  TKsefConnection FConnection;
  IKsefLogin &FLogin;
  QString FNip;
  IKsefWaiter &FWaiter;
  IKsefProgress &FProgress;
  THttpsClient FClient;
  TKsefTimeLimits FLimits;
  QHash<QString, TKsefPublicKey> FKeys;
  QByteArray FAccessToken;
  QByteArray FRefreshToken;
  bool FLoggedIn = false;
};

// Back-off of the waits while KSeF works (a login, an export): 1 s twice, 2 s twice, then up
// to 5 s; `attempt` counts from 0.
int PollWaitSeconds(int attempt);
