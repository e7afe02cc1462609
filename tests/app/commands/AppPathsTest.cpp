#include "app/commands/AppPaths.h"
#include "TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <optional>
#include <pwd.h>
#include <unistd.h>

namespace {

// Sets an environment variable while it lives; the previous value comes back afterwards.
class TScopedVariable {
public:
  TScopedVariable(const char *name, const QString &value) : FName(name) {
    if (qEnvironmentVariableIsSet(name))
      FPrevious = qgetenv(name);
    qputenv(name, value.toLocal8Bit());
  }
  ~TScopedVariable() {
    if (FPrevious)
      qputenv(FName, *FPrevious);
    else
      qunsetenv(FName);
  }
  TScopedVariable(const TScopedVariable &) = delete;
  TScopedVariable &operator=(const TScopedVariable &) = delete;

private:
  const char *FName;
  std::optional<QByteArray> FPrevious;
};

TEST(AppPathsTest, TheOverrideNamesTheDataDirectoryEndingWithASlash) {
  TTempDir dir;
  const TScopedVariable override("PAVENA_DIR", dir.Path() + QStringLiteral("/"));
  const TAppPaths paths = TAppPaths::OfRunningProgram();
  EXPECT_EQ(paths.AppDir, dir.Path() + QStringLiteral("/"));
  EXPECT_EQ(paths.OutputFile(QStringLiteral("Pain001.xml")),
            dir.Path() + QStringLiteral("/PLIKI_DO_BANKU/Pain001.xml"));
  EXPECT_EQ(paths.SettingsFile(), dir.Path() + QStringLiteral("/settings.ini"));
  EXPECT_EQ(paths.BankFile(), dir.Path() + QStringLiteral("/BANKI.INI"));
  // The executable's own directory stays where the program's own files are.
  EXPECT_EQ(paths.ProgramDir, QCoreApplication::applicationDirPath() + QStringLiteral("/"));
}

TEST(AppPathsTest, WithoutOverrideBothDirectoriesAreTheExecutables) {
  const TScopedVariable override("PAVENA_DIR", QString{});
  const TAppPaths paths = TAppPaths::OfRunningProgram();
  EXPECT_EQ(paths.AppDir, QCoreApplication::applicationDirPath() + QStringLiteral("/"));
  EXPECT_EQ(paths.ProgramDir, paths.AppDir);
}

TEST(AppPathsTest, ARelativeOverrideBecomesAFullPath) {
  const TScopedVariable override("PAVENA_DIR", QStringLiteral("przelewy"));
  EXPECT_EQ(TAppPaths::OfRunningProgram().AppDir, QDir::currentPath() + QStringLiteral("/przelewy/"));
}

// Root creates files wherever it likes. To meet a read-only directory as a user does, a test
// run by root takes nobody's effective ids for a while; the saved ids give root back.
class TAsUnprivilegedUser {
public:
  TAsUnprivilegedUser() {
    const passwd *nobody = getpwnam("nobody");
    if (geteuid() != 0 || !nobody)
      return;
    FDropped = setegid(nobody->pw_gid) == 0 && seteuid(nobody->pw_uid) == 0;
  }
  ~TAsUnprivilegedUser() {
    if (FDropped && (seteuid(0) != 0 || setegid(0) != 0))
      std::abort();
  }
  TAsUnprivilegedUser(const TAsUnprivilegedUser &) = delete;
  TAsUnprivilegedUser &operator=(const TAsUnprivilegedUser &) = delete;

private:
  bool FDropped = false;
};

// A program directory inside a temporary folder that every user may enter.
class TProgramDirTest : public ::testing::Test {
protected:
  TProgramDirTest() {
    QFile::setPermissions(Root.Path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                           QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    QDir(Root.Path()).mkdir(QStringLiteral("program"));
  }
  ~TProgramDirTest() override { MakeProgramDirWritable(); }

  void MakeProgramDirReadOnly() const {
    QFile::setPermissions(ProgramDir(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                                            QFile::ReadOther | QFile::ExeOther);
  }
  void MakeProgramDirWritable() const {
    QFile::setPermissions(ProgramDir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }
  QString ProgramDir() const { return Root.File(QStringLiteral("program")); }
  QString UserDataDir() const { return Root.File(QStringLiteral("home/.local/share/Pavena")); }
  // Where the package would put the program: elsewhere, unless a test says otherwise.
  QString PackagedProgramDir() const { return Root.File(QStringLiteral("usr/lib/pavena")); }

  TTempDir Root;
};

TEST_F(TProgramDirTest, AWritableProgramDirectoryKeepsTheDataBesideTheExecutable) {
  const TAppPaths paths = TAppPaths::Choose(ProgramDir(), QString(), UserDataDir(), PackagedProgramDir());
  EXPECT_EQ(paths.AppDir, ProgramDir() + QStringLiteral("/"));
  EXPECT_EQ(paths.ProgramDir, ProgramDir() + QStringLiteral("/"));
  EXPECT_EQ(paths.DataDirChoice, TDataDirChoice::ProgramDir);
  // The probe leaves nothing behind.
  EXPECT_TRUE(QDir(ProgramDir()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
}

TEST_F(TProgramDirTest, AReadOnlyProgramDirectoryPutsTheDataIntoTheUsersFolder) {
  MakeProgramDirReadOnly();
  const TAsUnprivilegedUser user;

  const TAppPaths paths = TAppPaths::Choose(ProgramDir(), QString(), UserDataDir(), PackagedProgramDir());

  EXPECT_EQ(paths.AppDir, UserDataDir() + QStringLiteral("/"));
  EXPECT_EQ(paths.DataDirChoice, TDataDirChoice::UserData);
  EXPECT_EQ(paths.SettingsFile(), UserDataDir() + QStringLiteral("/settings.ini"));
  // The manual, the icon and the generator stay beside the executable.
  EXPECT_EQ(paths.ProgramDir, ProgramDir() + QStringLiteral("/"));
  EXPECT_EQ(paths.ManualFile(), ProgramDir() + QStringLiteral("/OpisPrzelewyISO20022.pdf"));
}

// Root can write the package's directory; its data still go to root's own folder, so that
// nothing lands among the package's files and apt-get remove leaves no folder behind.
TEST_F(TProgramDirTest, ThePackagesProgramDirectoryPutsTheDataIntoTheUsersFolderEvenWhenWritable) {
  const QString packaged = ProgramDir() + QStringLiteral("/../program");
  const TAppPaths paths = TAppPaths::Choose(ProgramDir(), QString(), UserDataDir(), packaged);

  EXPECT_EQ(paths.AppDir, UserDataDir() + QStringLiteral("/"));
  EXPECT_EQ(paths.DataDirChoice, TDataDirChoice::UserData);
  EXPECT_EQ(paths.ProgramDir, ProgramDir() + QStringLiteral("/"));
}

TEST_F(TProgramDirTest, TheOverrideWinsOverAReadOnlyProgramDirectory) {
  MakeProgramDirReadOnly();
  const TAsUnprivilegedUser user;
  const TAppPaths paths =
      TAppPaths::Choose(ProgramDir(), Root.File(QStringLiteral("dane")), UserDataDir(), PackagedProgramDir());
  EXPECT_EQ(paths.AppDir, Root.File(QStringLiteral("dane/")));
  EXPECT_EQ(paths.DataDirChoice, TDataDirChoice::Override);
}

TEST(AppPathsTest, TheUsersDataFolderIsPavenasFolderAmongTheUsersData) {
  TTempDir data;
  const TScopedVariable dataHome("XDG_DATA_HOME", data.Path());
  EXPECT_EQ(TAppPaths::UserDataDir(), data.Path() + QStringLiteral("/Pavena"));
}

TEST(AppPathsTest, CreateWorkDirectoriesMakesTheThreeDirectoriesAndKeepsExistingOnes) {
  TTempDir appDir;
  QDir(appDir.Path()).mkdir(QStringLiteral("PLIKI_DO_BANKU"));
  appDir.WriteBytes(QStringLiteral("PLIKI_DO_BANKU/Pain001.xml"), "old");

  TAppPaths::InDirectory(appDir.Path()).CreateWorkDirectories();

  for (const QString &name : {QStringLiteral("XML_PZ"), QStringLiteral("FAKTURY"), QStringLiteral("PLIKI_DO_BANKU")})
    EXPECT_TRUE(QFileInfo(appDir.File(name)).isDir()) << name.toStdString();
  EXPECT_EQ(appDir.ReadBytes(QStringLiteral("PLIKI_DO_BANKU/Pain001.xml")), QByteArray("old"));
}

TEST(AppPathsTest, CreateWorkDirectoriesMakesMissingParents) {
  TTempDir root;
  TAppPaths::InDirectory(root.File(QStringLiteral("a/b"))).CreateWorkDirectories();
  EXPECT_TRUE(QFileInfo(root.File(QStringLiteral("a/b/PLIKI_DO_BANKU"))).isDir());
}

} // namespace
