#pragma once

#include "model/Exception.h"
#include "whitelist/LoadProgress.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

// One HTTPS request. The server's certificate is always verified: against the system's
// authorities, and those of the client's CA file as it uses them.
struct THttpsRequest {
  QByteArray Method = "GET";
  QString Url;
  // "Name: value".
  QList<QByteArray> Headers;
  QByteArray Body;
  // The longest answer taken; a longer one ends the request.
  qint64 MaxAnswer = 1 << 20;
  bool FollowRedirects = false;
  // The longest the whole request may take, connecting included; 0 for no limit (a stalled
  // server is still ended by the low-speed limit).
  qint64 TimeLimitMs = 0;
};

struct THttpsAnswer {
  long Status = 0;
  QByteArray ContentType;
  // Retry-After in seconds, when the server sent it as a number.
  std::optional<int> RetryAfter;
  // Empty when a 2xx body went to a sink; of an error answer only the first 64 KiB.
  QByteArray Body;
};

// Why a request came to no answer. Reason() fits after a colon in the caller's own sentence
// ("brak połączenia z serwerem (sprawdź dostęp do internetu)"); the caller says what failed.
class THttpsFailure : public Exception {
public:
  enum class TKind { NoConnection, Certificate, NotHttps, CutShort, TooLong, TimedOut, Cancelled, Other };
  THttpsFailure(TKind kind, const QString &reason) : Exception(reason), FKind(kind) {}
  TKind Kind() const { return FKind; }
  QString Reason() const { return Message(); }

private:
  TKind FKind;
};

// Takes the body of a 2xx answer piece by piece instead of keeping it; what it throws ends the
// request and passes on.
using TBodySink = std::function<void(QByteArrayView bytes)>;

// How a CA file is trusted: instead of the system's authorities (the white list's download,
// which trusts one authority alone), or besides them (a company proxy's authority for KSeF).
enum class TCaFileUse { InsteadOfSystem, BesidesSystem };

// HTTPS over libcurl, shared by every download of the program.
class THttpsClient {
public:
  // `caFile`: a PEM file of the authorities trusted as `use` says (a company proxy, a test
  // server); empty for the system's alone.
  explicit THttpsClient(QString caFile, TCaFileUse use = TCaFileUse::InsteadOfSystem);

  // Any HTTP status comes back as an answer; no answer at all, an answer longer than allowed or
  // a cancellation through `progress` fails with THttpsFailure.
  THttpsAnswer Send(const THttpsRequest &request, IProgress &progress, const TBodySink &sink = {}) const;

private:
  QString FCaFile;
  TCaFileUse FCaFileUse;
};
