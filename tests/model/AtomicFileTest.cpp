#include "TestSupport.h"
#include "model/AtomicFile.h"

#include <QDir>

namespace {

TEST(WriteFileAtomically, ReplacesTheWholeFile) {
  TTempDir dir;
  dir.WriteBytes(QStringLiteral("a.txt"), "old content that is longer");
  WriteFileAtomically(dir.File(QStringLiteral("a.txt")), "new");
  EXPECT_EQ(dir.ReadBytes(QStringLiteral("a.txt")), QByteArray("new"));
  EXPECT_EQ(QDir(dir.Path()).entryList(QDir::Files), QStringList{QStringLiteral("a.txt")}) << "no temporary left";
}

TEST(WriteFileAtomically, RefusedWriteLeavesNothingAndSaysWhere) {
  TTempDir dir;
  dir.WriteBytes(QStringLiteral("file"), "x");
  // A regular file where a directory should be refuses the write even for root.
  const QString target = dir.File(QStringLiteral("file/out.txt"));
  EXPECT_THROW_MESSAGE(WriteFileAtomically(target, "data"), QStringLiteral("Unable to write to %1").arg(target));
  EXPECT_EQ(dir.ReadBytes(QStringLiteral("file")), QByteArray("x"));
}

TEST(WriteFileAtomically, WriteCutShortKeepsTheOldFile) {
  TTempDir dir;
  dir.WriteBytes(QStringLiteral("a.txt"), "old");
  const QString target = dir.File(QStringLiteral("a.txt"));
  {
    const TFileSizeLimit limit(64);
    EXPECT_THROW_MESSAGE(WriteFileAtomically(target, QByteArray(1000, 'x')),
                         QStringLiteral("Unable to write to %1").arg(target));
  }
  EXPECT_EQ(dir.ReadBytes(QStringLiteral("a.txt")), QByteArray("old"));
  EXPECT_EQ(QDir(dir.Path()).entryList(QDir::Files), QStringList{QStringLiteral("a.txt")}) << "no temporary left";
}

TEST(WriteFileAtomically, StreamedPiecesMakeTheFile) {
  TTempDir dir;
  dir.WriteBytes(QStringLiteral("a.txt"), "old");
  WriteFileAtomically(dir.File(QStringLiteral("a.txt")), [](const TByteSink &sink) {
    sink("first ");
    sink("second");
  });
  EXPECT_EQ(dir.ReadBytes(QStringLiteral("a.txt")), QByteArray("first second"));
}

TEST(WriteFileAtomically, FailedProducerLeavesTheOldFileAndPassesItsError) {
  TTempDir dir;
  dir.WriteBytes(QStringLiteral("a.txt"), "old");
  EXPECT_THROW_MESSAGE(WriteFileAtomically(dir.File(QStringLiteral("a.txt")),
                                           [](const TByteSink &sink) {
                                             sink(QByteArray(100000, 'x'));
                                             throw Exception(QStringLiteral("Brak danych"));
                                           }),
                       QStringLiteral("Brak danych"));
  EXPECT_EQ(dir.ReadBytes(QStringLiteral("a.txt")), QByteArray("old"));
  EXPECT_EQ(QDir(dir.Path()).entryList(QDir::Files), QStringList{QStringLiteral("a.txt")}) << "no temporary left";
}

TEST(WriteFileAtomically, StreamCutShortKeepsTheOldFile) {
  TTempDir dir;
  dir.WriteBytes(QStringLiteral("a.txt"), "old");
  const QString target = dir.File(QStringLiteral("a.txt"));
  {
    const TFileSizeLimit limit(64);
    // Pieces larger than any buffer go to the disk at once: the first one already fails.
    EXPECT_THROW_MESSAGE(WriteFileAtomically(target,
                                             [](const TByteSink &sink) {
                                               for (int i = 0; i < 3; ++i)
                                                 sink(QByteArray(100000, 'x'));
                                             }),
                         QStringLiteral("Unable to write to %1").arg(target));
  }
  EXPECT_EQ(dir.ReadBytes(QStringLiteral("a.txt")), QByteArray("old"));
  EXPECT_EQ(QDir(dir.Path()).entryList(QDir::Files), QStringList{QStringLiteral("a.txt")}) << "no temporary left";
}

} // namespace
