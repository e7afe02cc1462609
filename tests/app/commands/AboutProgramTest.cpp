#include "app/commands/AboutProgram.h"

#include "FakeHost.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

const TAboutLine Author{QStringLiteral("autor programu"), QStringLiteral("Orsolan")};
const TAboutLine Version{QStringLiteral("wersja"), QStringLiteral("1.19")};
const TAboutLine Phone{QStringLiteral("telefon"), QStringLiteral("+48 600 700 800")};
const TAboutLine Mail{QStringLiteral("adres poczty"), QStringLiteral("autor@example.pl")};

struct TAboutCase {
  const char *Name;
  QString Phone;
  QString MailAddress;
  QList<TAboutLine> Lines;
};

class TAboutLinesTest : public ::testing::TestWithParam<TAboutCase> {};

TEST_P(TAboutLinesTest, LeaveOutALineWithoutAValue) {
  EXPECT_EQ(AboutLines(GetParam().Phone, GetParam().MailAddress), GetParam().Lines);
}

INSTANTIATE_TEST_SUITE_P(Contacts, TAboutLinesTest,
                         ::testing::Values(TAboutCase{"both", Phone.Value, Mail.Value, {Author, Version, Phone, Mail}},
                                           TAboutCase{"mailOnly", QString(), Mail.Value, {Author, Version, Mail}},
                                           TAboutCase{"phoneOnly", Phone.Value, QString(), {Author, Version, Phone}},
                                           TAboutCase{"none", QString(), QString(), {Author, Version}}),
                         [](const ::testing::TestParamInfo<TAboutCase> &info) { return std::string(info.param.Name); });

TEST(AboutProgramTest, TheBoxShowsTheContactTheProgramWasBuiltWith) {
  TFakeHost host;
  ShowAbout(host.Host());
  ASSERT_EQ(host.AboutBoxes.size(), 1u);
  EXPECT_EQ(host.AboutBoxes[0], AboutLines(QStringLiteral(PAVENA_AUTHOR_PHONE), QStringLiteral(PAVENA_MAIL_ADDRESS)));
}

// The program's files and its data in two places, as in an installed program.
class TManualTest : public ::testing::Test {
protected:
  TTempDir Program;
  TTempDir Data;
  TFakeHost Fake{TAppPaths{Program.Path() + QStringLiteral("/"), Data.Path() + QStringLiteral("/")}};
};

TEST_F(TManualTest, TheManualBesideTheExecutableIsOpened) {
  Program.WriteBytes(QStringLiteral("OpisPrzelewyISO20022.pdf"), "%PDF-1.4");
  Data.WriteBytes(QStringLiteral("OpisPrzelewyISO20022.pdf"), "%PDF-1.4");

  OpenManual(Fake.Host());

  EXPECT_EQ(Fake.OpenedFiles, QStringList{Program.File(QStringLiteral("OpisPrzelewyISO20022.pdf"))});
}

TEST_F(TManualTest, AMissingManualDoesNothingVisible) {
  OpenManual(Fake.Host());

  EXPECT_TRUE(Fake.OpenedFiles.isEmpty());
  EXPECT_TRUE(Fake.ErrorBoxes.isEmpty());
  EXPECT_TRUE(Fake.MessageBoxes.isEmpty());
  EXPECT_TRUE(Fake.LogEntries.empty());
}

} // namespace
