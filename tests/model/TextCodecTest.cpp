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
    ::testing::Values(
        TDecodeCase{"cp1250", LodzCp1250, TTextEncoding::Windows1250},
        TDecodeCase{"utf8", Lodz.toUtf8(), TTextEncoding::Utf8},
        TDecodeCase{"utf8bom", QByteArray("\xEF\xBB\xBF") + Lodz.toUtf8(), TTextEncoding::Utf8Bom},
        TDecodeCase{"utf16le", QByteArray("\xFF\xFE\x41\x01\xF3\x00\x64\x00\x7A\x01", 10), TTextEncoding::Utf16LE},
        TDecodeCase{"utf16be", QByteArray("\xFE\xFF\x01\x41\x00\xF3\x00\x64\x01\x7A", 10), TTextEncoding::Utf16BE}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST(DecodeText, PlainAsciiCountsAsWindows1250) { EXPECT_EQ(DecodeText("abc").Encoding, TTextEncoding::Windows1250); }

// Ó Ł and Ę Ś in windows-1250 are valid UTF-8 ("ӣ", "ʌ"); a file written on Windows whose only
// Polish letters are such pairs is still windows-1250. Real UTF-8 of the same text stays UTF-8.
TEST(DecodeText, Windows1250PairsThatLookLikeUtf8AreWindows1250) {
  const TDecodedText windows = DecodeText(QByteArray("Name=FIRMA SP\xD3\xA3KA, CZ\xCA\x8C"
                                                     "CI"));
  EXPECT_EQ(windows.Text, QStringLiteral("Name=FIRMA SPÓŁKA, CZĘŚCI"));
  EXPECT_EQ(windows.Encoding, TTextEncoding::Windows1250);
  const TDecodedText utf8 = DecodeText(QStringLiteral("FIRMA SPÓŁKA ӣ").toUtf8());
  EXPECT_EQ(utf8.Text, QStringLiteral("FIRMA SPÓŁKA ӣ"));
  EXPECT_EQ(utf8.Encoding, TTextEncoding::Utf8);
}

struct TReadableCase {
  const char *Name;
  QString Text;
  TTextEncoding Preferred;
  QByteArray Bytes;
};

class EncodeReadably_ : public ::testing::TestWithParam<TReadableCase> {};

TEST_P(EncodeReadably_, WritesBytesThatReadBackAsTheSameText) {
  const QByteArray bytes = EncodeReadably(GetParam().Text, GetParam().Preferred);
  EXPECT_EQ(bytes, GetParam().Bytes);
  EXPECT_EQ(DecodeText(bytes).Text, GetParam().Text);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, EncodeReadably_,
    ::testing::Values(
        TReadableCase{"cp1250", QStringLiteral("€ and ł"), TTextEncoding::Windows1250, QByteArray("\x80 and \xB3")},
        TReadableCase{"utf16Kept", Lodz, TTextEncoding::Utf16BE,
                      QByteArray("\xFE\xFF\x01\x41\x00\xF3\x00\x64\x01\x7A", 10)},
        TReadableCase{"lettersCp1250Lacks", QStringLiteral("ł 日本"), TTextEncoding::Windows1250,
                      QStringLiteral("ł 日本").toUtf8()},
        // Found by fuzzing: "ď»ż" in windows-1250 is EF BB BF, valid UTF-8 that would read back as U+FEFF.
        TReadableCase{"cp1250BytesThatLookLikeUtf8", QStringLiteral("IBAN=ď»ż91"), TTextEncoding::Windows1250,
                      QStringLiteral("IBAN=ď»ż91").toUtf8()},
        TReadableCase{"polishPairsStayWindows1250", QStringLiteral("SPÓŁKA"), TTextEncoding::Windows1250,
                      QByteArray("SP\xD3\xA3KA")},
        // In UTF-8 the leading U+FEFF would be taken for a byte-order mark and dropped.
        TReadableCase{"leadingByteOrderMark", QStringLiteral("\uFEFFa ł"), TTextEncoding::Utf8,
                      QByteArray("\xEF\xBB\xBF") + QStringLiteral("\uFEFFa ł").toUtf8()}),
    [](const auto &info) { return std::string(info.param.Name); });

} // namespace
