#include "app/commands/AboutProgram.h"

#include "FakeHost.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(AboutProgramTest, TheTextHasThreeLabelledLines) {
  EXPECT_EQ(AboutText(QStringLiteral("+48 600 700 800"), QStringLiteral("autor@example.pl")),
            QStringLiteral("autor programu  :  Orsolan\r\n"
                           "telefon                  :  +48 600 700 800\r\n"
                           "adres poczty        :  autor@example.pl"));
}

TEST(AboutProgramTest, TheBoxShowsTheContactTheProgramWasBuiltWith) {
  TFakeHost host;
  ShowAbout(host.Host());
  EXPECT_EQ(host.AboutBoxes,
            QStringList{AboutText(QStringLiteral(PAVENA_AUTHOR_PHONE), QStringLiteral(PAVENA_MAIL_ADDRESS))});
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
