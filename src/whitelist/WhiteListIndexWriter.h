#pragma once

#include "whitelist/ExternalSorter.h"
#include "whitelist/FlatFileReader.h"
#include "whitelist/WhiteListIndex.h"

// What a flat file held, as read.
struct TFlatFileCounts {
  std::uint64_t Active = 0;
  std::uint64_t Exempt = 0;
  std::uint64_t Masks = 0;
};

// Collects what the reader finds and writes it as an index file (laid out as WhiteListIndex.h
// says). Memory stays bounded whatever the file's size: the records are sorted in runs kept in
// `runDirectory` and merged as the index is written.
class TWhiteListIndexWriter : public IFlatFileSink {
public:
  explicit TWhiteListIndexWriter(const QString &runDirectory);

  void Digest(TPayerKind kind, const TDigestPrefix &prefix) override;
  void Mask(const char *mask) override;

  const TFlatFileCounts &Counts() const { return FCounts; }
  // Writes the index atomically: `fileName` holds its old content or the whole new one.
  void Write(const QString &fileName, const TFlatFileHeader &header);

private:
  // One list is read at a time; the memory of the one before goes back first.
  void Switch(int list);

  TExternalSorter<DigestPrefixSize> FActive;
  TExternalSorter<DigestPrefixSize> FExempt;
  TExternalSorter<WhiteListIndexLayout::MaskRecordSize> FMasks;
  TFlatFileCounts FCounts;
  int FList = -1;
};
