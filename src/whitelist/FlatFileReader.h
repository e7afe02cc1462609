#pragma once

#include "whitelist/LoadProgress.h"

#include <QByteArrayView>
#include <QDate>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>

// The Ministry's flat file of the VAT white list: a JSON document (usually packed alone in a
// 7z archive) with a header and the SHA-512 digests of every registered pair of NIP and
// account, and masks of virtual accounts.

// The part of a digest an index keeps: 128 bits make a false match of an unlisted pair
// about as likely as guessing a random 128-bit key.
constexpr std::size_t DigestPrefixSize = 16;
using TDigestPrefix = std::array<std::uint8_t, DigestPrefixSize>;

constexpr qsizetype MaskLength = 26;

enum class TPayerKind { Active, Exempt };

struct TFlatFileHeader {
  QDate Date;
  int Transformations = 0;
};

// Takes what the reader finds, in file order. The header may come before or after the lists.
class IFlatFileSink {
public:
  virtual ~IFlatFileSink() = default;
  virtual void Digest(TPayerKind kind, const TDigestPrefix &prefix) = 0;
  // 26 characters of digits, 'X' and 'Y', the sort code (characters 3 to 10) in digits.
  virtual void Mask(const char *mask) = 0;
};

// Pulls the next piece of the JSON text into `buffer`; 0 at the end.
using TJsonSource = std::function<std::size_t(char *buffer, std::size_t capacity)>;

// Reads the JSON text of a flat file as a stream, never holding more than a few kilobytes of
// it, hands the lists to `sink` and gives the checked header. `name` names the file in the
// messages. Anything that is not a flat file fails with one Polish message.
TFlatFileHeader ReadFlatFileJson(const QString &name, const TJsonSource &source, IFlatFileSink &sink);

// Reads a flat file: a 7z archive holding a .json file, or the .json itself, and checks that
// its date is not after `today`. Reports the bytes of the file read so far to `progress`, and
// ends with "Wczytywanie pliku płaskiego przerwano." when it is cancelled.
TFlatFileHeader ReadFlatFile(const QString &fileName, QDate today, IFlatFileSink &sink, IProgress &progress);

// The message of a file that is not a flat file.
QString NotFlatFileMessage(const QString &name, const QString &reason);
