#include "TestSupport.h"
#include "model/Text.h"

namespace {

TEST(Trim, RemovesControlCharactersAndBlanksOnly) {
  EXPECT_EQ(Trim(QStringLiteral(" \t\r\n\x01 ab c \x1f")), QStringLiteral("ab c"));
  // A no-break space is above U+0020 and stays, unlike with QString::trimmed().
  EXPECT_EQ(Trim(QStringLiteral("\u00a0x\u00a0")), QStringLiteral("\u00a0x\u00a0"));
  EXPECT_EQ(Trim(QStringLiteral("   ")), QString());
}

} // namespace
