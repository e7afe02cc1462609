#include "TestSupport.h"
#include "journal/TransferArchive.h"

#include <QBuffer>
#include <QDir>
#include <gtest/gtest.h>

namespace {

const QDateTime March5(QDate(2026, 3, 5), QTime(14, 5, 9));

QString Archive(const QString &archiveDir, const QString &originalName, QByteArray content, const QDateTime &when) {
  QBuffer buffer(&content);
  buffer.open(QIODevice::ReadOnly);
  return ArchiveTransferFile(archiveDir, originalName, buffer, when).Name;
}

TEST(TransferArchiveTest, KeepsTheExactBytesUnderNamesThatNeverCollide) {
  TTempDir dir;
  const QString archive = dir.File(QStringLiteral("PLIKI_DO_BANKU/archiwum"));
  const QByteArray first("<?xml version=\"1.0\"?>\r\n<Document>Zażółć</Document>\n\0x", 53);
  const QByteArray second("<Document>drugi</Document>");

  EXPECT_EQ(Archive(archive, QStringLiteral("Pain001.xml"), first, March5),
            QStringLiteral("2026-03-05_140509_0001_Pain001.xml"));
  EXPECT_EQ(Archive(archive, QStringLiteral("Pain001.xml"), second, March5),
            QStringLiteral("2026-03-05_140509_0002_Pain001.xml"));
  EXPECT_EQ(Archive(archive, QStringLiteral("Pain001Paczka.xml"), second, March5.addSecs(1)),
            QStringLiteral("2026-03-05_140510_0001_Pain001Paczka.xml"));

  EXPECT_EQ(dir.ReadBytes(QStringLiteral("PLIKI_DO_BANKU/archiwum/2026-03-05_140509_0001_Pain001.xml")), first);
  EXPECT_EQ(dir.ReadBytes(QStringLiteral("PLIKI_DO_BANKU/archiwum/2026-03-05_140509_0002_Pain001.xml")), second);
  EXPECT_EQ(QDir(archive).entryList(QDir::Files | QDir::Hidden).size(), 3);
}

TEST(TransferArchiveTest, GivesTheSha256OfTheBytesCopied) {
  TTempDir dir;
  QByteArray content = QByteArray("abc").repeated(100000);
  QBuffer buffer(&content);
  buffer.open(QIODevice::ReadOnly);

  const TArchivedCopy copy =
      ArchiveTransferFile(dir.File(QStringLiteral("archiwum")), QStringLiteral("Pain001.xml"), buffer, March5);

  // sha256sum of the same 300,000 bytes, which take several blocks.
  EXPECT_EQ(copy.Sha256, QStringLiteral("a77aedfe2e4a7232ea628a71745a966224c4521d93134b993cde5b65ea2f6e3c"));
  EXPECT_EQ(dir.ReadBytes(QStringLiteral("archiwum/") + copy.Name), content);
}

TEST(TransferArchiveTest, FailsWhenTheArchiveCannotBeMade) {
  TTempDir dir;
  dir.WriteBytes(QStringLiteral("PLIKI_DO_BANKU"), "zwykły plik, nie katalog");
  const QString archive = dir.File(QStringLiteral("PLIKI_DO_BANKU/archiwum"));

  EXPECT_THROW_MESSAGE(Archive(archive, QStringLiteral("Pain001.xml"), "x", March5),
                       QStringLiteral("Unable to write to ") + archive);
}

TEST(TransferArchiveTest, NamesSortInTheOrderTheCopiesWereMade) {
  TTempDir dir;
  const QString archive = dir.File(QStringLiteral("archiwum"));
  QStringList made;
  for (int i = 0; i < 12; ++i)
    made.append(Archive(archive, QStringLiteral("Pain001.xml"), QByteArray::number(i), March5));

  EXPECT_EQ(made.at(9), QStringLiteral("2026-03-05_140509_0010_Pain001.xml"));
  EXPECT_EQ(QDir(archive).entryList(QDir::Files, QDir::Name), made);
}

// A content that cannot be read midway, as a file gone from under the program.
class TUnreadableDevice : public QIODevice {
public:
  TUnreadableDevice() { open(QIODevice::ReadOnly); }
  bool isSequential() const override { return true; }
  qint64 bytesAvailable() const override { return 1; }

protected:
  qint64 readData(char *, qint64) override { return -1; }
  qint64 writeData(const char *, qint64) override { return -1; }
};

TEST(TransferArchiveTest, ACopyThatFailsLeavesNoFileUnderItsName) {
  TTempDir dir;
  const QString archive = dir.File(QStringLiteral("archiwum"));
  TUnreadableDevice content;

  EXPECT_THROW_MESSAGE(ArchiveTransferFile(archive, QStringLiteral("Pain001.xml"), content, March5),
                       QStringLiteral("Unable to read Pain001.xml"));

  EXPECT_EQ(QDir(archive).entryList(QDir::Files | QDir::Hidden), QStringList());
  EXPECT_EQ(Archive(archive, QStringLiteral("Pain001.xml"), "x", March5),
            QStringLiteral("2026-03-05_140509_0001_Pain001.xml"));
}

} // namespace
