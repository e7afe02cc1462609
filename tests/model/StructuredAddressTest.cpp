#include "TestSupport.h"
#include "model/StructuredAddress.h"

namespace {

struct TAddressCase {
  const char16_t *AdresL1;
  const char16_t *AdresL2;
  const char16_t *StrtNm;
  const char16_t *BldgNb;
  const char16_t *PstCd;
  const char16_t *TwnNm;
};

void PrintTo(const TAddressCase &c, std::ostream *os) {
  *os << QString::fromUtf16(c.AdresL1).toStdString() << " | " << QString::fromUtf16(c.AdresL2).toStdString();
}

class SplitAddress : public ::testing::TestWithParam<TAddressCase> {};

TEST_P(SplitAddress, SplitsTheTwoLines) {
  const TAddressCase &c = GetParam();
  const TStructuredAddress address = ParseAddress(QString::fromUtf16(c.AdresL1), QString::fromUtf16(c.AdresL2));
  EXPECT_EQ(address.StrtNm, QString::fromUtf16(c.StrtNm));
  EXPECT_EQ(address.BldgNb, QString::fromUtf16(c.BldgNb));
  EXPECT_EQ(address.PstCd, QString::fromUtf16(c.PstCd));
  EXPECT_EQ(address.TwnNm, QString::fromUtf16(c.TwnNm));
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, SplitAddress,
    ::testing::Values(
        TAddressCase{u"ul. Długa 5/7", u"80-831 Gdańsk", u"ul. Długa", u"5/7", u"80-831", u"Gdańsk"},
        TAddressCase{u"80-831 Gdańsk", u"ul. Długa 5/7", u"ul. Długa", u"5/7", u"80-831", u"Gdańsk"},
        TAddressCase{u"Gdańsk 80-831", u"", u"", u"", u"80-831", u"Gdańsk"},
        TAddressCase{u"Aleje Jerozolimskie 123A", u"Warszawa", u"Aleje Jerozolimskie", u"123A", u"", u"Warszawa"},
        TAddressCase{u"Długa 12-14", u"00-950 Warszawa", u"Długa", u"12-14", u"00-950", u"Warszawa"},
        TAddressCase{u"Długa 12 m. 4", u"00-950 Warszawa", u"Długa 12 m.", u"4", u"00-950", u"Warszawa"},
        TAddressCase{u"Długa 12 A", u"00-950 Warszawa", u"Długa 12 A", u"", u"00-950", u"Warszawa"},
        TAddressCase{u"ul. Długa 5, 80-831 Gdańsk", u"", u"", u"", u"", u"ul. Długa 5, 80-831 Gdańsk"},
        TAddressCase{u"Rynek", u"80-8310 Gdańsk", u"Rynek", u"", u"", u"80-8310 Gdańsk"},
        TAddressCase{u"Długa 112-114", u"00-950 Warszawa", u"00-950 Warszawa", u"", u"", u"Długa 112-114"},
        TAddressCase{u"", u"", u"", u"", u"", u""},
        TAddressCase{u"  ul. Długa   5/7 ", u"\t80-831    Gdańsk  ", u"ul. Długa", u"5/7", u"80-831", u"Gdańsk"},
        TAddressCase{u"5", u"Warszawa", u"5", u"", u"", u"Warszawa"}));

// Found by fuzzing: with a long run of blanks the splitter's patterns tried every blank against
// every later one, and lines like these took it minutes (bench/ParseAddressBench measures it).
TEST(ParseAddressLongBlanks, SplitsLinesWithLongRunsOfBlanks) {
  const QString blanks(100000, u' ');
  const TStructuredAddress street = ParseAddress(QStringLiteral("Długa") + blanks + QStringLiteral("x"),
                                                 QStringLiteral("Gdańsk") + blanks + QStringLiteral("80-831"));
  EXPECT_EQ(street.StrtNm, QStringLiteral("Długa") + blanks + QStringLiteral("x"));
  EXPECT_EQ(street.BldgNb, QString());
  EXPECT_EQ(street.PstCd, QStringLiteral("80-831"));
  EXPECT_EQ(street.TwnNm, QStringLiteral("Gdańsk"));

  const TStructuredAddress town = ParseAddress(QStringLiteral("80-831") + blanks + QStringLiteral("Gdańsk\nx"),
                                               QStringLiteral("Długa") + blanks + QStringLiteral("5/7"));
  EXPECT_EQ(town.StrtNm, QStringLiteral("Długa"));
  EXPECT_EQ(town.BldgNb, QStringLiteral("5/7"));
  EXPECT_EQ(town.PstCd, QString());
  EXPECT_EQ(town.TwnNm, QStringLiteral("80-831") + blanks + QStringLiteral("Gdańsk\nx"));
}

} // namespace
