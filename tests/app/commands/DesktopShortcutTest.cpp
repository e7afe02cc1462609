#include "app/commands/DesktopShortcut.h"

#include "FakeHost.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

// The program kept in a directory with a blank in its name, its data elsewhere; neither needs
// to exist for the launcher to be written.
const TAppPaths Installed{QStringLiteral("/opt/Pavena 1.18/"), QStringLiteral("/home/anna/.local/share/Pavena/")};

const QString ExpectedEntry = QStringLiteral("[Desktop Entry]\n"
                                             "Type=Application\n"
                                             "Version=1.0\n"
                                             "Name=Pavena\n"
                                             "Exec=\"/opt/Pavena 1.18/pavena\"\n"
                                             "Path=/opt/Pavena 1.18/\n"
                                             "Icon=/opt/Pavena 1.18/pavena.png\n"
                                             "Terminal=false\n"
                                             "Categories=Office;Finance;\n");

const QString Created = QStringLiteral("Skrót został utworzony na pulpicie !!!");

class TDesktopShortcutTest : public ::testing::Test {
protected:
  TDesktopShortcutTest() {
    QDir(Home.Path()).mkdir(QStringLiteral("Pulpit"));
    Fake.DesktopFolderPath = Home.File(QStringLiteral("Pulpit"));
    Fake.ApplicationsFolderPath = Home.File(QStringLiteral(".local/share/applications"));
  }

  QString Launcher() const { return Home.File(QStringLiteral("Pulpit/Pavena.desktop")); }
  QString MenuEntry() const { return Home.File(QStringLiteral(".local/share/applications/pavena.desktop")); }
  // Sorted by code point, whatever the locale's collation.
  QStringList DesktopFiles() const {
    QStringList files = QDir(Fake.DesktopFolderPath).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    files.sort();
    return files;
  }
  void Press() { PressCreateDesktopShortcut(Fake.Host()); }

  TTempDir Home;
  TFakeHost Fake{Installed};
};

TEST_F(TDesktopShortcutTest, PutsAnExecutableTrustedLauncherOnTheDesktopAndTheSameEntryInTheMenu) {
  Press();

  EXPECT_EQ(DesktopFiles(), QStringList{QStringLiteral("Pavena.desktop")});
  EXPECT_EQ(QString::fromUtf8(Home.ReadBytes(QStringLiteral("Pulpit/Pavena.desktop"))), ExpectedEntry);
  const QFile::Permissions executable = QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
  EXPECT_EQ(QFileInfo(Launcher()).permissions() & executable, executable);
  EXPECT_EQ(Fake.TrustedLaunchers, QStringList{Launcher()});
  EXPECT_EQ(QString::fromUtf8(Home.ReadBytes(QStringLiteral(".local/share/applications/pavena.desktop"))),
            ExpectedEntry);
  EXPECT_EQ(Fake.MessageBoxes, QStringList{Created});
  EXPECT_TRUE(Fake.ErrorBoxes.isEmpty());
}

TEST_F(TDesktopShortcutTest, PressingAgainReplacesTheLauncher) {
  Home.WriteBytes(QStringLiteral("Pulpit/Pavena.desktop"), "[Desktop Entry]\nExec=/stary/pavena\n");
  Home.WriteBytes(QStringLiteral("Pulpit/notatki.txt"), "zostaje");

  Press();
  Press();

  EXPECT_EQ(DesktopFiles(), (QStringList{QStringLiteral("Pavena.desktop"), QStringLiteral("notatki.txt")}));
  EXPECT_EQ(QString::fromUtf8(Home.ReadBytes(QStringLiteral("Pulpit/Pavena.desktop"))), ExpectedEntry);
  EXPECT_EQ(Fake.MessageBoxes, QStringList(2, Created));
}

