#include "StopAtWriteVfs.h"

#include <sqlite3.h>
#include <unistd.h>

namespace {

sqlite3_vfs *BaseVfs = nullptr;
sqlite3_vfs StopVfs;
int StopAt = 0;
int SignalFd = -1;
int Calls = 0;

// The wrapper's file: its methods, then the default file system's own file.
struct TShimFile {
  sqlite3_file Base;
  sqlite3_file *Real;
};

sqlite3_file *Real(sqlite3_file *file) { return reinterpret_cast<TShimFile *>(file)->Real; }

void CountAndMaybeStop() {
  if (++Calls != StopAt)
    return;
  const char byte = 'x';
  if (write(SignalFd, &byte, 1) != 1)
    _exit(3);
  for (;;)
    pause();
}

int Close(sqlite3_file *file) { return Real(file)->pMethods->xClose(Real(file)); }
int Read(sqlite3_file *file, void *buffer, int amount, sqlite3_int64 offset) {
  return Real(file)->pMethods->xRead(Real(file), buffer, amount, offset);
}
int Write(sqlite3_file *file, const void *buffer, int amount, sqlite3_int64 offset) {
  CountAndMaybeStop();
  return Real(file)->pMethods->xWrite(Real(file), buffer, amount, offset);
}
int Truncate(sqlite3_file *file, sqlite3_int64 size) { return Real(file)->pMethods->xTruncate(Real(file), size); }
int Sync(sqlite3_file *file, int flags) {
  CountAndMaybeStop();
  return Real(file)->pMethods->xSync(Real(file), flags);
}
int FileSize(sqlite3_file *file, sqlite3_int64 *size) { return Real(file)->pMethods->xFileSize(Real(file), size); }
int Lock(sqlite3_file *file, int level) { return Real(file)->pMethods->xLock(Real(file), level); }
int Unlock(sqlite3_file *file, int level) { return Real(file)->pMethods->xUnlock(Real(file), level); }
int CheckReservedLock(sqlite3_file *file, int *out) {
  return Real(file)->pMethods->xCheckReservedLock(Real(file), out);
}
int FileControl(sqlite3_file *file, int op, void *arg) {
  return Real(file)->pMethods->xFileControl(Real(file), op, arg);
}
int SectorSize(sqlite3_file *file) { return Real(file)->pMethods->xSectorSize(Real(file)); }
int DeviceCharacteristics(sqlite3_file *file) { return Real(file)->pMethods->xDeviceCharacteristics(Real(file)); }
int ShmMap(sqlite3_file *file, int region, int size, int extend, void volatile **out) {
  return Real(file)->pMethods->xShmMap(Real(file), region, size, extend, out);
}
int ShmLock(sqlite3_file *file, int offset, int n, int flags) {
  return Real(file)->pMethods->xShmLock(Real(file), offset, n, flags);
}
void ShmBarrier(sqlite3_file *file) { Real(file)->pMethods->xShmBarrier(Real(file)); }
int ShmUnmap(sqlite3_file *file, int deleteFlag) { return Real(file)->pMethods->xShmUnmap(Real(file), deleteFlag); }

// Version 2: the shared-memory calls WAL needs, without memory-mapped reads.
const sqlite3_io_methods ShimMethods = {2,
                                        &Close,
                                        &Read,
                                        &Write,
                                        &Truncate,
                                        &Sync,
                                        &FileSize,
                                        &Lock,
                                        &Unlock,
                                        &CheckReservedLock,
                                        &FileControl,
                                        &SectorSize,
                                        &DeviceCharacteristics,
                                        &ShmMap,
                                        &ShmLock,
                                        &ShmBarrier,
                                        &ShmUnmap,
                                        nullptr,
                                        nullptr};

int Open(sqlite3_vfs *, sqlite3_filename name, sqlite3_file *file, int flags, int *outFlags) {
  auto *shim = reinterpret_cast<TShimFile *>(file);
  shim->Real = reinterpret_cast<sqlite3_file *>(shim + 1);
  const int result = BaseVfs->xOpen(BaseVfs, name, shim->Real, flags, outFlags);
  shim->Base.pMethods = shim->Real->pMethods ? &ShimMethods : nullptr;
  return result;
}

} // namespace

void InstallStopAtWriteVfs(int stopAt, int signalFd) {
  BaseVfs = sqlite3_vfs_find(nullptr);
  StopVfs = *BaseVfs;
  StopVfs.zName = "pavena-stop-at-write";
  StopVfs.szOsFile = int(sizeof(TShimFile)) + BaseVfs->szOsFile;
  StopVfs.xOpen = &Open;
  StopAt = stopAt;
  SignalFd = signalFd;
  Calls = 0;
  sqlite3_vfs_register(&StopVfs, 1);
}
