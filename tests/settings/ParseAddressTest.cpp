#include "TestSupport.h"
#include "settings/Settings.h"

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

class ParseAddress : public ::testing::TestWithParam<TAddressCase> {};

TEST_P(ParseAddress, SplitsTheTwoLines) {
  const TAddressCase &c = GetParam();
  const TStructuredAddress address =
      TSettings::ParseAddress(QString::fromUtf16(c.AdresL1), QString::fromUtf16(c.AdresL2));
  EXPECT_EQ(address.StrtNm, QString::fromUtf16(c.StrtNm));
  EXPECT_EQ(address.BldgNb, QString::fromUtf16(c.BldgNb));
  EXPECT_EQ(address.PstCd, QString::fromUtf16(c.PstCd));
  EXPECT_EQ(address.TwnNm, QString::fromUtf16(c.TwnNm));
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, ParseAddress,
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

} // namespace
