#include "whitelist/WhiteListIndexWriter.h"

#include "model/AtomicFile.h"
#include "model/Exception.h"

using namespace WhiteListIndexLayout;

namespace {

// 64 MB of digests or masks in memory at a time.
constexpr std::size_t DigestRunRecords = std::size_t(1) << 22;
constexpr std::size_t MaskRunRecords = (std::size_t(64) << 20) / MaskRecordSize;

} // namespace

TWhiteListIndexWriter::TWhiteListIndexWriter(const QString &runDirectory)
    : FActive(runDirectory, DigestRunRecords), FExempt(runDirectory, DigestRunRecords),
      FMasks(runDirectory, MaskRunRecords) {}

void TWhiteListIndexWriter::Switch(int list) {
  if (list == FList)
    return;
  if (FList == 0)
    FActive.Spill();
  else if (FList == 1)
    FExempt.Spill();
  else if (FList == 2)
    FMasks.Spill();
  FList = list;
}

void TWhiteListIndexWriter::Digest(TPayerKind kind, const TDigestPrefix &prefix) {
  const bool active = kind == TPayerKind::Active;
  Switch(active ? 0 : 1);
  (active ? FActive : FExempt).Add(prefix);
  ++(active ? FCounts.Active : FCounts.Exempt);
}

void TWhiteListIndexWriter::Mask(const char *mask) {
  Switch(2);
  std::array<std::uint8_t, MaskRecordSize> record;
  std::memcpy(record.data(), mask + 2, SortCodeSize);
  std::memcpy(record.data() + SortCodeSize, mask, std::size_t(MaskLength));
  FMasks.Add(record);
  ++FCounts.Masks;
}

void TWhiteListIndexWriter::Write(const QString &fileName, const TFlatFileHeader &header) {
  Switch(-1);
  const THeaderFields fields{header.Date, std::uint32_t(header.Transformations), FCounts.Active, FCounts.Exempt,
                             FCounts.Masks};
  // The merge's own errors pass on as they are; only the index file's are said here.
  std::exception_ptr mergeError;
  try {
    WriteFileAtomically(fileName, [&](const TByteSink &sink) {
      try {
        sink(EncodeHeader(fields));
        FActive.WriteSorted(sink);
        FExempt.WriteSorted(sink);
        FMasks.WriteSorted(sink);
      } catch (...) {
        mergeError = std::current_exception();
        throw;
      }
    });
  } catch (const Exception &) {
    if (mergeError)
      std::rethrow_exception(mergeError);
    throw Exception(
        QStringLiteral("Nie udało się zapisać indeksu białej listy „%1” (czy na dysku jest miejsce?).").arg(fileName));
  }
}
