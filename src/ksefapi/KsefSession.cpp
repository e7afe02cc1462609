#include "ksefapi/KsefSession.h"

#include "ksefapi/KsefMessages.h"
#include "model/Exception.h"
#include "model/SecretBytes.h"

#include <algorithm>

namespace {

// JSON answers of the API are small; the largest, an export's status, lists a few parts.
constexpr qint64 MaxApiAnswer = 4 << 20;
// How many times in a row KSeF may ask to wait before the work gives up, and the longest wait.
constexpr int MaxRateLimitWaits = 10;
constexpr int MaxRetryAfterSeconds = 3600;
constexpr int DefaultRetryAfterSeconds = 30;
constexpr int MaxLoginPolls = 60;

QByteArray Bearer(const QByteArray &token) { return "Authorization: Bearer " + token; }

THttpsRequest Request(const QByteArray &method, const QString &path, const QByteArray &authorization,
                      const QByteArray &body = {}) {
  THttpsRequest request;
  request.Method = method;
  request.Url = path;
  if (!authorization.isEmpty())
    request.Headers << authorization;
  request.Body = body;
  return request;
}

// The API's small answers move no progress bar; only the user's cancellation reaches them.
class TCancellationOnly : public IProgress {
public:
  explicit TCancellationOnly(const IProgress &progress) : FProgress(progress) {}
  void Report(qint64, qint64) override {}
  bool Cancelled() const override { return FProgress.Cancelled(); }

private:
  const IProgress &FProgress;
};

[[noreturn]] void ThrowErrorAnswer(const QString &call, long status, const QByteArray &body) {
  const QString message = ErrorAnswerMessage(call, status, body);
  if (ReadErrorAnswer(body).Codes.contains(21470))
    throw TKsefKeyRefused(message);
  throw Exception(message);
}

// Overwrites a request's Authorization line, which carries a token, when the request is done.
class TAuthorizationWipe {
public:
  explicit TAuthorizationWipe(QList<QByteArray> &headers) : FHeaders(headers) {}
  ~TAuthorizationWipe() {
    for (QByteArray &header : FHeaders)
      if (header.startsWith("Authorization:"))
        WipeSecret(header);
  }
  TAuthorizationWipe(const TAuthorizationWipe &) = delete;
  TAuthorizationWipe &operator=(const TAuthorizationWipe &) = delete;

private:
  QList<QByteArray> &FHeaders;
};

} // namespace

int PollWaitSeconds(int attempt) { return attempt < 2 ? 1 : attempt < 4 ? 2 : 5; }

TKsefSession::TKsefSession(TKsefConnection connection, IKsefLogin &login, QString nip, IKsefWaiter &waiter,
                           IKsefProgress &progress, TKsefTimeLimits limits)
    : FConnection(std::move(connection)), FLogin(login), FNip(std::move(nip)), FWaiter(waiter), FProgress(progress),
      FClient(FConnection.CaFile, TCaFileUse::BesidesSystem), FLimits(limits) {}

TKsefSession::~TKsefSession() {
  WipeSecret(FAccessToken);
  WipeSecret(FRefreshToken);
}

THttpsAnswer TKsefSession::Send(THttpsRequest request) {
  const TAuthorizationWipe wipeAuthorization(request.Headers);
  request.Url = FConnection.BaseUrl + request.Url;
  request.MaxAnswer = MaxApiAnswer;
  request.TimeLimitMs = FLimits.ApiAnswerMs;
  request.Headers << "Accept: application/json"
                  << "X-Error-Format: problem-details";
  TCancellationOnly cancellation(FProgress);
  for (int wait = 0;; ++wait) {
    THttpsAnswer answer;
    try {
      answer = FClient.Send(request, cancellation);
    } catch (const THttpsFailure &failure) {
      Fail(failure, request.Url);
    }
    if (answer.Status != 429)
      return answer;
    if (wait == MaxRateLimitWaits)
      throw Exception(QStringLiteral("KSeF wciąż ogranicza liczbę zapytań; spróbuj ponownie później."));
    const int seconds = std::clamp(answer.RetryAfter.value_or(DefaultRetryAfterSeconds), 1, MaxRetryAfterSeconds);
    FProgress.Notice(QStringLiteral("KSeF ogranicza liczbę zapytań: ponowienie za %1 s").arg(seconds));
    FWaiter.Wait(seconds, FProgress);
  }
}

