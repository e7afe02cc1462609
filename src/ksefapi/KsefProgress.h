#pragma once

#include "whitelist/LoadProgress.h"

#include <QDateTime>
#include <QString>

// What the KSeF work tells whoever watches it, beyond how far it has come: a sentence worth a
// line of its own (a wait the server asked for, a package read without its metadata).
class IKsefProgress : public IProgress {
public:
  virtual void Notice(const QString &text) = 0;
};

// The clock of the KSeF work: waits the given number of seconds unless the work is cancelled
// first, and tells the time; tests put one in that only records the waits and moves its own
// clock by them.
class IKsefWaiter {
public:
  virtual ~IKsefWaiter() = default;
  // Returns when the time has passed; fails with TCancelled when the user ended the work.
  virtual void Wait(int seconds, const IKsefProgress &progress) = 0;
  virtual QDateTime Now() const { return QDateTime::currentDateTimeUtc(); }
};

// The real clock: it looks at the cancellation a few times a second.
class TKsefSleeper : public IKsefWaiter {
public:
  void Wait(int seconds, const IKsefProgress &progress) override;
};
