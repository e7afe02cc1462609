#pragma once

#include "TestSupport.h"

#include <QString>

// A tmpfs of the given size mounted on a fresh directory, for writes that meet a full disk
// or a read-only file system. The mount lives in a mount namespace of this test process's
// own, so nothing stays mounted on the machine if the test dies. Mounting needs root (or the
// capability to mount); where the machine does not allow it, Mounted() is false and Problem()
// says why, for GTEST_SKIP.
class TSmallDisk {
public:
  explicit TSmallDisk(qint64 bytes);
  ~TSmallDisk();
  TSmallDisk(const TSmallDisk &) = delete;
  TSmallDisk &operator=(const TSmallDisk &) = delete;

  bool Mounted() const { return FMounted; }
  QString Problem() const { return FProblem; }

  QString Path() const { return FDir.Path(); }
  QString File(const QString &name) const { return FDir.File(name); }

  // Takes up all the space that is left with a file named "filler".
  void Fill() const;
  // Remounts the file system read-only: unlike a directory's mode bits, this binds root too.
  void MakeReadOnly();

private:
  TTempDir FDir;
  bool FMounted = false;
  QString FProblem;
};
