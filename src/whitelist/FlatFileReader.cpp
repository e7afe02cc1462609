#include "whitelist/FlatFileReader.h"

#include "model/Exception.h"

#include <QFile>
#include <QFileInfo>
#include <archive.h>
#include <archive_entry.h>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <rapidjson/reader.h>
#include <vector>

namespace {

const QByteArray HeaderKey = QByteArrayLiteral("naglowek");
const QByteArray DateKey = QByteArrayLiteral("dataGenerowaniaDanych");
const QByteArray TransformationsKey = QByteArrayLiteral("liczbaTransformacji");
const QByteArray SchemaKey = QByteArrayLiteral("schemat");
const QByteArray ActiveKey = QByteArrayLiteral("skrotyPodatnikowCzynnych");
const QByteArray ExemptKey = QByteArrayLiteral("skrotyPodatnikowZwolnionych");
const QByteArray MasksKey = QByteArrayLiteral("maski");
const QByteArray KnownSchema = QByteArrayLiteral("RRRRMMDDNNNNNNNNNNBBBBBBBBBBBBBBBBBBBBBBBBBB");

constexpr std::size_t DigestHexLength = 128;
constexpr int MaxTransformations = 100000;
// The longest text a flat file has is a digest; anything far longer is not one, and is cut
// off before it costs memory.
constexpr std::size_t MaxTextLength = 4096;
// A flat file nests three levels deep; a document nesting deeper is stopped before it costs
// stack.
constexpr std::size_t MaxDepth = 16;
constexpr std::size_t ChunkSize = 1 << 20;

const QByteArray SevenZipSignature = QByteArrayLiteral("7z\xBC\xAF\x27\x1C");

const QString CancelledMessage = QStringLiteral("Wczytywanie pliku płaskiego przerwano.");

int HexValue(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

// Digests are compared without regard to case: some published ones are upper case.
bool DecodeDigest(const char *text, std::size_t length, TDigestPrefix &prefix) {
  if (length != DigestHexLength)
    return false;
  for (std::size_t i = 0; i < length; ++i) {
    const int value = HexValue(text[i]);
    if (value < 0)
      return false;
    if (i < 2 * DigestPrefixSize)
      prefix[i / 2] = std::uint8_t(i % 2 == 0 ? value << 4 : prefix[i / 2] | value);
  }
  return true;
}

bool IsMask(const char *text, std::size_t length) {
  if (length != std::size_t(MaskLength))
    return false;
  for (std::size_t i = 0; i < length; ++i) {
    const char c = text[i];
    const bool digit = c >= '0' && c <= '9';
    // Characters 3 to 10 are the bank's sort code, by which a mask is found.
    if (i >= 2 && i < 10 ? !digit : !(digit || c == 'X' || c == 'Y'))
      return false;
  }
  return true;
}

// A hostile text shown in a message: short, and only as much as can be read.
QString Shown(const char *text, std::size_t length) {
  const QString whole = QString::fromUtf8(text, qsizetype(std::min<std::size_t>(length, 60)));
  return length > 60 ? whole + QStringLiteral("…") : whole;
}

// The JSON text as RapidJSON's input stream, filled piece by piece from the source. It
// follows the strings as they pass, so that a string too long for a flat file ends the input
// before the parser has buffered it whole.
class TSourceStream {
public:
  using Ch = char;

  explicit TSourceStream(const TJsonSource &source) : FSource(source), FBuffer(ChunkSize) { Fill(); }

  Ch Peek() const { return *FCurrent; }
  Ch Take() {
    const Ch c = *FCurrent;
    Follow(c);
    Advance();
    return c;
  }
  std::size_t Tell() const { return FEnded ? FCount : FCount + std::size_t(FCurrent - FBuffer.data()); }
  bool TextTooLong() const { return FTextTooLong; }
  bool Ended() const { return FEnded; }

  // Never called for reading; RapidJSON asks for them all the same.
  Ch *PutBegin() { return nullptr; }
  void Put(Ch) {}
  void Flush() {}
  std::size_t PutEnd(Ch *) { return 0; }

private:
  void Advance() {
    if (FCurrent < FLast)
      ++FCurrent;
    else if (!FEnded)
      Fill();
  }
  void Fill() {
    FCount += FRead;
    FRead = FSource(FBuffer.data(), FBuffer.size());
    if (FRead == 0)
      StopAtEnd();
    else {
      FCurrent = FBuffer.data();
      FLast = FCurrent + FRead - 1;
    }
  }
  void StopAtEnd() {
    FEnded = true;
    FEnd = '\0';
    FCurrent = FLast = &FEnd;
  }
  void Follow(Ch c) {
    if (!FInString) {
      if (c == '"') {
        FInString = true;
        FEscaped = false;
        FTextLength = 0;
      }
      return;
    }
    if (FEscaped)
      FEscaped = false;
    else if (c == '\\')
      FEscaped = true;
    else if (c == '"') {
      FInString = false;
      return;
    }
    if (++FTextLength > MaxTextLength) {
      FTextTooLong = true;
      FCount += std::size_t(FCurrent - FBuffer.data());
      FRead = 0;
      StopAtEnd();
    }
  }

  const TJsonSource &FSource;
  std::vector<Ch> FBuffer;
  Ch FEnd = '\0';
  Ch *FCurrent = nullptr;
  Ch *FLast = nullptr;
  std::size_t FRead = 0;
  std::size_t FCount = 0;
  bool FEnded = false;
  bool FInString = false;
  bool FEscaped = false;
  std::size_t FTextLength = 0;
  bool FTextTooLong = false;
};

// Where the value being read belongs.
enum class TPlace { Root, Header, ActiveList, ExemptList, MaskList, Skipped };

class TFlatFileHandler : public rapidjson::BaseReaderHandler<rapidjson::UTF8<>, TFlatFileHandler> {
public:
  explicit TFlatFileHandler(IFlatFileSink &sink) : FSink(sink) {}

  // Numbers, true, false and null.
  bool Default() { return Scalar(QByteArray()); }
  bool Uint(unsigned value) { return Scalar(QByteArray::number(value)); }

  bool String(const char *text, rapidjson::SizeType length, bool) {
    if (FPlaces.empty())
      return Fail(QStringLiteral("to nie jest obiekt JSON z nagłówkiem i listami skrótów"));
    switch (FPlaces.back()) {
    case TPlace::ActiveList:
    case TPlace::ExemptList: return Digest(text, length);
    case TPlace::MaskList:
      if (!IsMask(text, length))
        return Fail(QStringLiteral("maska nr %1 („%2”) nie jest 26-znakową maską rachunku")
                        .arg(FMasks + 1)
                        .arg(Shown(text, length)));
      ++FMasks;
      FSink.Mask(text);
      return true;
    default: return Scalar(QByteArray(text, qsizetype(length)));
    }
  }

  bool Key(const char *text, rapidjson::SizeType length, bool) {
    FKey = length <= 64 ? QByteArray(text, qsizetype(length)) : QByteArray();
    return true;
  }

  bool StartObject() { return Enter(false); }
  bool EndObject(rapidjson::SizeType) { return Leave(); }
  bool StartArray() { return Enter(true); }
  bool EndArray(rapidjson::SizeType) { return Leave(); }

  const QString &Error() const { return FError; }

  // Fails with the file's message when the header or a list is missing or wrong.
  TFlatFileHeader CheckedHeader(const QString &name) const {
    const auto notFlatFile = [&name](const QString &reason) { return Exception(NotFlatFileMessage(name, reason)); };
    if (!FHeaderSeen)
      throw notFlatFile(QStringLiteral("brak nagłówka „naglowek”"));
    for (const QByteArray *key : {&DateKey, &TransformationsKey, &SchemaKey})
      if (!FHeader.contains(*key))
        throw notFlatFile(QStringLiteral("w nagłówku brak pola „%1”").arg(QString::fromLatin1(*key)));
    const QByteArray date = FHeader.value(DateKey);
    TFlatFileHeader header;
    header.Date = QDate::fromString(QString::fromLatin1(date), QStringLiteral("yyyyMMdd"));
    if (date.size() != 8 || !header.Date.isValid())
      throw notFlatFile(
          QStringLiteral("data „%1” w nagłówku nie jest datą RRRRMMDD").arg(Shown(date.data(), date.size())));
    const QByteArray transformations = FHeader.value(TransformationsKey);
    bool number = false;
    header.Transformations = transformations.size() <= 6 ? transformations.toInt(&number) : 0;
    if (!number || header.Transformations < 1 || header.Transformations > MaxTransformations ||
        !std::all_of(transformations.begin(), transformations.end(), [](char c) { return c >= '0' && c <= '9'; }))
      throw notFlatFile(QStringLiteral("liczba transformacji „%1” w nagłówku nie jest liczbą od 1 do %2")
                            .arg(Shown(transformations.data(), transformations.size()))
                            .arg(MaxTransformations));
    const QByteArray schema = FHeader.value(SchemaKey);
    if (schema != KnownSchema)
      throw notFlatFile(QStringLiteral("nieznany schemat „%1” (znany: %2)")
                            .arg(Shown(schema.data(), schema.size()), QString::fromLatin1(KnownSchema)));
    for (const auto &[seen, key] :
         {std::pair{FActiveSeen, ActiveKey}, {FExemptSeen, ExemptKey}, {FMasksSeen, MasksKey}})
      if (!seen)
        throw notFlatFile(QStringLiteral("brak listy „%1”").arg(QString::fromLatin1(key)));
    return header;
  }

private:
  bool Fail(const QString &reason) {
    FError = reason;
    return false;
  }

  bool Digest(const char *text, std::size_t length) {
    const bool active = FPlaces.back() == TPlace::ActiveList;
    qsizetype &count = active ? FActive : FExempt;
    TDigestPrefix prefix;
    if (!DecodeDigest(text, length, prefix))
      return Fail(QStringLiteral("skrót nr %1 na liście „%2” („%3”) nie jest 128-znakowym skrótem SHA-512 zapisanym "
                                 "szesnastkowo")
                      .arg(count + 1)
                      .arg(QString::fromLatin1(active ? ActiveKey : ExemptKey), Shown(text, length)));
    ++count;
    FSink.Digest(active ? TPayerKind::Active : TPayerKind::Exempt, prefix);
    return true;
  }

  bool Scalar(const QByteArray &value) {
    if (FPlaces.empty())
      return Fail(QStringLiteral("to nie jest obiekt JSON z nagłówkiem i listami skrótów"));
    switch (FPlaces.back()) {
    case TPlace::Root:
      if (FKey == HeaderKey || FKey == ActiveKey || FKey == ExemptKey || FKey == MasksKey)
        return Fail(QStringLiteral("pole „%1” ma niewłaściwy typ").arg(QString::fromLatin1(FKey)));
      return true;
    case TPlace::Header:
      if (FKey == DateKey || FKey == TransformationsKey || FKey == SchemaKey)
        FHeader.insert(FKey, value);
      return true;
    case TPlace::ActiveList:
    case TPlace::ExemptList:
    case TPlace::MaskList:
      return Fail(
          QStringLiteral("lista „%1” zawiera element, który nie jest tekstem").arg(QString::fromLatin1(ListKey())));
    case TPlace::Skipped: return true;
    }
    return true;
  }

  QByteArray ListKey() const {
    switch (FPlaces.back()) {
    case TPlace::ActiveList: return ActiveKey;
    case TPlace::ExemptList: return ExemptKey;
    default: return MasksKey;
    }
  }

  bool Enter(bool array) {
    if (FPlaces.size() >= MaxDepth)
      return Fail(QStringLiteral("zagnieżdżenie głębsze niż w pliku płaskim"));
    if (FPlaces.empty()) {
      if (array)
        return Fail(QStringLiteral("to nie jest obiekt JSON z nagłówkiem i listami skrótów"));
      FPlaces.push_back(TPlace::Root);
      return true;
    }
    const TPlace place = FPlaces.back();
    if (place == TPlace::Root) {
      const bool header = FKey == HeaderKey;
      const bool list = FKey == ActiveKey || FKey == ExemptKey || FKey == MasksKey;
      if ((header && array) || (list && !array))
        return Fail(QStringLiteral("pole „%1” ma niewłaściwy typ").arg(QString::fromLatin1(FKey)));
      if (header) {
        FHeaderSeen = true;
        FPlaces.push_back(TPlace::Header);
      } else if (FKey == ActiveKey) {
        FActiveSeen = true;
        FPlaces.push_back(TPlace::ActiveList);
      } else if (FKey == ExemptKey) {
        FExemptSeen = true;
        FPlaces.push_back(TPlace::ExemptList);
      } else if (FKey == MasksKey) {
        FMasksSeen = true;
        FPlaces.push_back(TPlace::MaskList);
      } else
        FPlaces.push_back(TPlace::Skipped);
      return true;
    }
    if (place == TPlace::ActiveList || place == TPlace::ExemptList || place == TPlace::MaskList)
      return Fail(
          QStringLiteral("lista „%1” zawiera element, który nie jest tekstem").arg(QString::fromLatin1(ListKey())));
    if (place == TPlace::Header && (FKey == DateKey || FKey == TransformationsKey || FKey == SchemaKey))
      return Fail(QStringLiteral("pole „%1” ma niewłaściwy typ").arg(QString::fromLatin1(FKey)));
    FPlaces.push_back(TPlace::Skipped);
    return true;
  }

  bool Leave() {
    FPlaces.pop_back();
    return true;
  }

  IFlatFileSink &FSink;
  std::vector<TPlace> FPlaces;
  QByteArray FKey;
  QHash<QByteArray, QByteArray> FHeader;
  bool FHeaderSeen = false;
  bool FActiveSeen = false;
  bool FExemptSeen = false;
  bool FMasksSeen = false;
  qsizetype FActive = 0;
  qsizetype FExempt = 0;
  qsizetype FMasks = 0;
  QString FError;
};

// Unpacks on a thread of its own while the JSON is parsed on the caller's: unpacking is most of
// a load's time, and the two together take little longer than it alone. A few pieces are kept
// ahead, no more.
class TUnpackAhead {
public:
  explicit TUnpackAhead(TJsonSource unpack) : FUnpack(std::move(unpack)), FThread([this] { Run(); }) {}
  ~TUnpackAhead() {
    {
      const std::lock_guard lock(FMutex);
      FStopped = true;
    }
    FRoom.notify_all();
    FThread.join();
  }
  TUnpackAhead(const TUnpackAhead &) = delete;
  TUnpackAhead &operator=(const TUnpackAhead &) = delete;

  // The next piece, as the unpacking gave it (0 at the end); its error is thrown here.
  std::size_t Take(char *buffer, std::size_t capacity) {
    std::unique_lock lock(FMutex);
    FReady.wait(lock, [this] { return !FPieces.empty() || FError; });
    if (FPieces.empty())
      std::rethrow_exception(FError);
    const std::vector<char> piece = std::move(FPieces.front());
    FPieces.pop_front();
    lock.unlock();
    FRoom.notify_one();
    const std::size_t size = std::min(piece.size(), capacity);
    std::memcpy(buffer, piece.data(), size);
    return size;
  }

private:
  static constexpr std::size_t PiecesAhead = 4;

  void Run() {
    for (;;) {
      std::vector<char> piece(ChunkSize);
      try {
        piece.resize(FUnpack(piece.data(), piece.size()));
      } catch (...) {
        const std::lock_guard lock(FMutex);
        FError = std::current_exception();
        FReady.notify_one();
        return;
      }
      const bool end = piece.empty();
      std::unique_lock lock(FMutex);
      FRoom.wait(lock, [this] { return FStopped || FPieces.size() < PiecesAhead; });
      if (FStopped)
        return;
      FPieces.push_back(std::move(piece));
      FReady.notify_one();
      if (end)
        return;
    }
  }

  TJsonSource FUnpack;
  std::mutex FMutex;
  std::condition_variable FReady;
  std::condition_variable FRoom;
  std::deque<std::vector<char>> FPieces;
  std::exception_ptr FError;
  bool FStopped = false;
  std::thread FThread;
};

QString ArchiveDamagedMessage(const QString &fileName) {
  return QStringLiteral("Archiwum „%1” jest uszkodzone albo niepełne.").arg(fileName);
}

struct TArchiveFree {
  void operator()(archive *a) const { archive_read_free(a); }
};

TFlatFileHeader ReadArchive(const QString &fileName, IFlatFileSink &sink, IProgress &progress, qint64 size) {
  std::unique_ptr<archive, TArchiveFree> reader(archive_read_new());
  if (!reader)
    throw std::bad_alloc();
  archive_read_support_format_7zip(reader.get());
  if (archive_read_open_filename(reader.get(), QFile::encodeName(fileName).constData(), ChunkSize) != ARCHIVE_OK)
    throw Exception(ArchiveDamagedMessage(fileName));
  archive_entry *entry = nullptr;
  for (;;) {
    const int status = archive_read_next_header(reader.get(), &entry);
    if (status == ARCHIVE_EOF)
      throw Exception(QStringLiteral("Archiwum „%1” nie zawiera pliku JSON.").arg(fileName));
    if (status != ARCHIVE_OK)
      throw Exception(ArchiveDamagedMessage(fileName));
    const char *name = archive_entry_pathname(entry);
    if (archive_entry_filetype(entry) == AE_IFREG && name &&
        QString::fromUtf8(name).endsWith(QStringLiteral(".json"), Qt::CaseInsensitive))
      break;
  }
  TUnpackAhead unpacked([&](char *buffer, std::size_t capacity) -> std::size_t {
    const la_ssize_t read = archive_read_data(reader.get(), buffer, capacity);
    if (read < 0)
      throw Exception(ArchiveDamagedMessage(fileName));
    progress.Report(archive_filter_bytes(reader.get(), -1), size);
    return std::size_t(read);
  });
  const TJsonSource source = [&](char *buffer, std::size_t capacity) -> std::size_t {
    if (progress.Cancelled())
      throw TCancelled(CancelledMessage);
    return unpacked.Take(buffer, capacity);
  };
  return ReadFlatFileJson(fileName, source, sink);
}

TFlatFileHeader ReadPlainJson(QFile &file, IFlatFileSink &sink, IProgress &progress) {
  const qint64 size = file.size();
  const TJsonSource source = [&](char *buffer, std::size_t capacity) -> std::size_t {
    if (progress.Cancelled())
      throw TCancelled(CancelledMessage);
    const qint64 read = file.read(buffer, qint64(capacity));
    if (read < 0)
      throw Exception(QStringLiteral("Nie udało się odczytać pliku „%1”.").arg(file.fileName()));
    progress.Report(file.pos(), size);
    return std::size_t(read);
  };
  return ReadFlatFileJson(file.fileName(), source, sink);
}

} // namespace

QString NotFlatFileMessage(const QString &name, const QString &reason) {
  return QStringLiteral("Plik „%1” nie jest plikiem płaskim białej listy: %2.").arg(name, reason);
}

TFlatFileHeader ReadFlatFileJson(const QString &name, const TJsonSource &source, IFlatFileSink &sink) {
  TSourceStream stream(source);
  TFlatFileHandler handler(sink);
  rapidjson::Reader reader;
  const rapidjson::ParseResult result = reader.Parse<rapidjson::kParseDefaultFlags>(stream, handler);
  if (!handler.Error().isEmpty())
    throw Exception(NotFlatFileMessage(name, handler.Error()));
  if (stream.TextTooLong())
    throw Exception(NotFlatFileMessage(name, QStringLiteral("zawiera tekst dłuższy niż %1 znaków").arg(MaxTextLength)));
  if (result.IsError()) {
    if (result.Code() == rapidjson::kParseErrorDocumentEmpty)
      throw Exception(NotFlatFileMessage(name, QStringLiteral("plik jest pusty")));
    if (stream.Ended())
      throw Exception(NotFlatFileMessage(name, QStringLiteral("tekst JSON urywa się przed końcem")));
    throw Exception(NotFlatFileMessage(name, QStringLiteral("błąd składni JSON w bajcie %1").arg(result.Offset() + 1)));
  }
  return handler.CheckedHeader(name);
}

TFlatFileHeader ReadFlatFile(const QString &fileName, QDate today, IFlatFileSink &sink, IProgress &progress) {
  QFile file(fileName);
  if (QFileInfo(fileName).isDir())
    throw Exception(QStringLiteral("„%1” jest katalogiem, a nie plikiem płaskim: wskaż plik RRRRMMDD.7z z Ministerstwa "
                                   "Finansów albo plik .json z niego.")
                        .arg(fileName));
  if (!QFileInfo(fileName).isFile() || !file.open(QIODevice::ReadOnly))
    throw Exception(QStringLiteral("Nie można otworzyć pliku „%1”.").arg(fileName));
  const QByteArray start = file.peek(SevenZipSignature.size());
  TFlatFileHeader header;
  if (start == SevenZipSignature) {
    const qint64 size = file.size();
    file.close();
    header = ReadArchive(fileName, sink, progress, size);
  } else {
    const QByteArray first = file.peek(64).trimmed();
    // An array or a BOM passes too, to be told apart from a flat file by the reader.
    if (!first.startsWith('{') && !first.startsWith('[') && !first.startsWith("\xEF\xBB\xBF"))
      throw Exception(QStringLiteral("Plik „%1” nie jest ani archiwum 7z, ani plikiem JSON.").arg(fileName));
    if (first.startsWith('\xEF'))
      file.skip(3);
    header = ReadPlainJson(file, sink, progress);
  }
  if (header.Date > today)
    throw Exception(QStringLiteral("Plik płaski „%1” ma datę danych %2, późniejszą niż dzisiejsza (%3): sprawdź zegar "
                                   "komputera i pochodzenie pliku.")
                        .arg(fileName, header.Date.toString(Qt::ISODate), today.toString(Qt::ISODate)));
  return header;
}
