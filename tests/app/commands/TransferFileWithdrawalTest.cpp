// Withdrawing a transfer file that never went to the bank: its payments no longer warn as paid
// before, until the file is restored; a wrong number or state is refused with a clear message.

#include "CommandTest.h"
#include "app/commands/HistoryCommands.h"
#include "app/commands/HistoryListing.h"
#include "app/commands/TransferFileWithdrawal.h"

namespace {

const QDateTime March6(QDate(2026, 3, 6), QTime(9, 30, 0));
const QString Trial = QStringLiteral("PLIKI_DO_BANKU/archiwum/2026-03-05_140509_0001_Pain001.xml");

class TTransferFileWithdrawalTest : public TCommandTest {
protected:
  TTransferFileWithdrawalTest() {
    Invoices.WriteBytes(QStringLiteral("f.xml"), InvoiceXml(QStringLiteral("Dostawca"), QStringLiteral("ul. Polna 3"),
                                                            QStringLiteral("00-950 Warszawa"), QStringLiteral("FV/7")));
  }

  TTransferResult Single() {
    Host.LogEntries.clear();
    return Commands.PressSingle(Invoices.File(QStringLiteral("f.xml")), QString(), TMPPSettings{});
  }
  // The whole journal as the page reads it: its payments and their sums.
  struct TListing {
    std::vector<THistoryEntry> Entries;
    QMap<QString, TAmount> Sums;
  };
  TListing Listing() const {
    THistoryReader reader(AppDirectory.Paths());
    return {reader.Page({}, std::nullopt, 100), reader.Summarize({}).Sums};
  }

