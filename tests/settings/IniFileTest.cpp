#include "TestSupport.h"
#include "settings/IniFile.h"

namespace {

class IniFileTest : public ::testing::Test {
protected:
  QString Path() const { return Dir.File(QStringLiteral("test.ini")); }
  void Write(const QByteArray &bytes) const { Dir.WriteBytes(QStringLiteral("test.ini"), bytes); }
  QByteArray Read() const { return Dir.ReadBytes(QStringLiteral("test.ini")); }

  TTempDir Dir;
};

struct TReadCase {
  const char *Name;
  const char *Line;
  const char *Expected;
};

class IniValueRead : public IniFileTest, public ::testing::WithParamInterface<TReadCase> {};

TEST_P(IniValueRead, TrimsAndUnquotes) {
  Write(QByteArray("[Sec]\r\n") + GetParam().Line + "\r\n");
  EXPECT_EQ(TIniFile(Path()).ReadString(QStringLiteral("Sec"), QStringLiteral("Key"), QStringLiteral("default")),
            QString::fromUtf8(GetParam().Expected));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, IniValueRead,
    ::testing::Values(TReadCase{"plain", "Key=value", "value"}, TReadCase{"blanks", "  Key  =  a b \t", "a b"},
                      TReadCase{"doubleQuotes", "Key=\" quoted \"", " quoted "},
                      TReadCase{"singleQuotes", "Key='x'", "x"}, TReadCase{"mixedQuotes", "Key=\"x'", "\"x'"},
                      TReadCase{"oneQuote", "Key=\"", "\""}, TReadCase{"secondEquals", "Key=a=b", "a=b"},
                      TReadCase{"empty", "Key=", ""}, TReadCase{"caseOfKey", "kEY=v", "v"},
                      TReadCase{"otherKey", "Keys=v", "default"}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST_F(IniFileTest, NamesMatchWithoutCaseAndMissingGivesDefault) {
  Write("[company]\nname=Firma\n[Other]\nName=Inna\n");
  const TIniFile ini(Path());
  EXPECT_EQ(ini.ReadString(QStringLiteral("COMPANY"), QStringLiteral("NAME")), QStringLiteral("Firma"));
  EXPECT_EQ(ini.ReadString(QStringLiteral("Missing"), QStringLiteral("Name"), QStringLiteral("d")),
            QStringLiteral("d"));
  EXPECT_EQ(TIniFile(Dir.File(QStringLiteral("none.ini"))).ReadString(QStringLiteral("a"), QStringLiteral("b")),
            QString());
}

TEST_F(IniFileTest, ValueIsCutAt2047Characters) {
  Write("[S]\nK=" + QByteArray(3000, 'x') + "\n");
  EXPECT_EQ(TIniFile(Path()).ReadString(QStringLiteral("S"), QStringLiteral("K")).size(), 2047);
}

TEST_F(IniFileTest, WriteReplacesInPlaceAppendsKeysAndSectionsAndKeepsTheRest) {
  Write("; note\n[A]\nx=1\n\n[B]\ny = 2\nz=3\n\n");
  TIniFile ini(Path());
  ini.WriteString(QStringLiteral("b"), QStringLiteral("Y"), QStringLiteral("20"));
  ini.WriteString(QStringLiteral("A"), QStringLiteral("new"), QStringLiteral("n"));
  ini.WriteString(QStringLiteral("C"), QStringLiteral("k"), QStringLiteral("v"));
  ini.Save();
  EXPECT_EQ(Read(), QByteArray("; note\n[A]\nx=1\nnew=n\n\n[B]\ny=20\nz=3\n\n[C]\nk=v\n"));
}

TEST_F(IniFileTest, MissingFileIsCreatedInWindows1250WithCrLf) {
  TIniFile ini(Path());
  ini.WriteString(QStringLiteral("S"), QStringLiteral("Name"), QStringLiteral("Łódź"));
  ini.Save();
  EXPECT_EQ(Read(), QByteArray("[S]\r\nName=\xA3\xF3\x64\x9F\r\n"));
}

TEST_F(IniFileTest, Windows1250FileKeepsItsLettersEncodingAndLineEnds) {
  // Written on Windows: windows-1250 bytes, CR LF, no line end after the last line.
  Write("[COMPANY]\r\nName=Sp\xF3\xB3ka \xA3\xF3\x64\x9F\r\nNIP=1\r\n[MPP]\r\nEnabled=0");
  TIniFile ini(Path());
  EXPECT_EQ(ini.ReadString(QStringLiteral("COMPANY"), QStringLiteral("Name")), QStringLiteral("Spółka Łódź"));
  ini.WriteString(QStringLiteral("COMPANY"), QStringLiteral("NIP"), QStringLiteral("Żółw"));
  ini.Save();
  EXPECT_EQ(Read(),
            QByteArray("[COMPANY]\r\nName=Sp\xF3\xB3ka \xA3\xF3\x64\x9F\r\nNIP=\xAF\xF3\xB3w\r\n[MPP]\r\nEnabled=0"));
}

TEST_F(IniFileTest, Utf8AndUtf16FilesAreWrittenBackInTheirEncoding) {
  Write(QStringLiteral("[S]\nA=Żółw\n").toUtf8());
  TIniFile utf8(Path());
  utf8.WriteString(QStringLiteral("S"), QStringLiteral("B"), QStringLiteral("ę"));
  utf8.Save();
  EXPECT_EQ(Read(), QStringLiteral("[S]\nA=Żółw\nB=ę\n").toUtf8());

  Write(QByteArray("\xFF\xFE", 2) + QByteArray(reinterpret_cast<const char *>(u"[S]\r\nA=ł\r\n"), 20));
  TIniFile utf16(Path());
  EXPECT_EQ(utf16.ReadString(QStringLiteral("S"), QStringLiteral("A")), QStringLiteral("ł"));
  utf16.WriteString(QStringLiteral("S"), QStringLiteral("A"), QStringLiteral("ś"));
  utf16.Save();
  EXPECT_EQ(Read(), QByteArray("\xFF\xFE", 2) + QByteArray(reinterpret_cast<const char *>(u"[S]\r\nA=ś\r\n"), 20));
}

TEST_F(IniFileTest, CharacterWindows1250CannotHoldTurnsTheFileIntoUtf8) {
  Write("[S]\r\nA=\xB3\r\n");
  TIniFile ini(Path());
  ini.WriteString(QStringLiteral("S"), QStringLiteral("B"), QStringLiteral("日本"));
  ini.Save();
  EXPECT_EQ(Read(), QStringLiteral("[S]\r\nA=ł\r\nB=日本\r\n").toUtf8());
  EXPECT_EQ(TIniFile(Path()).ReadString(QStringLiteral("S"), QStringLiteral("B")), QStringLiteral("日本"));
}

// In windows-1250 "ÓŁ" is D3 A3, a valid UTF-8 sequence: the file was read back as UTF-8,
// "SPӣKA", before the reader learnt to tell such pairs apart.
TEST_F(IniFileTest, ValueWhoseWindows1250BytesLookLikeUtf8ReadsBackAsWritten) {
  TIniFile ini(Path());
  ini.WriteString(QStringLiteral("COMPANY"), QStringLiteral("Name"), QStringLiteral("FIRMA SPÓŁKA Z O.O."));
  ini.Save();
  EXPECT_EQ(Read(), QByteArray("[COMPANY]\r\nName=FIRMA SP\xD3\xA3KA Z O.O.\r\n"));
  EXPECT_EQ(TIniFile(Path()).ReadString(QStringLiteral("COMPANY"), QStringLiteral("Name")),
            QStringLiteral("FIRMA SPÓŁKA Z O.O."));
}

TEST_F(IniFileTest, LineBreakInAValueCannotForgeAKey) {
  TIniFile ini(Path());
  ini.WriteString(QStringLiteral("S"), QStringLiteral("A"), QStringLiteral("x\r\nB=evil"));
  ini.Save();
  const TIniFile reread(Path());
  EXPECT_EQ(reread.ReadString(QStringLiteral("S"), QStringLiteral("A")), QStringLiteral("x  B=evil"));
  EXPECT_EQ(reread.ReadKeys(QStringLiteral("S")), QStringList{QStringLiteral("A")});
}

TEST_F(IniFileTest, ListsAndErasesSections) {
  Write("[Konto1]\nOpis=a\n\n[konto2]\nOpis=b\nNr=2\n[Konto3]\nOpis=c\n");
  TIniFile ini(Path());
  EXPECT_EQ(ini.ReadSections(),
            (QStringList{QStringLiteral("Konto1"), QStringLiteral("konto2"), QStringLiteral("Konto3")}));
  EXPECT_EQ(ini.ReadKeys(QStringLiteral("KONTO2")), (QStringList{QStringLiteral("Opis"), QStringLiteral("Nr")}));
  ini.EraseSection(QStringLiteral("Konto2"));
  ini.Save();
  EXPECT_EQ(Read(), QByteArray("[Konto1]\nOpis=a\n\n[Konto3]\nOpis=c\n"));
}

TEST_F(IniFileTest, RefusedSaveSaysWhereAndKeepsTheOldFile) {
  Dir.WriteBytes(QStringLiteral("dir"), "not a directory");
  const QString path = Dir.File(QStringLiteral("dir/settings.ini"));
  TIniFile ini(path);
  ini.WriteString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("V"));
  EXPECT_THROW_MESSAGE(ini.Save(), QStringLiteral("Unable to write to %1").arg(path));
  EXPECT_EQ(Dir.ReadBytes(QStringLiteral("dir")), QByteArray("not a directory"));
}

} // namespace
