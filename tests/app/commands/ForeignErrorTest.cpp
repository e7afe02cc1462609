#include "CommandTest.h"

#include <new>
#include <stdexcept>

namespace {

// An error that is not the program's own (a library's, exhausted memory) still ends a
// transfer as one "Błąd: " entry of the log, never in the default error box.
struct TForeignErrorCase {
  const char *Name;
  std::function<void()> Raise;
  QString Logged;
};

void PrintTo(const TForeignErrorCase &c, std::ostream *os) { *os << c.Name; }

class TForeignErrorTest : public TCommandTest, public ::testing::WithParamInterface<TForeignErrorCase> {
protected:
  // Every transfer asks the clock once it has the payer data; here the clock fails.
  void SetUp() override {
    Host.Host().Now = [raise = GetParam().Raise]() -> QDateTime {
      raise();
      return QDateTime();
    };
  }
};

TEST_P(TForeignErrorTest, EndsEachTransferAsOneLogEntry) {
  const TMPPSettings off{false, TMPPFormat::Ustrd};
  EXPECT_FALSE(Commands.PressSingle(FixturePath(QStringLiteral("commands/faktura-papiernia.xml")), QString(), off));
  EXPECT_FALSE(Commands.PressBatch(FixturePath(QStringLiteral("commands")), off));
  EXPECT_FALSE(Commands.PressVideoTelWithoutSplitPayment(AppFile(QStringLiteral("przelewy.imp"))));

  EXPECT_EQ(Log(), QStringList(3, QStringLiteral("Błąd: ") + GetParam().Logged));
  for (const TLogEntry &entry : Host.LogEntries)
    EXPECT_EQ(entry.Kind, TLogKind::Error);
  EXPECT_TRUE(Host.ErrorBoxes.isEmpty());
  EXPECT_TRUE(Host.MessageBoxes.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Errors, TForeignErrorTest,
    ::testing::Values(TForeignErrorCase{"OutOfMemory", [] { throw std::bad_alloc(); },
                                        QStringLiteral("Za mało pamięci operacyjnej, by dokończyć tę operację.")},
                      TForeignErrorCase{"LibraryError", [] { throw std::length_error("basic_string::_M_create"); },
                                        QStringLiteral("basic_string::_M_create")}),
    [](const ::testing::TestParamInfo<TForeignErrorCase> &info) { return std::string(info.param.Name); });

} // namespace