  TTempDir Invoices;
};

TEST_F(TTransferFileWithdrawalTest, AWithdrawnFileWarnsNoMoreUntilItIsRestored) {
  ASSERT_TRUE(Single());
  const std::int64_t trial = Listing().Entries.front().FileId;

  EXPECT_EQ(WithdrawTransferFile(AppDirectory.Paths(), trial, March6),
            QStringLiteral("Plik nr %1 (%2) oznaczono jako wycofany: jego płatności nie liczą się już jako zapłacone.")
                .arg(trial)
                .arg(Trial));
  const TTransferResult again = Single();

  EXPECT_EQ(again.Warnings, 0);
  EXPECT_EQ(Warnings(), QStringList());
  const TListing listing = Listing();
  ASSERT_EQ(listing.Entries.size(), 2u);
  EXPECT_EQ(listing.Entries[1].WithdrawnAt, std::optional(March6));
  EXPECT_EQ(listing.Entries[0].WithdrawnAt, std::nullopt);
  EXPECT_EQ(listing.Sums.value(QStringLiteral("PLN")), listing.Entries[0].Amount);

  // With the second run withdrawn too, only the restored trial can be named.
  WithdrawTransferFile(AppDirectory.Paths(), listing.Entries[0].FileId, March6);
  EXPECT_EQ(RestoreTransferFile(AppDirectory.Paths(), trial),
            QStringLiteral("Plik nr %1 (%2) przywrócono: jego płatności znów liczą się jako zapłacone.")
                .arg(trial)
                .arg(Trial));
  Single();
  EXPECT_EQ(Warnings(), QStringList{QStringLiteral("Uwaga: Przelew za fakturę FV/7 dla Dostawca (NIP odbiorcy "
                                                   "8943001230) jest już w pliku %1 z 2026-03-05 14:05:09: sprawdź, "
                                                   "czy bank nie zapłaci go drugi raz.")
                                        .arg(Trial)});
}

TEST_F(TTransferFileWithdrawalTest, AWrongNumberOrStateIsRefusedWithAClearMessage) {
  EXPECT_THROW_MESSAGE(WithdrawTransferFile(AppDirectory.Paths(), 1, March6),
                       QStringLiteral("W historii nie ma pliku nr 1."));
  EXPECT_FALSE(AppFileExists(QStringLiteral("historia.sqlite")));
  ASSERT_TRUE(Single());
  const std::int64_t trial = Listing().Entries.front().FileId;

  EXPECT_THROW_MESSAGE(WithdrawTransferFile(AppDirectory.Paths(), trial + 1, March6),
                       QStringLiteral("W historii nie ma pliku nr %1.").arg(trial + 1));
  EXPECT_THROW_MESSAGE(RestoreTransferFile(AppDirectory.Paths(), trial),
                       QStringLiteral("Plik nr %1 (%2) nie jest wycofany.").arg(trial).arg(Trial));
  WithdrawTransferFile(AppDirectory.Paths(), trial, March6);
  EXPECT_THROW_MESSAGE(
      WithdrawTransferFile(AppDirectory.Paths(), trial, March6.addDays(1)),
      QStringLiteral("Plik nr %1 (%2) jest już wycofany od 2026-03-06 09:30:00.").arg(trial).arg(Trial));
}

TEST_F(TTransferFileWithdrawalTest, AJournalThatCannotBeChangedIsNamedWithTheReason) {
  WriteAppFile(QStringLiteral("historia.sqlite"), QByteArray("nie baza\n").repeated(500));

  EXPECT_THROW_MESSAGE(WithdrawTransferFile(AppDirectory.Paths(), 1, March6),
                       QStringLiteral("Nie można zmienić historii (historia.sqlite): plik jest uszkodzony; "
                                      "zostawiono go bez zmian (file is not a database)"));
}

// The page's buttons: a question first, and nothing done when the answer is no.
TEST_F(TTransferFileWithdrawalTest, ThePageAsksBeforeWithdrawingAndLogsWhatItDid) {
  ASSERT_TRUE(Single());
  const THistoryEntry entry = Listing().Entries.front();
  THistoryCommands history(Host.Host());
  Host.LogEntries.clear();

  Host.ConfirmAnswers.push_back(false);
  EXPECT_FALSE(history.PressWithdraw(entry));
  EXPECT_EQ(Listing().Entries.front().WithdrawnAt, std::nullopt);
  EXPECT_EQ(Host.Confirmations,
            QStringList{QStringLiteral("Wycofać plik nr %1 (%2) z 2026-03-05 14:05:09?\n\nRób to tylko dla pliku, "
                                       "który nie trafił do banku (próba, plik odrzucony przez bank albo zastąpiony "
                                       "poprawionym). Jego płatności zostaną w historii, ale nie będą już liczone "
                                       "jako zapłacone.")
                            .arg(entry.FileId)
                            .arg(Trial)});

  Host.ConfirmAnswers.push_back(true);
  EXPECT_TRUE(history.PressWithdraw(entry));
  EXPECT_TRUE(Listing().Entries.front().WithdrawnAt.has_value());
  ASSERT_FALSE(Log().isEmpty());
  EXPECT_TRUE(
      Log().last().startsWith(QStringLiteral("Plik nr %1 (%2) oznaczono jako wycofany:").arg(entry.FileId).arg(Trial)));

  Host.ConfirmAnswers.push_back(true);
  EXPECT_TRUE(history.PressRestore(entry));
  EXPECT_EQ(Host.Confirmations.last(),
            QStringLiteral("Przywrócić plik nr %1 (%2)?\n\nJego płatności znów będą liczone jako zapłacone.")
                .arg(entry.FileId)
                .arg(Trial));
  EXPECT_EQ(Listing().Entries.front().WithdrawnAt, std::nullopt);

  Host.ConfirmAnswers.push_back(true);
  EXPECT_FALSE(history.PressRestore(entry));
  ASSERT_FALSE(Host.ErrorBoxes.isEmpty());
  EXPECT_EQ(Host.ErrorBoxes.last(), QStringLiteral("Plik nr %1 (%2) nie jest wycofany.").arg(entry.FileId).arg(Trial));
}

} // namespace
