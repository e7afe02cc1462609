#include "TestSupport.h"
#include "pdf/VerificationLink.h"

namespace {

// The SHA-256 of "abc" in Base64URL without padding, worked out apart from the program.
TEST(VerificationLink, JoinsBaseNipDateAndTheFilesHash) {
  EXPECT_EQ(VerificationLink(QStringLiteral("https://qr.ksef.mf.gov.pl/invoice/"), QStringLiteral("1111111111"),
                             QStringLiteral("2026-02-01"), "abc"),
            QStringLiteral("https://qr.ksef.mf.gov.pl/invoice/1111111111/01-02-2026/"
                           "ungWv48Bz-pBQUDeXa4iI7ADYaOWF3qctBD_YfIAFa0"));
}

TEST(VerificationLink, NeedsTheSellersNipAndAnIssueDate) {
  EXPECT_THROW_MESSAGE(VerificationLink(QStringLiteral("https://q/"), QString(), QStringLiteral("2026-02-01"), "abc"),
                       QStringLiteral("Faktura nie zawiera numeru NIP sprzedawcy potrzebnego do kodu weryfikującego."));
  EXPECT_THROW_MESSAGE(
      VerificationLink(QStringLiteral("https://q/"), QStringLiteral("1111111111"), QStringLiteral("2026-02-30"), "abc"),
      QStringLiteral("Data wystawienia faktury (P_1) \"2026-02-30\" nie jest poprawną datą."));
}

} // namespace
