#pragma once

#include "whitelist/FlatFileReader.h"

#include <QDate>
#include <QFile>
#include <QString>
#include <cstdint>

// An index file holds one day's flat file, searched in place:
//   a header of 64 bytes: "PAVWLIX1", the data's date as "RRRRMMDD", the number of
//   transformations and the size of a digest prefix (32 bits each), the counts of active
//   payers' digests, exempt payers' digests and masks (64 bits each), zeros; numbers are
//   little-endian;
//   the active payers' digest prefixes, sorted, 16 bytes each; then the exempt payers' alike;
//   the masks, sorted, 34 bytes each: the sort code (8 digits), then the whole mask.
// A lookup is a binary search of a mapped file: nothing is read into memory up front.
namespace WhiteListIndexLayout {
constexpr std::size_t HeaderSize = 64;
constexpr std::size_t SortCodeSize = 8;
constexpr std::size_t MaskRecordSize = SortCodeSize + MaskLength;
constexpr char Magic[] = "PAVWLIX1";

struct THeaderFields {
  QDate Date;
  std::uint32_t Transformations = 0;
  std::uint64_t Active = 0;
  std::uint64_t Exempt = 0;
  std::uint64_t Masks = 0;
};

QByteArray EncodeHeader(const THeaderFields &fields);
} // namespace WhiteListIndexLayout

// How a pair of NIP and account stands on the list.
enum class TWhiteListStatus { Active, Exempt, Mask, NotFound };

class TWhiteListIndex {
public:
  // Fails with a Polish message when the file cannot be read or is not a whole index.
  explicit TWhiteListIndex(const QString &fileName);
  TWhiteListIndex(const TWhiteListIndex &) = delete;
  TWhiteListIndex &operator=(const TWhiteListIndex &) = delete;

  QDate Date() const { return FFields.Date; }
  // `nip` of 10 digits, `account` of 26 digits (the NRB, without "PL").
  TWhiteListStatus Find(const QString &nip, const QString &account) const;

private:
  bool Contains(const std::uint8_t *first, std::uint64_t count, const TDigestPrefix &prefix) const;

  QFile FFile;
  WhiteListIndexLayout::THeaderFields FFields;
  const std::uint8_t *FActive = nullptr;
  const std::uint8_t *FExempt = nullptr;
  const std::uint8_t *FMasks = nullptr;
};
