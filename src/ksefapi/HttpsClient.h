#pragma once

#include "ksefapi/KsefProgress.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

// One HTTPS request. The server's certificate is always verified: against the system's
// authorities and, when CaFile is set, the authorities of that PEM file as well.
struct THttpsRequest {
  QByteArray Method = "GET";
  QString Url;
  // "Name: value".
  QList<QByteArray> Headers;
  QByteArray Body;
  // The longest answer taken; a longer one ends the request.
  qint64 MaxAnswer = 1 << 20;
};

struct THttpsAnswer {
  long Status = 0;
  QByteArray ContentType;
  // Retry-After in seconds, when the server sent it as a number.
  std::optional<int> RetryAfter;
  // Empty when the body went to a sink.
  QByteArray Body;
};

// Takes the answer's body piece by piece instead of keeping it; a throw ends the request and
// passes on.
using TBodySink = std::function<void(QByteArrayView bytes)>;

class THttpsClient {
public:
  // `caFile`: an extra PEM bundle of trusted authorities (a company proxy, a test server).
  explicit THttpsClient(QString caFile);

  // Any HTTP status comes back as an answer; a failed connection, an answer longer than
  // allowed or a cancellation fails with one Polish sentence (TCancelled for the last).
  // `sink`, when given, takes the body of a 2xx answer.
  THttpsAnswer Send(const THttpsRequest &request, IKsefProgress &progress, const TBodySink &sink = {}) const;

private:
  QString FCaFile;
};
