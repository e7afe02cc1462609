#pragma once

#include <QtGlobal>

// What slow work (loading or downloading the flat file) tells its host and asks of it. The
// window shows a progress bar with Cancel; the terminal prints to a terminal only.
class IProgress {
public:
  virtual ~IProgress() = default;
  // `done` of `total` bytes; `total` is 0 when it is not known.
  virtual void Report(qint64 done, qint64 total) = 0;
  // Asked between pieces of work; true ends the work with the cancel message.
  virtual bool Cancelled() const = 0;
};

// For work nobody watches.
class TNoProgress : public IProgress {
public:
  void Report(qint64, qint64) override {}
  bool Cancelled() const override { return false; }
};