TEST_F(TDesktopShortcutTest, AMissingDesktopFolderIsAnErrorForTheDefaultBox) {
  QDir(Fake.DesktopFolderPath).removeRecursively();

  RunGuarded(Fake, [this] { Press(); });

  EXPECT_EQ(Fake.ErrorBoxes,
            QStringList{QStringLiteral("Folder pulpitu %1 nie istnieje").arg(Home.File(QStringLiteral("Pulpit")))});
  EXPECT_TRUE(Fake.MessageBoxes.isEmpty());
  EXPECT_FALSE(QFileInfo::exists(Fake.DesktopFolderPath)) << "the desktop folder is not created";
  EXPECT_FALSE(QFileInfo::exists(MenuEntry()));
}

TEST_F(TDesktopShortcutTest, TheTargetIsPavenaInTheProgramDirectoryWhateverTheDataDirectory) {
  TFakeHost portable(TAppPaths{Home.File(QStringLiteral("kopia/")), Home.File(QStringLiteral("dane/"))});
  portable.DesktopFolderPath = Fake.DesktopFolderPath;

  PressCreateDesktopShortcut(portable.Host());

  const QString entry = QString::fromUtf8(Home.ReadBytes(QStringLiteral("Pulpit/Pavena.desktop")));
  const QString program = Home.File(QStringLiteral("kopia/"));
  EXPECT_TRUE(entry.contains(QStringLiteral("\nExec=\"%1pavena\"\n").arg(program))) << entry.toStdString();
  EXPECT_TRUE(entry.contains(QStringLiteral("\nPath=%1\n").arg(program))) << entry.toStdString();
  EXPECT_TRUE(entry.contains(QStringLiteral("\nIcon=%1pavena.png\n").arg(program))) << entry.toStdString();
  // A desktop without a folder of menu entries gets the launcher alone.
  EXPECT_FALSE(QFileInfo::exists(MenuEntry()));
  EXPECT_EQ(portable.MessageBoxes, QStringList{Created});
}

TEST_F(TDesktopShortcutTest, AnInstalledPackageGetsALauncherByCommandNameAndNoSecondMenuEntry) {
  TAppPaths packaged{QStringLiteral("/usr/lib/pavena/"), Home.File(QStringLiteral(".local/share/Pavena/"))};
  packaged.DataDirChoice = TDataDirChoice::UserData;
  TFakeHost host(packaged);
  host.DesktopFolderPath = Fake.DesktopFolderPath;
  host.ApplicationsFolderPath = Fake.ApplicationsFolderPath;

  PressCreateDesktopShortcut(host.Host());

  EXPECT_EQ(QString::fromUtf8(Home.ReadBytes(QStringLiteral("Pulpit/Pavena.desktop"))),
            QStringLiteral("[Desktop Entry]\n"
                           "Type=Application\n"
                           "Version=1.0\n"
                           "Name=Pavena\n"
                           "Exec=pavena\n"
                           "Icon=pavena\n"
                           "Terminal=false\n"
                           "Categories=Office;Finance;\n"));
  EXPECT_EQ(host.TrustedLaunchers, QStringList{Launcher()});
  EXPECT_FALSE(QFileInfo::exists(MenuEntry()));
  EXPECT_EQ(host.MessageBoxes, QStringList{Created});
}

TEST_F(TDesktopShortcutTest, ADesktopFolderNamedButMissingGivesWayToPulpitOrDesktop) {
  for (const QString &usual : {QStringLiteral("Pulpit"), QStringLiteral("Desktop")}) {
    const TTempDir home;
    ASSERT_TRUE(QDir(home.Path()).mkdir(usual));
    Fake.DesktopFolderPath = home.File(QStringLiteral("Biurko"));

    Press();

    EXPECT_TRUE(QFileInfo::exists(home.File(usual + QStringLiteral("/Pavena.desktop")))) << usual.toStdString();
    EXPECT_FALSE(QFileInfo::exists(home.File(QStringLiteral("Biurko"))));
  }
}

} // namespace
