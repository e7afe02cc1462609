#include "model/SecretBytes.h"

#include <gtest/gtest.h>
#include <stdexcept>

// A secret is overwritten in the buffer it lies in, which its copies share, not in a copy of
// its own as QByteArray::fill would make.
TEST(SecretBytesTest, OverwritesTheBufferEveryCopySharesAndEmptiesTheSecret) {
  QByteArray secret = QByteArray("token-KSeF-123");
  const QByteArray copy = secret;

  WipeSecret(secret);

  EXPECT_TRUE(secret.isEmpty());
  EXPECT_EQ(copy, QByteArray(14, '\0'));
}

TEST(SecretBytesTest, AWipeAtTheEndOfAScopeHappensAlsoWhenItEndsByAnException) {
  QByteArray secret = QByteArray("haslo");
  const QByteArray copy = secret;
  try {
    const TSecretWipe wipe(secret);
    throw std::runtime_error("fault");
  } catch (const std::runtime_error &) {
  }
  EXPECT_TRUE(secret.isEmpty());
  EXPECT_EQ(copy, QByteArray(5, '\0'));
}
