#include "FlatFileFixture.h"
#include "TestSupport.h"
#include "whitelist/WhiteListIndex.h"
#include "whitelist/WhiteListStore.h"

#include <QDir>
#include <QFile>
#include <functional>

namespace {

using namespace FlatFilePairs;

const QDate Today(2026, 12, 10);

const QString Header = QStringLiteral(R"("naglowek":{"dataGenerowaniaDanych":"20261210","liczbaTransformacji":"3",)"
                                      R"("schemat":"RRRRMMDDNNNNNNNNNNBBBBBBBBBBBBBBBBBBBBBBBBBB"})");
const QString Digest = QString(128, u'a');

class TWhiteListStoreTest : public ::testing::Test {
protected:
  QString Directory() const { return App.File(QStringLiteral("BIALA_LISTA")); }
  TTempDir App;
  TTempDir Files;
  TWhiteListStore Store{Directory()};
  TNoProgress NoProgress;
};

struct TPairCase {
  const char *Name;
  QString Nip;
  QString Account;
  TWhiteListStatus Status;
};

void PrintTo(const TPairCase &c, std::ostream *os) { *os << c.Name; }

class TLookupTest : public TWhiteListStoreTest, public ::testing::WithParamInterface<TPairCase> {};

// The real number of transformations, packed as the Ministry packs it.
TEST_P(TLookupTest, FindsThePairInAnArchiveOfTheRealShape) {
  const QString json = MakeStandardFlatFileJson(Files, QStringLiteral("20261210.json"), Today, 5000);
  const TFlatFileLoad load = Store.Load(PackWith7z(Files, QStringLiteral("20261210.7z"), {json}), Today, NoProgress);

  EXPECT_EQ(load.Date, Today);
  EXPECT_EQ(load.Counts.Active, 2u);
  EXPECT_EQ(load.Counts.Exempt, 1u);
  EXPECT_EQ(load.Counts.Masks, 1u);
  EXPECT_EQ(Store.Days(), QList<QDate>{Today});
  EXPECT_EQ(TWhiteListIndex(Store.IndexFile(Today)).Find(GetParam().Nip, GetParam().Account), GetParam().Status);
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, TLookupTest,
    ::testing::Values(TPairCase{"active", ActiveNip, ActiveAccount, TWhiteListStatus::Active},
                      TPairCase{"exemptInUpperCase", ExemptNip, ExemptAccount, TWhiteListStatus::Exempt},
                      TPairCase{"virtualThroughMask", VirtualNip, VirtualAccount, TWhiteListStatus::Mask},
                      TPairCase{"listedNipOtherAccount", ActiveNip, ExemptAccount, TWhiteListStatus::NotFound},
                      // The same bank, other digits where the mask takes the account's.
                      TPairCase{"maskBankOtherDigits", VirtualNip, QStringLiteral("82105012140000000013000000"),
                                TWhiteListStatus::NotFound},
                      TPairCase{"maskedAccountOfAnotherNip", ActiveNip, VirtualAccount, TWhiteListStatus::NotFound}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST_F(TWhiteListStoreTest, ReadsThePlainJsonToo) {
  Store.Load(MakeStandardFlatFileJson(Files, QStringLiteral("dane.json"), Today), Today, NoProgress);

  EXPECT_EQ(TWhiteListIndex(Store.IndexFile(Today)).Find(ExemptNip, ExemptAccount), TWhiteListStatus::Exempt);
}

// What a bad file is made of, written into `dir`; gives the path to load.
struct TBadInputCase {
  const char *Name;
  std::function<QString(const TTempDir &dir)> Make;
  // %1 is the path loaded.
  QString Message;
};

void PrintTo(const TBadInputCase &c, std::ostream *os) { *os << c.Name; }

QString WriteText(const TTempDir &dir, const QString &name, const QString &text) {
  dir.WriteBytes(name, text.toUtf8());
  return dir.File(name);
}

std::function<QString(const TTempDir &)> Json(const QString &text) {
  return [text](const TTempDir &dir) { return WriteText(dir, QStringLiteral("zly.json"), text); };
}

QString Lists(const QString &active) {
  return QStringLiteral(R"("skrotyPodatnikowCzynnych":[%1],"skrotyPodatnikowZwolnionych":[],"maski":[])").arg(active);
}

QString Packed(const TTempDir &dir) {
  return PackWith7z(dir, QStringLiteral("dane.7z"), {MakeStandardFlatFileJson(dir, QStringLiteral("d.json"), Today)});
}

class TBadInputTest : public TWhiteListStoreTest, public ::testing::WithParamInterface<TBadInputCase> {};

TEST_P(TBadInputTest, FailsWithItsMessageAndLeavesTheLoadedIndexesAlone) {
  const QDate yesterday = Today.addDays(-1);
  Store.Load(MakeStandardFlatFileJson(Files, QStringLiteral("wczoraj.json"), yesterday), Today, NoProgress);
  const QByteArray before = [&] {
    QFile file(Store.IndexFile(yesterday));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }();
  TTempDir bad;
  const QString path = GetParam().Make(bad);

  EXPECT_THROW_MESSAGE(Store.Load(path, Today, NoProgress), GetParam().Message.arg(path));

  EXPECT_EQ(Store.Days(), QList<QDate>{yesterday});
  QFile index(Store.IndexFile(yesterday));
  ASSERT_TRUE(index.open(QIODevice::ReadOnly));
  EXPECT_EQ(index.readAll(), before);
  EXPECT_EQ(TWhiteListIndex(Store.IndexFile(yesterday)).Find(ActiveNip, ActiveAccount), TWhiteListStatus::Active);
  // Nothing of the failed load stays behind but the empty file of the loads' lock.
  EXPECT_EQ(QDir(Directory()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
            QStringList({QStringLiteral(".wczytywanie.lock"), QStringLiteral("20261209.indeks")}));
}

const QString NotFlat = QStringLiteral("Plik „%1” nie jest plikiem płaskim białej listy: ");

INSTANTIATE_TEST_SUITE_P(
    Cases, TBadInputTest,
    ::testing::Values(
        TBadInputCase{"truncatedArchive",
                      [](const TTempDir &dir) {
                        const QString archive = Packed(dir);
                        QFile file(archive);
                        file.resize(file.size() / 2);
                        return archive;
                      },
                      QStringLiteral("Archiwum „%1” jest uszkodzone albo niepełne.")},
        TBadInputCase{"corruptArchive",
                      [](const TTempDir &dir) {
                        const QString archive = Packed(dir);
                        QFile file(archive);
                        file.open(QIODevice::ReadWrite);
                        QByteArray bytes = file.readAll();
                        // The archive's own header, at its end, guarded by its checksum.
                        for (qsizetype i = bytes.size() - 20; i < bytes.size(); ++i)
                          bytes[i] = char(bytes[i] ^ 0x5A);
                        file.seek(0);
                        file.write(bytes);
                        return archive;
                      },
                      QStringLiteral("Archiwum „%1” jest uszkodzone albo niepełne.")},
        TBadInputCase{"archiveWithoutJson",
                      [](const TTempDir &dir) {
                        return PackWith7z(dir, QStringLiteral("dane.7z"),
                                          {WriteText(dir, QStringLiteral("opis.txt"), QStringLiteral("tekst"))});
                      },
                      QStringLiteral("Archiwum „%1” nie zawiera pliku JSON.")},
        TBadInputCase{"neitherArchiveNorJson",
                      [](const TTempDir &dir) { return WriteText(dir, QStringLiteral("x.7z"), QStringLiteral("PK")); },
                      QStringLiteral("Plik „%1” nie jest ani archiwum 7z, ani plikiem JSON.")},
        TBadInputCase{"noHeader", Json(u'{' + Lists(QString()) + u'}'),
                      NotFlat + QStringLiteral("brak nagłówka „naglowek”.")},
        TBadInputCase{"notAnObject", Json(QStringLiteral("{}")), NotFlat + QStringLiteral("brak nagłówka „naglowek”.")},
        TBadInputCase{"noList",
                      Json(u'{' + Header + QStringLiteral(R"(,"skrotyPodatnikowZwolnionych":[],"maski":[]})")),
                      NotFlat + QStringLiteral("brak listy „skrotyPodatnikowCzynnych”.")},
        TBadInputCase{"shortDigest", Json(u'{' + Header + u',' + Lists(u'"' + Digest.left(127) + u'"') + u'}'),
                      NotFlat + QStringLiteral("skrót nr 1 na liście „skrotyPodatnikowCzynnych” („") + Digest.left(60) +
                          QStringLiteral("…”) nie jest 128-znakowym skrótem SHA-512 zapisanym szesnastkowo.")},
        TBadInputCase{"nonHexDigest",
                      Json(u'{' + Header + u',' +
                           Lists(u'"' + Digest + QStringLiteral("\",\"") + Digest.left(127) + QStringLiteral("g\"")) +
                           u'}'),
                      NotFlat + QStringLiteral("skrót nr 2 na liście „skrotyPodatnikowCzynnych” („") + Digest.left(60) +
                          QStringLiteral("…”) nie jest 128-znakowym skrótem SHA-512 zapisanym szesnastkowo.")},
        TBadInputCase{"digestNotText", Json(u'{' + Header + u',' + Lists(QStringLiteral("7")) + u'}'),
                      NotFlat + QStringLiteral("lista „skrotyPodatnikowCzynnych” zawiera element, który nie jest "
                                               "tekstem.")},
        TBadInputCase{"badMask",
                      Json(u'{' + Header +
                           QStringLiteral(R"(,"skrotyPodatnikowCzynnych":[],"skrotyPodatnikowZwolnionych":[],)"
                                          R"("maski":["XXAB501214XXXXXXXXYYXXXXXX"]})")),
                      NotFlat + QStringLiteral("maska nr 1 („XXAB501214XXXXXXXXYYXXXXXX”) nie jest 26-znakową maską "
                                               "rachunku.")},
        TBadInputCase{
            "unknownSchema",
            Json(QStringLiteral(R"({"naglowek":{"dataGenerowaniaDanych":"20261210","liczbaTransformacji":"3",)"
                                R"("schemat":"RRRRMMDDBBBB"},)") +
                 Lists(QString()) + u'}'),
            NotFlat + QStringLiteral("nieznany schemat „RRRRMMDDBBBB” (znany: "
                                     "RRRRMMDDNNNNNNNNNNBBBBBBBBBBBBBBBBBBBBBBBBBB).")},
        TBadInputCase{
            "badDate",
            Json(QStringLiteral(R"({"naglowek":{"dataGenerowaniaDanych":"20261310","liczbaTransformacji":"3",)"
                                R"("schemat":"RRRRMMDDNNNNNNNNNNBBBBBBBBBBBBBBBBBBBBBBBBBB"},)") +
                 Lists(QString()) + u'}'),
            NotFlat + QStringLiteral("data „20261310” w nagłówku nie jest datą RRRRMMDD.")},
        TBadInputCase{
            "badTransformations",
            Json(QStringLiteral(R"({"naglowek":{"dataGenerowaniaDanych":"20261210","liczbaTransformacji":"0",)"
                                R"("schemat":"RRRRMMDDNNNNNNNNNNBBBBBBBBBBBBBBBBBBBBBBBBBB"},)") +
                 Lists(QString()) + u'}'),
            NotFlat + QStringLiteral("liczba transformacji „0” w nagłówku nie jest liczbą od 1 do 100000.")},
        TBadInputCase{"truncatedJson",
                      Json(u'{' + Header + QStringLiteral(R"(,"skrotyPodatnikowCzynnych":[")") + Digest),
                      NotFlat + QStringLiteral("tekst JSON urywa się przed końcem.")},
        TBadInputCase{"syntaxError", Json(QStringLiteral("{\"naglowek\" 1}")),
                      NotFlat + QStringLiteral("błąd składni JSON w bajcie 13.")},
        TBadInputCase{"endlessText", Json(QStringLiteral("{\"a\":\"") + QString(100000, u'x') + QStringLiteral("\"}")),
                      NotFlat + QStringLiteral("zawiera tekst dłuższy niż 4096 znaków.")},
        TBadInputCase{"deepNesting", Json(QString(100000, u'[')),
                      NotFlat + QStringLiteral("to nie jest obiekt JSON z nagłówkiem i listami skrótów.")},
        TBadInputCase{
            "dateInTheFuture",
            [](const TTempDir
                   &dir) { return MakeStandardFlatFileJson(dir, QStringLiteral("jutro.json"), Today.addDays(1)); },
            QStringLiteral("Plik płaski „%1” ma datę danych 2026-12-11, późniejszą niż dzisiejsza "
                           "(2026-12-10): sprawdź zegar komputera i pochodzenie pliku.")},
        TBadInputCase{"missingFile", [](const TTempDir &dir) { return dir.File(QStringLiteral("brak.7z")); },
                      QStringLiteral("Nie można otworzyć pliku „%1”.")},
        TBadInputCase{
            "folder",
            [](const TTempDir &dir) {
              QDir(dir.Path()).mkdir(QStringLiteral("20261210"));
              return dir.File(QStringLiteral("20261210"));
            },
            QStringLiteral("„%1” jest katalogiem, a nie plikiem płaskim: wskaż plik RRRRMMDD.7z z "
                           "Ministerstwa Finansów albo plik .json z niego.")}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST_F(TWhiteListStoreTest, DeepNestingInsideTheObjectIsStoppedToo) {
  const QString path = WriteText(Files, QStringLiteral("g.json"), QStringLiteral("{\"x\":") + QString(100000, u'['));
  EXPECT_THROW_MESSAGE(Store.Load(path, Today, NoProgress),
                       NotFlat.arg(path) + QStringLiteral("zagnieżdżenie głębsze niż w pliku płaskim."));
}

// Starts a second load from inside the first one, while the first holds its lock: a handshake,
// not a race.
class TSecondLoad : public IProgress {
public:
  TSecondLoad(TWhiteListStore &store, QString file) : FStore(store), FFile(std::move(file)) {}
  void Report(qint64, qint64) override {
    if (FTried)
      return;
    FTried = true;
    TNoProgress none;
    try {
      FStore.Load(FFile, Today, none);
    } catch (const Exception &error) {
      Message = error.Message();
    }
  }
  bool Cancelled() const override { return false; }
  QString Message;

private:
  TWhiteListStore &FStore;
  QString FFile;
  bool FTried = false;
};

TEST_F(TWhiteListStoreTest, ASecondLoadWhileOneRunsFailsAndTheFirstFinishes) {
  const QString file = MakeStandardFlatFileJson(Files, QStringLiteral("d.json"), Today);
  TSecondLoad second(Store, file);

  Store.Load(file, Today, second);

  EXPECT_EQ(second.Message, QStringLiteral("Inny plik płaski jest właśnie wczytywany: poczekaj, aż wczytywanie się "
                                           "skończy, i spróbuj ponownie."));
  EXPECT_EQ(Store.Days(), QList<QDate>{Today});
}

class TCancelAtOnce : public TNoProgress {
public:
  bool Cancelled() const override { return true; }
};

TEST_F(TWhiteListStoreTest, ACancelledLoadLeavesNoIndex) {
  TCancelAtOnce cancel;
  EXPECT_THROW_MESSAGE(Store.Load(Packed(Files), Today, cancel),
                       QStringLiteral("Wczytywanie pliku płaskiego przerwano."));
  // Told apart from a failure, so that it is logged as the user's own doing.
  EXPECT_THROW(Store.Load(Packed(Files), Today, cancel), TCancelled);
  EXPECT_TRUE(Store.Days().isEmpty());
}

TEST_F(TWhiteListStoreTest, KeepsTheLastSevenDaysOfData) {
  for (int back : {10, 7, 6, 1, 0}) {
    const QDate day = Today.addDays(-back);
    Store.Load(MakeStandardFlatFileJson(Files, day.toString(Qt::ISODate) + QStringLiteral(".json"), day), Today,
               NoProgress);
  }
  EXPECT_EQ(Store.Days(), QList<QDate>({Today.addDays(-6), Today.addDays(-1), Today}));
}

// A day older than the week kept is not loaded late either: its index would go at once.
TEST_F(TWhiteListStoreTest, RefusesADayTooOldToBeKept) {
  Store.Load(MakeStandardFlatFileJson(Files, QStringLiteral("dzis.json"), Today), Today, NoProgress);
  const QString old = MakeStandardFlatFileJson(Files, QStringLiteral("stary.json"), Today.addDays(-7));

  EXPECT_THROW_MESSAGE(Store.Load(old, Today, NoProgress),
                       QStringLiteral("Pliku płaskiego z dnia 03.12.2026 nie wczytano: jest o 7 dni starszy niż "
                                      "najnowszy wczytany, z dnia 10.12.2026, a indeksy starsze od najnowszego o 7 "
                                      "dni lub więcej program usuwa."));
  EXPECT_EQ(Store.Days(), QList<QDate>{Today});
  // One day less old is kept.
  Store.Load(MakeStandardFlatFileJson(Files, QStringLiteral("tydzien.json"), Today.addDays(-6)), Today, NoProgress);
  EXPECT_EQ(Store.Days(), QList<QDate>({Today.addDays(-6), Today}));
}

TEST_F(TWhiteListStoreTest, StandsInWithTheNewestDayNotAfterTheOneAsked) {
  for (int back : {4, 2, 0}) {
    const QDate day = Today.addDays(-back);
    Store.Load(MakeStandardFlatFileJson(Files, day.toString(Qt::ISODate) + QStringLiteral(".json"), day), Today,
               NoProgress);
  }
  const struct {
    int Back;
    std::optional<QDate> Day;
  } cases[] = {{0, Today}, {1, Today.addDays(-2)}, {3, Today.addDays(-4)}, {4, Today.addDays(-4)}, {5, std::nullopt}};
  for (const auto &c : cases)
    EXPECT_EQ(Store.NewestUpTo(Today.addDays(-c.Back)), c.Day) << c.Back << " days back";
}

struct TFullDiskCase {
  const char *Name;
  rlim_t Limit;
  QString Message;
};

void PrintTo(const TFullDiskCase &c, std::ostream *os) { *os << c.Name; }

class TFullDiskTest : public TWhiteListStoreTest, public ::testing::WithParamInterface<TFullDiskCase> {};

TEST_P(TFullDiskTest, FailsWithItsMessageAndWritesNoIndex) {
  const QString file = MakeStandardFlatFileJson(Files, QStringLiteral("d.json"), Today);
  {
    const TFileSizeLimit limit(GetParam().Limit);
    EXPECT_THROW_MESSAGE(Store.Load(file, Today, NoProgress), GetParam().Message.arg(Store.IndexFile(Today)));
  }
  EXPECT_TRUE(Store.Days().isEmpty());
}

// The three lists go to run files of 32, 16 and 34 bytes; the index is 146 bytes.
INSTANTIATE_TEST_SUITE_P(
    Cases, TFullDiskTest,
    ::testing::Values(
        TFullDiskCase{
            "runFile", 20,
            QStringLiteral("Nie udało się zapisać pliku tymczasowego białej listy (czy na dysku jest miejsce?).")},
        TFullDiskCase{"indexFile", 100,
                      QStringLiteral("Nie udało się zapisać indeksu białej listy „%1” (czy na dysku jest miejsce?).")}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST_F(TWhiteListStoreTest, ADamagedIndexSaysSo) {
  Store.Load(MakeStandardFlatFileJson(Files, QStringLiteral("d.json"), Today), Today, NoProgress);
  QFile index(Store.IndexFile(Today));
  ASSERT_TRUE(index.resize(index.size() - 1));

  EXPECT_THROW_MESSAGE(TWhiteListIndex{Store.IndexFile(Today)},
                       QStringLiteral("Indeks białej listy „%1” jest uszkodzony: wczytaj plik płaski tego dnia "
                                      "ponownie.")
                           .arg(Store.IndexFile(Today)));
}

} // namespace
