#include "app/commands/AppPaths.h"
#include "TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

TEST(AppPathsTest, AppDirIsTheOverrideDirectoryEndingWithASlash) {
  TTempAppDir appDir;
  EXPECT_EQ(AppDir(), appDir.Path() + QStringLiteral("/"));
  EXPECT_EQ(AppFilePath(QStringLiteral("PLIKI_DO_BANKU/Pain001.xml")),
            appDir.Path() + QStringLiteral("/PLIKI_DO_BANKU/Pain001.xml"));
}

TEST(AppPathsTest, ATrailingSlashOfTheOverrideIsNotDoubled) {
  TTempAppDir appDir;
  qputenv("PAVENA_DIR", (appDir.Path() + QStringLiteral("/")).toLocal8Bit());
  EXPECT_EQ(AppFilePath(QStringLiteral("settings.ini")), appDir.Path() + QStringLiteral("/settings.ini"));
}

TEST(AppPathsTest, ARelativeOverrideBecomesAFullPath) {
  TTempAppDir appDir;
  qputenv("PAVENA_DIR", "przelewy");
  EXPECT_EQ(AppDir(), QDir::currentPath() + QStringLiteral("/przelewy/"));
}

TEST(AppPathsTest, CreateWorkDirectoriesMakesTheThreeDirectoriesAndKeepsExistingOnes) {
  TTempAppDir appDir;
  QDir(appDir.Path()).mkdir(QStringLiteral("PLIKI_DO_BANKU"));
  appDir.WriteBytes(QStringLiteral("PLIKI_DO_BANKU/Pain001.xml"), "old");

  CreateWorkDirectories();

  for (const QString &name : {QStringLiteral("XML_PZ"), QStringLiteral("FAKTURY"), QStringLiteral("PLIKI_DO_BANKU")})
    EXPECT_TRUE(QFileInfo(appDir.File(name)).isDir()) << name.toStdString();
  EXPECT_EQ(appDir.ReadBytes(QStringLiteral("PLIKI_DO_BANKU/Pain001.xml")), QByteArray("old"));
}

TEST(AppPathsTest, CreateWorkDirectoriesMakesMissingParents) {
  TTempDir root;
  TTempAppDir appDir;
  qputenv("PAVENA_DIR", root.File(QStringLiteral("a/b")).toLocal8Bit());
  CreateWorkDirectories();
  EXPECT_TRUE(QFileInfo(root.File(QStringLiteral("a/b/PLIKI_DO_BANKU"))).isDir());
}
