#include "app/commands/DesktopEntry.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

QString LineOf(const QString &text, const QString &key) {
  for (const QString &line : text.split(u'\n'))
    if (line.startsWith(key + u'='))
      return line;
  return QString();
}

struct TExecCase {
  const char *Name;
  QString Target;
  QStringList Arguments;
  // The line as the file holds it: quoting for Exec first, then the escapes of a string value.
  QString Exec;
};

class TDesktopEntryExecTest : public ::testing::TestWithParam<TExecCase> {};

TEST_P(TDesktopEntryExecTest, QuotesTheProgramAndItsArguments) {
  const QString text = DesktopEntryText({QStringLiteral("Pavena"), GetParam().Target, GetParam().Arguments,
                                         QStringLiteral("/opt/p/"), QStringLiteral("/opt/p/pavena.png")});
  EXPECT_EQ(LineOf(text, QStringLiteral("Exec")), GetParam().Exec);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, TDesktopEntryExecTest,
    ::testing::Values(
        TExecCase{"Blank",
                  QStringLiteral("/opt/Moje programy/pavena"),
                  {},
                  QStringLiteral("Exec=\"/opt/Moje programy/pavena\"")},
        TExecCase{"QuotationMark",
                  QStringLiteral("/opt/\"P\"/pavena"),
                  {},
                  QStringLiteral("Exec=\"/opt/\\\\\"P\\\\\"/pavena\"")},
        TExecCase{"Dollar", QStringLiteral("/opt/$HOME/pavena"), {}, QStringLiteral("Exec=\"/opt/\\\\$HOME/pavena\"")},
        TExecCase{
            "Backtick", QStringLiteral("/opt/`id`/pavena"), {}, QStringLiteral("Exec=\"/opt/\\\\`id\\\\`/pavena\"")},
        TExecCase{
            "Backslash", QStringLiteral("/opt/a\\b/pavena"), {}, QStringLiteral("Exec=\"/opt/a\\\\\\\\b/pavena\"")},
        TExecCase{"Percent", QStringLiteral("/opt/100%/pavena"), {}, QStringLiteral("Exec=\"/opt/100%%/pavena\"")},
        TExecCase{"Arguments",
                  QStringLiteral("/opt/p/pavena"),
                  {QStringLiteral("--mpp"), QStringLiteral("Both x")},
                  QStringLiteral("Exec=\"/opt/p/pavena\" \"--mpp\" \"Both x\"")}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST(DesktopEntryTest, WorkingDirectoryAndIconAreStringValues) {
  const QString text = DesktopEntryText({QStringLiteral("Pavena"),
                                         QStringLiteral("/opt/a\\b/pavena"),
                                         {},
                                         QStringLiteral("/opt/a\\b/"),
                                         QStringLiteral("/opt/a\\b/pavena.png")});
  EXPECT_EQ(LineOf(text, QStringLiteral("Path")), QStringLiteral("Path=/opt/a\\\\b/"));
  EXPECT_EQ(LineOf(text, QStringLiteral("Icon")), QStringLiteral("Icon=/opt/a\\\\b/pavena.png"));
}

TEST(DesktopEntryTest, WithoutAnIconThereIsNoIconKey) {
  const QString text =
      DesktopEntryText({QStringLiteral("Pavena"), QStringLiteral("/opt/p/pavena"), {}, QStringLiteral("/opt/p/"), {}});
  EXPECT_TRUE(text.startsWith(QStringLiteral("[Desktop Entry]\nType=Application\n")));
  EXPECT_FALSE(text.contains(QStringLiteral("Icon")));
}

} // namespace
