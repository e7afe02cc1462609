#include "ksefapi/KsefAnswers.h"

#include <gtest/gtest.h>

namespace {

// A package's _metadata.json may be 64 MiB: nesting that deep must not exhaust the stack.
TEST(KsefAnswersTest, MetadataNestedMillionsDeepIsUnreadableNotACrash) {
  const QByteArray open(1 << 20, '[');
  for (const QByteArray &json : {open, open + QByteArray(1 << 20, ']'), "{\"invoices\":" + open})
    EXPECT_FALSE(ReadPackageMetadata(json).has_value());
}

} // namespace