TKsefPublicKey TKsefSession::PublicKey(const QString &usage) {
  if (const auto known = FKeys.constFind(usage); known != FKeys.constEnd())
    return *known;
  const QList<TKsefPublicKey> keys =
      ReadPublicKeys(CallAnonymous("GET", QStringLiteral("/security/public-key-certificates"), {}, {},
                                   QStringLiteral("pytanie o klucze publiczne")));
  const QDateTime now = FWaiter.Now();
  bool listed = false;
  for (const TKsefPublicKey &key : keys) {
    if (!key.Usage.contains(usage))
      continue;
    listed = true;
    if (key.ValidFrom <= now && now <= key.ValidTo) {
      FKeys.insert(usage, key);
      return key;
    }
  }
  if (!listed)
    throw Exception(
        QStringLiteral("KSeF nie podał klucza publicznego do szyfrowania (%1); spróbuj ponownie później.").arg(usage));
  throw Exception(QStringLiteral("Żaden klucz publiczny KSeF do szyfrowania (%1) nie jest teraz ważny; sprawdź datę i "
                                 "godzinę komputera albo spróbuj ponownie później.")
                      .arg(usage));
}

QByteArray TKsefSession::WithPublicKey(const QString &usage,
                                       const std::function<QByteArray(const TKsefPublicKey &)> &use) {
  try {
    return use(PublicKey(usage));
  } catch (const TKsefKeyRefused &) {
    // Withdrawn since KSeF listed it: the list is asked for again.
    FKeys.remove(usage);
  }
  try {
    return use(PublicKey(usage));
  } catch (const TKsefKeyRefused &refused) {
    // Refused again: the user's to retry, and no call around this one's to repeat.
    throw Exception(refused.Message());
  }
}

QByteArray TKsefSession::CallAnonymous(const QByteArray &method, const QString &path, const QByteArray &contentType,
                                       const QByteArray &body, const QString &call) {
  THttpsRequest request = Request(method, path, {}, body);
  if (!contentType.isEmpty())
    request.Headers << "Content-Type: " + contentType;
  const THttpsAnswer answer = Send(request);
  if (answer.Status / 100 != 2)
    ThrowErrorAnswer(call, answer.Status, answer.Body);
  return answer.Body;
}

void TKsefSession::LogIn() {
  WipeSecret(FAccessToken);
  WipeSecret(FRefreshToken);
  const TKsefChallenge challenge = ReadChallenge(
      CallAnonymous("POST", QStringLiteral("/auth/challenge"), {}, {}, QStringLiteral("prośba o wyzwanie logowania")));
  TKsefAuthStart start = FLogin.Start(*this, challenge, FNip);
  const TSecretWipe wipeAuthentication(start.AuthenticationToken);
  const QString statusPath = QStringLiteral("/auth/") + start.ReferenceNumber;
  for (int attempt = 0;; ++attempt) {
    const THttpsAnswer answer = Send(Request("GET", statusPath, Bearer(start.AuthenticationToken)));
    if (answer.Status / 100 != 2)
      throw Exception(ErrorAnswerMessage(QStringLiteral("pytanie o stan logowania"), answer.Status, answer.Body));
    const TKsefStatus status = ReadAuthStatus(answer.Body);
    if (status.Code == 200)
      break;
    if (status.Code == 450)
      throw TKsefSecretRefused(LoginFailureMessage(status));
    if (status.Code != 100)
      throw Exception(LoginFailureMessage(status));
    if (attempt == MaxLoginPolls)
      throw Exception(QStringLiteral("KSeF nie zakończył logowania w rozsądnym czasie; spróbuj ponownie później."));
    FWaiter.Wait(PollWaitSeconds(attempt), FProgress);
  }
  THttpsAnswer redeemed =
      Send(Request("POST", QStringLiteral("/auth/token/redeem"), Bearer(start.AuthenticationToken)));
  const TSecretWipe wipeAnswer(redeemed.Body);
  if (redeemed.Status / 100 != 2)
    throw Exception(ErrorAnswerMessage(QStringLiteral("odbiór tokenów dostępu"), redeemed.Status, redeemed.Body));
  TKsefTokens tokens = ReadTokens(redeemed.Body);
  FAccessToken = std::move(tokens.Access);
  FRefreshToken = std::move(tokens.Refresh);
  FLoggedIn = true;
}

