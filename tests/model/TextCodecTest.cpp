#include "TestSupport.h"
#include "model/TextCodec.h"

namespace {

// "Łódź" in windows-1250.
const QByteArray LodzCp1250("\xA3\xF3\x64\x9F", 4);
const QString Lodz = QStringLiteral("Łódź");

struct TDecodeCase {
  const char *Name;
  QByteArray Bytes;
  TTextEncoding Encoding;
};

class DecodeText_ : public ::testing::TestWithParam<TDecodeCase> {};

TEST_P(DecodeText_, FindsTheEncoding) {
  const TDecodedText decoded = DecodeText(GetParam().Bytes);
  EXPECT_EQ(decoded.Text, Lodz);
  EXPECT_EQ(decoded.Encoding, GetParam().Encoding);
  EXPECT_EQ(EncodeText(decoded.Text, decoded.Encoding), GetParam().Bytes) << "written back byte for byte";
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, DecodeText_,
    ::testing::Values(TDecodeCase{"cp1250", LodzCp1250, TTextEncoding::Windows1250},
                      TDecodeCase{"utf8", Lodz.toUtf8(), TTextEncoding::Utf8},
                      TDecodeCase{"utf8bom", QByteArray("\xEF\xBB\xBF") + Lodz.toUtf8(), TTextEncoding::Utf8Bom},
                      TDecodeCase{"utf16le", QByteArray("\xFF\xFE\x41\x01\xF3\x00\x64\x00\x7A\x01", 10),
                                  TTextEncoding::Utf16LE},
                      TDecodeCase{"utf16be", QByteArray("\xFE\xFF\x01\x41\x00\xF3\x00\x64\x01\x7A", 10),
                                  TTextEncoding::Utf16BE}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST(DecodeText, PlainAsciiCountsAsWindows1250) {
  EXPECT_EQ(DecodeText("abc").Encoding, TTextEncoding::Windows1250);
}

TEST(EncodeText, ReportsACharacterWindows1250Lacks) {
  bool lossless = true;
  EncodeText(QStringLiteral("€ and ł"), TTextEncoding::Windows1250, &lossless);
  EXPECT_TRUE(lossless);
  EncodeText(QStringLiteral("日本"), TTextEncoding::Windows1250, &lossless);
  EXPECT_FALSE(lossless);
}

} // namespace
