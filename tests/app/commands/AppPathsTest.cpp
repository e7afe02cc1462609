#include "app/commands/AppPaths.h"
#include "TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <optional>

namespace {

// Sets PAVENA_DIR while it lives; the previous value comes back afterwards.
class TScopedProgramDir {
public:
  explicit TScopedProgramDir(const QString &value) {
    if (qEnvironmentVariableIsSet("PAVENA_DIR"))
      FPrevious = qgetenv("PAVENA_DIR");
    qputenv("PAVENA_DIR", value.toLocal8Bit());
  }
  ~TScopedProgramDir() {
    if (FPrevious)
      qputenv("PAVENA_DIR", *FPrevious);
    else
      qunsetenv("PAVENA_DIR");
  }

private:
  std::optional<QByteArray> FPrevious;
};

TEST(AppPathsTest, TheOverrideNamesTheDataDirectoryEndingWithASlash) {
  TTempDir dir;
  const TScopedProgramDir override(dir.Path() + QStringLiteral("/"));
  const TAppPaths paths = TAppPaths::OfRunningProgram();
  EXPECT_EQ(paths.AppDir, dir.Path() + QStringLiteral("/"));
  EXPECT_EQ(paths.OutputFile(QStringLiteral("Pain001.xml")), dir.Path() + QStringLiteral("/PLIKI_DO_BANKU/Pain001.xml"));
  EXPECT_EQ(paths.SettingsFile(), dir.Path() + QStringLiteral("/settings.ini"));
  EXPECT_EQ(paths.BankFile(), dir.Path() + QStringLiteral("/BANKI.INI"));
  // The executable's own directory stays where the program's own files are.
  EXPECT_EQ(paths.ProgramDir, QCoreApplication::applicationDirPath() + QStringLiteral("/"));
}

TEST(AppPathsTest, WithoutOverrideBothDirectoriesAreTheExecutables) {
  const TScopedProgramDir override(QString{});
  const TAppPaths paths = TAppPaths::OfRunningProgram();
  EXPECT_EQ(paths.AppDir, QCoreApplication::applicationDirPath() + QStringLiteral("/"));
  EXPECT_EQ(paths.ProgramDir, paths.AppDir);
}

TEST(AppPathsTest, ARelativeOverrideBecomesAFullPath) {
  const TScopedProgramDir override(QStringLiteral("przelewy"));
  EXPECT_EQ(TAppPaths::OfRunningProgram().AppDir, QDir::currentPath() + QStringLiteral("/przelewy/"));
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
