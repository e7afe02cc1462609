#include "TestSupport.h"
#include "model/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// Hidden files too: the temporaries are hidden.
QStringList AllEntries(const TTempDir &dir) {
  return QDir(dir.Path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

TEST(WriteFileAtomically, ReplacesTheWholeFile) {
  TTempDir dir;
  dir.WriteBytes(QStringLiteral("a.txt"), "old content that is longer");
  WriteFileAtomically(dir.File(QStringLiteral("a.txt")), "new");
  EXPECT_EQ(dir.ReadBytes(QStringLiteral("a.txt")), QByteArray("new"));
  EXPECT_EQ(AllEntries(dir), QStringList{QStringLiteral("a.txt")}) << "no temporary left";
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
  EXPECT_EQ(AllEntries(dir), QStringList{QStringLiteral("a.txt")}) << "no temporary left";
}

// A run killed while it wrote leaves its temporary; the next write of the same file clears it
// and nothing else, not even names that merely look alike.
TEST(WriteFileAtomically, RemovesWhatAKilledWriteOfTheSameFileLeftAndOnlyThat) {
  TTempDir dir;
  const QStringList kept{QStringLiteral(".BANKI.INI.pavena-Ab3xY9"), QStringLiteral(".a.txt.pavena-Ab3xY"),
                         QStringLiteral(".a.txt.pavena-Ab3x-9"), QStringLiteral("a.txt.backup"),
                         QStringLiteral("a.txt.Ab3xY9")};
  for (const QString &name : kept)
    dir.WriteBytes(name, "user's own");
  dir.WriteBytes(QStringLiteral(".a.txt.pavena-Ab3xY9"), "half a fi");

  WriteFileAtomically(dir.File(QStringLiteral("a.txt")), "new");

  QStringList expected = kept;
  expected.append(QStringLiteral("a.txt"));
  expected.sort();
  EXPECT_EQ(AllEntries(dir), expected);
  EXPECT_EQ(dir.ReadBytes(QStringLiteral("a.txt")), QByteArray("new"));
}

TEST(WriteFileAtomically, KeepsThePermissionsOfTheFileItReplaces) {
  TTempDir dir;
  dir.WriteBytes(QStringLiteral("a.txt"), "old");
  const QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
  ASSERT_TRUE(QFile::setPermissions(dir.File(QStringLiteral("a.txt")), ownerOnly));
  WriteFileAtomically(dir.File(QStringLiteral("a.txt")), "new");
  EXPECT_EQ(QFileInfo(dir.File(QStringLiteral("a.txt"))).permissions(), ownerOnly);
}

// The link stays a link, and the file it names gets the new content.
TEST(WriteFileAtomically, WritesThroughASymbolicLink) {
  TTempDir dir;
  dir.WriteBytes(QStringLiteral("real.ini"), "old");
  ASSERT_TRUE(QFile::link(dir.File(QStringLiteral("real.ini")), dir.File(QStringLiteral("settings.ini"))));
  WriteFileAtomically(dir.File(QStringLiteral("settings.ini")), "new");
  EXPECT_TRUE(QFileInfo(dir.File(QStringLiteral("settings.ini"))).isSymLink());
  EXPECT_EQ(dir.ReadBytes(QStringLiteral("real.ini")), QByteArray("new"));
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
