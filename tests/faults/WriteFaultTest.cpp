// Every file the program writes (the transfer files, settings.ini, BANKI.INI, the launcher) meets the faults
// of a real machine: a process killed midway, a full disk, a read-only file system and its
// directory removed while the program runs. Afterwards the file is whole, old or new.

#include "FakeHost.h"
#include "KillWhileWriting.h"
#include "SmallDisk.h"
#include "TestSupport.h"
#include "app/commands/DesktopShortcut.h"
#include "iso20022/Pain001Writer.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>
#include <random>

namespace {

// A program directory's file and the program's own way of writing version `version` of it.
struct TWrittenFile {
  const char *Name;
  const char *RelativePath;
  std::function<void(const QString &fileName, int version)> Write;
  // The user's desktop folder is never made by the program: without it the launcher fails.
  bool DirectoryComesBack = true;
};

void PrintTo(const TWrittenFile &file, std::ostream *os) { *os << file.Name; }

// Big enough that a write takes a while and a cut-off file could not pass for a whole one.
void WriteTransferFile(const QString &fileName, int version) {
  const TCompanyData payer{QStringLiteral("Płatnik S.A."), QStringLiteral("1234563218"),
                           QStringLiteral("PL27114020040000300201355387"), QStringLiteral("BREXPLPW")};
  TPaymentList payments;
  for (int i = 0; i < 100 + 50 * version; ++i) {
    TPayment payment;
    payment.InvoiceNumber = QStringLiteral("FV/%1/%2").arg(i).arg(version);
    payment.CreditorName = QStringLiteral("Dostawca %1").arg(i);
    payment.CreditorIBAN = QStringLiteral("PL61109010140000071219812874");
    payment.Amount = TAmount::FromUnits(10000 * (i + 1) + version);
    payment.CreditorCountry = QStringLiteral("PL");
    payment.CreditorTwnNm = QStringLiteral("Łódź");
    payments.push_back(payment);
  }
  TPain001Writer::Generate(payments, payer, TMPPSettings{}, fileName, QDateTime(QDate(2026, 3, 5), QTime(14, 5, 9)));
}

// The payer changes; the rest of the file, which the user keeps there, stays.
void WriteSettings(const QString &fileName, int version) {
  if (!QFile::exists(fileName)) {
    TIniFile notes(fileName);
    for (int i = 0; i < 300; ++i)
      notes.WriteString(QStringLiteral("Notatki"), QStringLiteral("Linia%1").arg(i),
                        QStringLiteral("Zażółć gęślą jaźń"));
    notes.Save();
  }
  TSettings::SaveCompany(
      fileName, TCompanyData{QStringLiteral("Firma %1 Spółka").arg(version), QStringLiteral("123456321%1").arg(version),
                             QStringLiteral("PL2711402004000030020135538%1").arg(version), QStringLiteral("BREXPLPW")});
}

// The register as the bank page saves it: the whole file built anew, Konto1 to KontoN.
void WriteBankRegister(const QString &fileName, int version) {
  TIniFile bank(fileName);
  for (const QString &section : bank.ReadSections())
    bank.EraseSection(section);
  for (int i = 1; i <= 60 + 30 * version; ++i) {
    const QString section = QStringLiteral("Konto%1").arg(i);
    bank.WriteString(section, QStringLiteral("Opis"), QStringLiteral("Rachunek %1 wersji %2").arg(i).arg(version));
    bank.WriteString(section, QStringLiteral("NIP"), QStringLiteral("1234563218"));
    bank.WriteString(section, QStringLiteral("Name"), QStringLiteral("Płatnik S.A."));
    bank.WriteString(section, QStringLiteral("IBAN"), QStringLiteral("PL27114020040000300201355387"));
    bank.WriteString(section, QStringLiteral("BIC"), QStringLiteral("BREXPLPW"));
  }
  bank.Save();
}

// The desktop launcher, with its copy among the menu entries beside it.
void WriteLauncher(const QString &fileName, int version) {
  TFakeHost host;
  host.DesktopFolderPath = QFileInfo(fileName).absolutePath();
  host.ApplicationsFolderPath = host.DesktopFolderPath;
  const QString programDir = QStringLiteral("/opt/Pavena wersja %1/").arg(version);
  CreateDesktopShortcut(host, QStringLiteral("Pavena"), programDir + QStringLiteral("pavena"), {},
                        programDir + QStringLiteral("pavena.png"));
}

QByteArray ReadAll(const QString &fileName) {
  QFile file(fileName);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Everything in the directory, hidden files included, so that no temporary goes unseen.
QStringList Entries(const QString &directory) {
  return QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

class WriteFault : public ::testing::TestWithParam<TWrittenFile> {
protected:
  // The bytes of each version, as a write that nothing disturbed leaves them.
  std::vector<QByteArray> Versions(int count) const {
    std::vector<QByteArray> versions;
    for (int version = 0; version < count; ++version) {
      const TTempDir dir;
      const QString fileName = dir.File(QString::fromUtf8(GetParam().RelativePath));
      GetParam().Write(fileName, version);
      versions.push_back(ReadAll(fileName));
    }
    return versions;
  }
};

TEST_P(WriteFault, AProcessKilledAtEachStepOfAWriteLeavesTheOldFileOrTheNewOne) {
  const std::vector<QByteArray> versions = Versions(2);
  const TTempDir dir;
  const QString fileName = dir.File(QString::fromUtf8(GetParam().RelativePath));
  const QString directory = QFileInfo(fileName).path();
  GetParam().Write(fileName, 0);
  const QStringList entriesBefore = Entries(directory);
  const std::vector<TAtomicWriteStep> steps = StepsOfWrite([&] { GetParam().Write(fileName, 1); });
  GetParam().Write(fileName, 0);
  ASSERT_FALSE(steps.empty());

  bool renamedBefore = false;
  for (std::size_t stop = 0; stop < steps.size(); ++stop) {
    ASSERT_TRUE(KillAtWriteStep([&] { GetParam().Write(fileName, 1); }, stop));
    const QByteArray content = ReadAll(fileName);
    const bool lastStep = stop + 1 == steps.size();
    if (!renamedBefore && steps[stop] != TAtomicWriteStep::Renamed)
      EXPECT_EQ(content, versions[0]) << "killed at step " << stop << " before anything was renamed";
    else if (lastStep)
      EXPECT_EQ(content, versions[1]) << "killed after the write had ended";
    else
      EXPECT_TRUE(content == versions[0] || content == versions[1])
          << "killed at step " << stop << ", which left " << content.size() << " bytes";
    // Killed inside a write, the process leaves its temporary behind; after a rename, nothing.
    if (steps[stop] == TAtomicWriteStep::Renamed)
      EXPECT_EQ(Entries(directory), entriesBefore) << "killed at step " << stop;
    else
      EXPECT_NE(Entries(directory), entriesBefore) << "killed at step " << stop;
    renamedBefore = renamedBefore || steps[stop] == TAtomicWriteStep::Renamed;

    // The next run writes as if nothing had happened, and clears what the killed one left.
    GetParam().Write(fileName, 0);
    ASSERT_EQ(ReadAll(fileName), versions[0]);
    ASSERT_EQ(Entries(directory), entriesBefore) << "after the kill at step " << stop;
  }
}

// Kills at moments nobody chose, in addition to the steps above: wherever they land, the file
// is whole. Where they land depends on the machine, so no number of them is required to hit a
// write.
TEST_P(WriteFault, AProcessKilledAtRandomMomentsLeavesTheOldFileOrTheNewOne) {
  const std::vector<QByteArray> versions = Versions(2);
  const TTempDir dir;
  const QString fileName = dir.File(QString::fromUtf8(GetParam().RelativePath));
  const QString directory = QFileInfo(fileName).path();
  GetParam().Write(fileName, 0);
  const QStringList entriesBefore = Entries(directory);

  const auto start = std::chrono::steady_clock::now();
  GetParam().Write(fileName, 1);
  const auto oneWrite = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
  GetParam().Write(fileName, 0);
  std::mt19937 random(20260305);
  std::uniform_int_distribution<long> delay(0, 2 * oneWrite.count());
  for (int kill = 0; kill < 24; ++kill) {
    const long microseconds = delay(random);
    // The child writes version 1, 0, 1, 0, ... until it is killed.
    ASSERT_TRUE(KillWhileWriting([&](int round) { GetParam().Write(fileName, (round + 1) % 2); },
                                 std::chrono::microseconds(microseconds)));
    const QByteArray content = ReadAll(fileName);
    ASSERT_TRUE(content == versions[0] || content == versions[1])
        << "kill " << kill << " after " << microseconds << " us left " << content.size() << " bytes";

    GetParam().Write(fileName, 0);
    ASSERT_EQ(ReadAll(fileName), versions[0]);
    ASSERT_EQ(Entries(directory), entriesBefore) << "after kill " << kill;
  }
}

TEST_P(WriteFault, AFullDiskFailsTheWriteAndKeepsTheOldFile) {
  const std::vector<QByteArray> versions = Versions(2);
  TSmallDisk disk(4 * 1024 * 1024);
  if (!disk.Mounted())
    GTEST_SKIP() << "No small disk to fill: " << disk.Problem().toStdString();
  const QString fileName = disk.File(QString::fromUtf8(GetParam().RelativePath));
  GetParam().Write(fileName, 0);
  disk.Fill();
  const QStringList entriesBefore = Entries(QFileInfo(fileName).path());

  EXPECT_THROW_MESSAGE(GetParam().Write(fileName, 1), QStringLiteral("Unable to write to %1").arg(fileName));
  EXPECT_EQ(ReadAll(fileName), versions[0]);
  EXPECT_EQ(Entries(QFileInfo(fileName).path()), entriesBefore);
}

TEST_P(WriteFault, AReadOnlyFileSystemFailsTheWriteAndKeepsTheOldFile) {
  const std::vector<QByteArray> versions = Versions(2);
  TSmallDisk disk(4 * 1024 * 1024);
  if (!disk.Mounted())
    GTEST_SKIP() << "No file system to make read-only: " << disk.Problem().toStdString();
  const QString fileName = disk.File(QString::fromUtf8(GetParam().RelativePath));
  GetParam().Write(fileName, 0);
  disk.MakeReadOnly();

  EXPECT_THROW_MESSAGE(GetParam().Write(fileName, 1), QStringLiteral("Unable to write to %1").arg(fileName));
  EXPECT_EQ(ReadAll(fileName), versions[0]);
}

TEST_P(WriteFault, ADirectoryRemovedWhileTheProgramRunsIsCreatedAgain) {
  const std::vector<QByteArray> versions = Versions(2);
  const TTempDir dir;
  const QString fileName = dir.File(QStringLiteral("gone/") + QString::fromUtf8(GetParam().RelativePath));
  QDir().mkpath(QFileInfo(fileName).path());
  GetParam().Write(fileName, 0);
  ASSERT_TRUE(QDir(dir.File(QStringLiteral("gone"))).removeRecursively());

  if (!GetParam().DirectoryComesBack) {
    EXPECT_THROW_MESSAGE(GetParam().Write(fileName, 1),
                         QStringLiteral("Folder pulpitu %1 nie istnieje").arg(dir.File(QStringLiteral("gone"))));
    EXPECT_FALSE(QFileInfo::exists(dir.File(QStringLiteral("gone"))));
    return;
  }
  GetParam().Write(fileName, 1);
  EXPECT_EQ(ReadAll(fileName), versions[1]);
}

INSTANTIATE_TEST_SUITE_P(Files, WriteFault,
                         ::testing::Values(TWrittenFile{"TransferFile", "PLIKI_DO_BANKU/Pain001Paczka.xml",
                                                        WriteTransferFile},
                                           TWrittenFile{"Settings", "settings.ini", WriteSettings},
                                           TWrittenFile{"BankRegister", "BANKI.INI", WriteBankRegister},
                                           TWrittenFile{"Launcher", "Pavena.desktop", WriteLauncher, false}),
                         [](const auto &info) { return std::string(info.param.Name); });

} // namespace