bool TKsefSession::Refresh() {
  if (FRefreshToken.isEmpty())
    return false;
  THttpsAnswer answer = Send(Request("POST", QStringLiteral("/auth/token/refresh"), Bearer(FRefreshToken)));
  const TSecretWipe wipeAnswer(answer.Body);
  if (answer.Status / 100 != 2)
    return false;
  WipeSecret(FAccessToken);
  FAccessToken = ReadRefreshedAccessToken(answer.Body);
  return true;
}

QByteArray TKsefSession::Call(const QByteArray &method, const QString &path, const QByteArray &body,
                              const QString &call) {
  if (FAccessToken.isEmpty())
    LogIn();
  THttpsRequest request = Request(method, path, Bearer(FAccessToken), body);
  if (!body.isEmpty())
    request.Headers << "Content-Type: application/json";
  THttpsAnswer answer = Send(request);
  if (answer.Status == 401) {
    // An expired access token: refreshed, or a new login when the refresh token is gone too.
    if (!Refresh())
      LogIn();
    request.Headers[0] = Bearer(FAccessToken);
    answer = Send(request);
  }
  if (answer.Status / 100 != 2)
    ThrowErrorAnswer(call, answer.Status, answer.Body);
  return answer.Body;
}

void TKsefSession::LogOut() {
  if (FAccessToken.isEmpty())
    return;
  try {
    const THttpsAnswer answer = Send(Request("DELETE", QStringLiteral("/auth/sessions/current"), Bearer(FAccessToken)));
    if (answer.Status / 100 != 2)
      FProgress.Notice(QStringLiteral("KSeF nie zamknął sesji (HTTP %1); wygaśnie ona sama.").arg(answer.Status));
  } catch (const TCancelled &) {
    throw;
  } catch (const Exception &error) {
    FProgress.Notice(QStringLiteral("Nie zamknięto sesji KSeF: %1").arg(error.Message()));
  }
  WipeSecret(FAccessToken);
  WipeSecret(FRefreshToken);
}

THttpsAnswer TKsefSession::Fetch(const THttpsRequest &request, const TBodySink &sink) const {
  // The caller counts the whole package: this part's own counts would move the bar back.
  TCancellationOnly cancellation(FProgress);
  THttpsRequest limited = request;
  limited.TimeLimitMs = FLimits.PartMs(request.MaxAnswer);
  return FClient.Send(limited, cancellation, sink);
}

void TKsefSession::Fail(const THttpsFailure &failure, const QString &url) {
  // The query of a package part's address carries its access signature: it is left out.
  const QString address = url.section(u'?', 0, 0);
  switch (failure.Kind()) {
  case THttpsFailure::TKind::Cancelled: throw TCancelled(QStringLiteral("Pobieranie z KSeF przerwano."));
  case THttpsFailure::TKind::TimedOut:
    throw Exception(
        QStringLiteral("KSeF (%1) nie przysłał odpowiedzi w dopuszczalnym czasie; spróbuj ponownie później.")
            .arg(address));
  case THttpsFailure::TKind::TooLong:
    throw Exception(
        QStringLiteral("Odpowiedź serwera KSeF (%1) jest dłuższa, niż zapowiedziano lub niż dopuszcza program.")
            .arg(address));
  default: throw Exception(QStringLiteral("Nie udało się połączyć z KSeF (%1): %2.").arg(address, failure.Reason()));
  }
}
