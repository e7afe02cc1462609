#include "app/commands/SendToAuthorCommand.h"

#include "FakeHost.h"

#include <gtest/gtest.h>

namespace {

const QString Question = QStringLiteral("Czy na pewno chcesz wysłać wskazany plik do autora programu?");
const QString EmptyFieldHelp =
    QStringLiteral("Pole ścieżki do pliku XML/IMP, który chcesz wysłać do autora programu nie może być puste ...\r\r"
                   "Wybierz odpowiedni plik XML/IMP. ");

class TSendToAuthorCommandTest : public ::testing::Test {
protected:
  QStringList Log() const {
    QStringList lines;
    for (const TLogEntry &entry : Host.LogEntries)
      lines.append(entry.WithSeparator ? entry.Text + QStringLiteral("|separator") : entry.Text);
    return lines;
  }

  TFakeHost Host;
  TSendToAuthorCommand Command{Host.Host()};
};

TEST_F(TSendToAuthorCommandTest, SendsTheFileWithThePayerFieldsAsTheyStand) {
  Host.ConfirmAnswers = {true};

  Command.Press(QStringLiteral("/dane/faktura.xml"), QStringLiteral("Biuro Kos"), QStringLiteral("7740001454"));

  EXPECT_EQ(Host.Confirmations, QStringList{Question});
  ASSERT_EQ(Host.SentMails.size(), 1u);
  EXPECT_EQ(Host.SentMails[0].Body, QStringLiteral("Biuro Kos 7740001454"));
  EXPECT_EQ(Host.SentMails[0].FileName, QStringLiteral("/dane/faktura.xml"));
  EXPECT_EQ(Log(), QStringList({QString(45, u'-'), QStringLiteral("Plik do autora został wysłany pomyślnie ...")}));
  EXPECT_EQ(Host.MessageBoxes, QStringList{QStringLiteral("Plik wysłany pomyślnie!")});
}

TEST_F(TSendToAuthorCommandTest, AFailureShowsOnlyTheBoxWithTheReason) {
  Host.ConfirmAnswers = {true};
  Host.MailFailure = QStringLiteral("Nie można połączyć się z serwerem pocztowym smtp.example.pl.");

  Command.Press(QStringLiteral("faktura.xml"), QString(), QString());

  ASSERT_EQ(Host.SentMails.size(), 1u);
  EXPECT_EQ(Host.SentMails[0].Body, QStringLiteral(" ")) << "empty payer fields give a single blank";
  EXPECT_EQ(Host.MessageBoxes,
            QStringList{QStringLiteral("Błąd wysyłki: Nie można połączyć się z serwerem pocztowym smtp.example.pl.")});
  EXPECT_TRUE(Host.LogEntries.empty());
}

// The box is for the user; what a technician needs goes to the log.
TEST_F(TSendToAuthorCommandTest, AFailuresTechnicalDetailGoesToTheLogOnly) {
  Host.MailFailure = QStringLiteral("Certyfikat serwera pocztowego smtp.example.pl wygasł. Plik nie został wysłany.");
  Host.MailFailureDetail = QStringLiteral("SSL certificate problem: certificate has expired");

  EXPECT_FALSE(Command.SendFileToAuthor(QStringLiteral("faktura.xml"), QStringLiteral("Biuro Kos"), QString()));

  EXPECT_EQ(Host.MessageBoxes, QStringList{QStringLiteral("Błąd wysyłki: Certyfikat serwera pocztowego "
                                                          "smtp.example.pl wygasł. Plik nie został wysłany.")});
  ASSERT_EQ(Host.LogEntries.size(), 1u);
  EXPECT_EQ(Host.LogEntries[0].Text,
            QStringLiteral("Szczegóły błędu wysyłki: SSL certificate problem: certificate has expired"));
  EXPECT_EQ(Host.LogEntries[0].Kind, TLogKind::Error);
}

TEST_F(TSendToAuthorCommandTest, ACancelledSendLogsOneLineAndShowsNoBox) {
  Host.ConfirmAnswers = {true};
  Host.MailCancelled = true;

  EXPECT_FALSE(Command.SendFileToAuthor(QStringLiteral("faktura.xml"), QStringLiteral("Biuro Kos"), QString()));

  EXPECT_TRUE(Host.MessageBoxes.isEmpty());
  ASSERT_EQ(Host.LogEntries.size(), 1u);
  EXPECT_EQ(Host.LogEntries[0].Text, QStringLiteral("Wysyłanie pliku przerwane przez użytkownika."));
  EXPECT_EQ(Host.LogEntries[0].Kind, TLogKind::Info);
}

TEST_F(TSendToAuthorCommandTest, AProgramThatCannotSendTriesNothingAndLogsWhy) {
  Host.MailUnavailable = QStringLiteral("Program zbudowano bez ustawień serwera pocztowego (brak: serwer, hasło)");
  const QString unavailable = QStringLiteral("Wysyłka do autora jest niedostępna. Program zbudowano bez ustawień "
                                             "serwera pocztowego (brak: serwer, hasło)");

  EXPECT_EQ(Command.Unavailable(), unavailable);
  EXPECT_FALSE(Command.SendFileToAuthor(QStringLiteral("faktura.xml"), QStringLiteral("Biuro Kos"), QString()));

  EXPECT_TRUE(Host.SentMails.empty());
  ASSERT_EQ(Host.LogEntries.size(), 1u);
  EXPECT_EQ(Host.LogEntries[0].Text, QStringLiteral("Błąd: ") + unavailable);
  EXPECT_EQ(Host.LogEntries[0].Kind, TLogKind::Error);
  EXPECT_TRUE(Host.MessageBoxes.isEmpty());
}

TEST_F(TSendToAuthorCommandTest, AProgramThatCanSendHasNothingToExplain) {
  EXPECT_EQ(Command.Unavailable(), QString());
}

struct TNotSentCase {
  const char *Name;
  bool Answer;
  QString Field;
  QStringList InformationBoxes;
};

class TNotSentTest : public TSendToAuthorCommandTest, public ::testing::WithParamInterface<TNotSentCase> {};

TEST_P(TNotSentTest, SendsNothing) {
  Host.ConfirmAnswers = {GetParam().Answer};

  Command.Press(GetParam().Field, QStringLiteral("Biuro Kos"), QStringLiteral("7740001454"));

  EXPECT_EQ(Host.Confirmations, QStringList{Question}) << "the question comes first";
  EXPECT_EQ(Host.InformationBoxes, GetParam().InformationBoxes);
  EXPECT_TRUE(Host.SentMails.empty());
  EXPECT_TRUE(Host.LogEntries.empty());
  EXPECT_TRUE(Host.MessageBoxes.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Cases, TNotSentTest,
                         ::testing::Values(TNotSentCase{"NoWithEmptyField", false, QString(), {}},
                                           TNotSentCase{"NoWithFile", false, QStringLiteral("faktura.xml"), {}},
                                           TNotSentCase{"YesWithEmptyField", true, QString(), {EmptyFieldHelp}}),
                         [](const auto &info) { return std::string(info.param.Name); });

TEST_F(TSendToAuthorCommandTest, AFieldOfBlanksCountsAsFilled) {
  Host.ConfirmAnswers = {true};
  Host.MailFailure = QStringLiteral("Cannot open file \"  \". No such file or directory");

  Command.Press(QStringLiteral("  "), QStringLiteral("A"), QStringLiteral("1"));

  ASSERT_EQ(Host.SentMails.size(), 1u);
  EXPECT_EQ(Host.SentMails[0].FileName, QStringLiteral("  "));
  EXPECT_TRUE(Host.InformationBoxes.isEmpty());
}

} // namespace
