#include "whitelist/WhiteListIndex.h"

#include "model/Exception.h"
#include "whitelist/WhiteListDigest.h"

#include <QtEndian>
#include <algorithm>
#include <cstring>

using namespace WhiteListIndexLayout;

namespace {

constexpr std::size_t MagicSize = 8;
// A bank has some dozens of masks; a file with endless masks of one sort code must not make
// each lookup run for hours.
constexpr std::uint64_t MaxMasksPerSortCode = 1000;

} // namespace

QByteArray WhiteListIndexLayout::EncodeHeader(const THeaderFields &fields) {
  QByteArray header(HeaderSize, '\0');
  char *data = header.data();
  std::memcpy(data, Magic, MagicSize);
  std::memcpy(data + 8, fields.Date.toString(QStringLiteral("yyyyMMdd")).toLatin1().constData(), 8);
  qToLittleEndian<std::uint32_t>(fields.Transformations, data + 16);
  qToLittleEndian<std::uint32_t>(std::uint32_t(DigestPrefixSize), data + 20);
  qToLittleEndian<std::uint64_t>(fields.Active, data + 24);
  qToLittleEndian<std::uint64_t>(fields.Exempt, data + 32);
  qToLittleEndian<std::uint64_t>(fields.Masks, data + 40);
  return header;
}

TWhiteListIndex::TWhiteListIndex(const QString &fileName) : FFile(fileName) {
  const QString damaged =
      QStringLiteral("Indeks białej listy „%1” jest uszkodzony: wczytaj plik płaski tego dnia ponownie.").arg(fileName);
  if (!FFile.open(QIODevice::ReadOnly))
    throw Exception(QStringLiteral("Nie można otworzyć indeksu białej listy „%1”.").arg(fileName));
  const qint64 size = FFile.size();
  if (size < qint64(HeaderSize))
    throw Exception(damaged);
  const std::uint8_t *data = FFile.map(0, size);
  if (!data)
    throw Exception(QStringLiteral("Nie można odczytać indeksu białej listy „%1”.").arg(fileName));
  const char *header = reinterpret_cast<const char *>(data);
  FFields.Date = QDate::fromString(QString::fromLatin1(header + 8, 8), QStringLiteral("yyyyMMdd"));
  FFields.Transformations = qFromLittleEndian<std::uint32_t>(header + 16);
  FFields.Active = qFromLittleEndian<std::uint64_t>(header + 24);
  FFields.Exempt = qFromLittleEndian<std::uint64_t>(header + 32);
  FFields.Masks = qFromLittleEndian<std::uint64_t>(header + 40);
  const std::uint64_t limit = std::uint64_t(size);
  const bool countsFit = FFields.Active < limit && FFields.Exempt < limit && FFields.Masks < limit;
  if (std::memcmp(header, Magic, MagicSize) != 0 || !FFields.Date.isValid() || FFields.Transformations == 0 ||
      qFromLittleEndian<std::uint32_t>(header + 20) != DigestPrefixSize || !countsFit ||
      HeaderSize + (FFields.Active + FFields.Exempt) * DigestPrefixSize + FFields.Masks * MaskRecordSize != limit)
    throw Exception(damaged);
  FActive = data + HeaderSize;
  FExempt = FActive + FFields.Active * DigestPrefixSize;
  FMasks = FExempt + FFields.Exempt * DigestPrefixSize;
}

bool TWhiteListIndex::Contains(const std::uint8_t *first, std::uint64_t count, const TDigestPrefix &prefix) const {
  std::uint64_t low = 0;
  std::uint64_t high = count;
  while (low < high) {
    const std::uint64_t middle = low + (high - low) / 2;
    const int order = std::memcmp(first + middle * DigestPrefixSize, prefix.data(), DigestPrefixSize);
    if (order == 0)
      return true;
    if (order < 0)
      low = middle + 1;
    else
      high = middle;
  }
  return false;
}

TWhiteListStatus TWhiteListIndex::Find(const QString &nip, const QString &account) const {
  const int transformations = int(FFields.Transformations);
  const TDigestPrefix digest = WhiteListDigest(FFields.Date, nip, account, transformations);
  if (Contains(FActive, FFields.Active, digest))
    return TWhiteListStatus::Active;
  if (Contains(FExempt, FFields.Exempt, digest))
    return TWhiteListStatus::Exempt;

  // The masks of the account's bank are one run in sort-code order.
  const QByteArray sortCode = account.mid(2, int(SortCodeSize)).toLatin1();
  std::uint64_t low = 0;
  std::uint64_t high = FFields.Masks;
  while (low < high) {
    const std::uint64_t middle = low + (high - low) / 2;
    if (std::memcmp(FMasks + middle * MaskRecordSize, sortCode.constData(), SortCodeSize) < 0)
      low = middle + 1;
    else
      high = middle;
  }
  const std::uint64_t end = std::min(FFields.Masks, low + MaxMasksPerSortCode);
  for (std::uint64_t i = low; i < end; ++i) {
    const char *record = reinterpret_cast<const char *>(FMasks + i * MaskRecordSize);
    if (std::memcmp(record, sortCode.constData(), SortCodeSize) != 0)
      break;
    const QString masked = MaskedAccount(record + SortCodeSize, account);
    if (masked.isEmpty())
      continue;
    const TDigestPrefix maskDigest = WhiteListDigest(FFields.Date, nip, masked, transformations);
    if (Contains(FActive, FFields.Active, maskDigest) || Contains(FExempt, FFields.Exempt, maskDigest))
      return TWhiteListStatus::Mask;
  }
  return TWhiteListStatus::NotFound;
}
