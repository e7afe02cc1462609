// The journal shared by processes: two writing at once, and one killed while it writes.

#include "JournalTestData.h"
#include "StopAtWriteVfs.h"
#include "TestSupport.h"
#include "journal/PaymentJournal.h"
#include "journal/SqliteDatabase.h"

#include <csignal>
#include <cstdio>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QDateTime March5(QDate(2026, 3, 5), QTime(14, 5, 9));

std::vector<TJournalPayment> Payments(const QString &tag, int count) {
  std::vector<TJournalPayment> payments;
  for (int i = 0; i < count; ++i)
    payments.push_back(InvoicePayment(QStringLiteral("1234563218"), QStringLiteral("%1/%2").arg(tag).arg(i)));
  return payments;
}

// Runs `work` in a child process, which ends with status 0 when `work` returned and 1 when it
// threw (its message on standard error).
pid_t InChild(const std::function<void()> &work) {
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid != 0)
    return pid;
  try {
    work();
  } catch (const Exception &error) {
    std::fprintf(stderr, "%s\n", error.Message().toUtf8().constData());
    _exit(1);
  }
  _exit(0);
}

int ExitStatusOf(pid_t pid) {
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Every recorded file has all its payments and its sums: no transfer is there in part.
void ExpectWholeTransfers(const QString &fileName) {
  TSqliteDatabase database(fileName, false, 0);
  TSqliteStatement integrity(database, "PRAGMA integrity_check");
  ASSERT_TRUE(integrity.Next());
  EXPECT_EQ(integrity.Text(0), QStringLiteral("ok"));
  TSqliteStatement partial(database, "SELECT count(*) FROM transfer_file f WHERE f.payment_count <> "
                                     "(SELECT count(*) FROM payment p WHERE p.file_id = f.id) OR "
                                     "(SELECT coalesce(sum(amount), 0) FROM payment p WHERE p.file_id = f.id) <> "
                                     "(SELECT coalesce(sum(amount), 0) FROM transfer_sum s WHERE s.file_id = f.id)");
  ASSERT_TRUE(partial.Next());
  EXPECT_EQ(partial.Integer(0), 0);
  TSqliteStatement orphans(database,
                           "SELECT count(*) FROM payment WHERE file_id NOT IN (SELECT id FROM transfer_file)");
  ASSERT_TRUE(orphans.Next());
  EXPECT_EQ(orphans.Integer(0), 0);
}

QStringList RecordedFiles(const QString &fileName) {
  TSqliteDatabase database(fileName, false, 0);
  TSqliteStatement files(database, "SELECT archive_path FROM transfer_file ORDER BY archive_path");
  QStringList names;
  while (files.Next())
    names.append(files.Text(0).section(u'/', -1));
  return names;
}

TEST(JournalProcessTest, TwoProcessesRecordingAtOnceAreBothRecorded) {
  TTempDir dir;
  const QString journal = dir.File(QStringLiteral("historia.sqlite"));
  int start[2];
  ASSERT_EQ(pipe(start), 0);
  constexpr int Rounds = 20;
  // Both children start on one signal, so that they make the journal and record together.
  auto writer = [&](const QString &name) {
    return InChild([&, name] {
      close(start[1]);
      char go = 0;
      if (read(start[0], &go, 1) != 1)
        _exit(2);
      for (int round = 0; round < Rounds; ++round)
        TPaymentJournal(journal).Record(
            WrittenFile(QStringLiteral("%1-%2.xml").arg(name).arg(round, 2, 10, QLatin1Char('0')), March5),
            Payments(name, 5));
    });
  };
  const pid_t first = writer(QStringLiteral("okno"));
  const pid_t second = writer(QStringLiteral("cli"));
  close(start[0]);
  ASSERT_EQ(write(start[1], "gg", 2), 2);
  close(start[1]);

  EXPECT_EQ(ExitStatusOf(first), 0);
  EXPECT_EQ(ExitStatusOf(second), 0);
  QStringList expected;
  for (const char *name : {"cli", "okno"})
    for (int round = 0; round < Rounds; ++round)
      expected.append(QStringLiteral("%1-%2.xml").arg(QLatin1String(name)).arg(round, 2, 10, QLatin1Char('0')));
  EXPECT_EQ(RecordedFiles(journal), expected);
  ExpectWholeTransfers(journal);
}

// The child is stopped at each write and sync of recording a transfer in turn, and killed
// there: the journal holds the transfer whole or not at all, and the next run records again.
// Each stop is tried on a journal of its own holding one earlier transfer, so that every try
// records the same into the same: a transfer that a kill after its commit left in the journal
// would make the next try's record longer (its keys land all over the index).
TEST(JournalProcessTest, AProcessKilledWhileRecordingLeavesWholeTransfersOnly) {
  TTempDir dir;
  constexpr int MostStops = 200;
  int stopAt = 1;
  for (; stopAt <= MostStops; ++stopAt) {
    const QString journal = dir.File(QStringLiteral("historia-%1.sqlite").arg(stopAt));
    TPaymentJournal(journal).Record(WrittenFile(QStringLiteral("poprzedni.xml"), March5),
                                    Payments(QStringLiteral("P"), 3));
    int stopped[2];
    ASSERT_EQ(pipe(stopped), 0);
    const pid_t child = InChild([&] {
      close(stopped[0]);
      InstallStopAtWriteVfs(stopAt, stopped[1]);
      TPaymentJournal(journal).Record(WrittenFile(QStringLiteral("zabity-%1.xml").arg(stopAt), March5),
                                      Payments(QStringLiteral("Z%1").arg(stopAt), 400));
    });
    close(stopped[1]);
    char byte = 0;
    const bool reachedStop = read(stopped[0], &byte, 1) == 1;
    close(stopped[0]);
    if (reachedStop)
      kill(child, SIGKILL);
    const int status = ExitStatusOf(child);
    ASSERT_EQ(status, reachedStop ? 128 + SIGKILL : 0) << "stop " << stopAt;

    ExpectWholeTransfers(journal);
    const QString next = QStringLiteral("nastepny-%1.xml").arg(stopAt);
    TPaymentJournal(journal).Record(WrittenFile(next, March5), Payments(QStringLiteral("N%1").arg(stopAt), 2));
    ASSERT_TRUE(RecordedFiles(journal).contains(next));
    if (!reachedStop)
      break;
  }
  // The loop ended because a record ran past its last write, not because it gave up.
  EXPECT_LE(stopAt, MostStops);
  EXPECT_GT(stopAt, 1);
}

} // namespace
