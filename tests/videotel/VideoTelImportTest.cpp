#include "TestSupport.h"
#include "videotel/VideoTelImport.h"

#include <QStringEncoder>
#include <vector>

namespace {

const QString PayeeIBAN = QStringLiteral("PL61109010140000071219812874");
const QString PayerIBAN = QStringLiteral("PL27114020040000300201355387");

// A record of fourteen fields; the texts a test varies are quoted at their positions.
QString RecordLine(const QString &title, const QString &name = QStringLiteral("Dostawca"),
                   const QString &address = QStringLiteral("Warszawa"),
                   const QString &amount = QStringLiteral("100.50")) {
  return QStringLiteral("\"Płatnik SA\" 2 %1 4 %2 6 7 %3 \"%4\" PLN \"%5\" \"%6\" 13 14")
      .arg(PayeeIBAN, amount, PayerIBAN, title, name, address);
}

QStringList Fields(std::initializer_list<const char *> fields) {
  QStringList list;
  for (const char *field : fields)
    list.append(QString::fromUtf8(field));
  return list;
}

// ---- Splitting a line into fields

struct TSplitCase {
  const char *Name;
  const char *Line;
  QStringList Expected;
};

void PrintTo(const TSplitCase &c, std::ostream *os) { *os << c.Name; }

class SplitVideoTelLine_ : public ::testing::TestWithParam<TSplitCase> {};

TEST_P(SplitVideoTelLine_, GivesTheFields) {
  EXPECT_EQ(SplitVideoTelLine(QString::fromUtf8(GetParam().Line)), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Quoting, SplitVideoTelLine_,
    ::testing::Values(TSplitCase{"plain", "a b c", Fields({"a", "b", "c"})},
                      TSplitCase{"severalBlanksAndBlanksAtBothEnds", "   a    b  ", Fields({"a", "b"})},
                      TSplitCase{"quotedWithBlanks", "\"a  b\"   c", Fields({"a  b", "c"})},
                      TSplitCase{"emptyQuotesCount", "a \"\" b \"\"", Fields({"a", "", "b", ""})},
                      TSplitCase{"twoMarksStartANewQuotedField", "\"ab\"\"c d\"", Fields({"ab", "c d"})},
                      TSplitCase{"unclosedQuoteRunsToTheEnd", "a \"b  c ", Fields({"a", "b  c "})},
                      TSplitCase{"loneMarkAtTheEndIsAnEmptyField", "a \"", Fields({"a", ""})},
                      TSplitCase{"textGluedAfterClosingMark", "\"ab\"cd e", Fields({"ab", "cd", "e"})},
                      TSplitCase{"tabIsAnOrdinaryCharacter", "a\tb \tc\t", Fields({"a\tb", "\tc\t"})},
                      TSplitCase{"markInsideUnquotedField", "ab\"c d\"", Fields({"ab\"c", "d\""})},
                      TSplitCase{"emptyLine", "", Fields({})}, TSplitCase{"onlyBlanks", "    ", Fields({})}),
    [](const auto &info) { return std::string(info.param.Name); });

// ---- Reading a record

TEST(ParseVideoTelRecord, ReadsEachFieldFromItsPosition) {
  const TVideoTelPayment record = ParseVideoTelRecord(QStringLiteral(
      "Zleceniodawca f2 IBAN3 f4 12.34 f6 f7 IBAN8 \"Tytuł???x\" EUR \"Odbiorca???\" \"Adres???y\" f13 f14"));
  EXPECT_EQ(record.OrderingPartyName, QStringLiteral("Zleceniodawca"));
  EXPECT_EQ(record.BeneficiaryIBAN, QStringLiteral("IBAN3"));
  EXPECT_EQ(record.Amount, TAmount::FromUnits(123400));
  EXPECT_EQ(record.OrderingPartyIBAN, QStringLiteral("IBAN8"));
  EXPECT_EQ(record.Title, QStringLiteral("Tytuł x"));
  EXPECT_EQ(record.Currency, QStringLiteral("EUR"));
  EXPECT_EQ(record.BeneficiaryName, QStringLiteral("Odbiorca???")) << "only title and address lose the marks";
  EXPECT_EQ(record.BeneficiaryAddress, QStringLiteral("Adres y"));
}

TEST(ParseVideoTelRecord, ReplacesLostLettersFromTheLeftWithoutOverlap) {
  EXPECT_EQ(ParseVideoTelRecord(RecordLine(QStringLiteral("????"))).Title, QStringLiteral(" ?"));
  EXPECT_EQ(ParseVideoTelRecord(RecordLine(QStringLiteral("a??????b???"))).Title, QStringLiteral("a  b "));
}

TEST(ParseVideoTelRecord, NeedsFourteenFields) {
  EXPECT_THROW_MESSAGE(ParseVideoTelRecord(QStringLiteral("1 2 3 4 5 6 7 8 9 10 11 12 13")),
                       QStringLiteral("Nieprawidłowy rekord VideoTEL. Liczba pól=13"));
  EXPECT_THROW_MESSAGE(ParseVideoTelRecord(QStringLiteral("   ")),
                       QStringLiteral("Nieprawidłowy rekord VideoTEL. Liczba pól=0"));
}

TEST(ParseVideoTelRecord, IgnoresFieldsAfterTheFourteenth) {
  const TVideoTelPayment record =
      ParseVideoTelRecord(QStringLiteral("1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 \"20\""));
  EXPECT_EQ(record.Amount, TAmount::FromUnits(50000));
  EXPECT_EQ(record.BeneficiaryAddress, QStringLiteral("12"));
}

TEST(ParseVideoTelRecord, EmptyQuotesCountTowardsTheFourteen) {
  const TVideoTelPayment record = ParseVideoTelRecord(QStringLiteral("\"\" 2 3 4 5 6 7 8 \"\" 10 11 \"\" 13 \"\""));
  EXPECT_TRUE(record.OrderingPartyName.isEmpty());
  EXPECT_TRUE(record.Title.isEmpty());
  EXPECT_TRUE(record.BeneficiaryAddress.isEmpty());
}

struct TAmountCase {
  const char *Text;
  std::int64_t Units;
};

void PrintTo(const TAmountCase &c, std::ostream *os) { *os << c.Text; }

class VideoTelAmount : public ::testing::TestWithParam<TAmountCase> {};

TEST_P(VideoTelAmount, TakesFullStopOrComma) {
  EXPECT_EQ(ParseVideoTelRecord(RecordLine(QStringLiteral("t"), QStringLiteral("n"), QStringLiteral("a"),
                                           QString::fromUtf8(GetParam().Text)))
                .Amount,
            TAmount::FromUnits(GetParam().Units));
}

INSTANTIATE_TEST_SUITE_P(Texts, VideoTelAmount,
                         ::testing::Values(TAmountCase{"100.50", 1005000}, TAmountCase{"100,50", 1005000},
                                           TAmountCase{"1234.56", 12345600}, TAmountCase{"-0.01", -100},
                                           TAmountCase{"7", 70000}));

TEST(ParseVideoTelRecord, AmountWithTwoFullStopsFailsWithTheReplacedText) {
  EXPECT_THROW_MESSAGE(ParseVideoTelRecord(RecordLine(QStringLiteral("t"), QStringLiteral("n"), QStringLiteral("a"),
                                                      QStringLiteral("1.000.50"))),
                       QStringLiteral("'1,000.50' is not a valid floating point value"));
  EXPECT_THROW_MESSAGE(ParseVideoTelRecord(RecordLine(QStringLiteral("t"), QStringLiteral("n"), QStringLiteral("a"),
                                                      QStringLiteral("1.000,50"))),
                       QStringLiteral("'1,000,50' is not a valid floating point value"));
}

// ---- Making the payment

TEST(VideoTelToPayment, FillsThePaymentFromTheRecord) {
  TVideoTelPayment record;
  record.OrderingPartyName = QStringLiteral("Płatnik");
  record.OrderingPartyIBAN = PayerIBAN;
  record.BeneficiaryName = QStringLiteral(" \tŁódź Sp. z o.o.  ");
  record.BeneficiaryIBAN = QStringLiteral("  ") + PayeeIBAN + QStringLiteral(" ");
  record.BeneficiaryAddress = QStringLiteral(" Gdańsk ");
  record.Amount = TAmount::FromUnits(1005000);
  record.Currency = QStringLiteral("PLN");
  record.Title = QStringLiteral(" Zapłata za FV 1/2024 ");

  const QDate before = QDate::currentDate();
  const TPayment payment = VideoTelToPayment(record);
  const QDate after = QDate::currentDate();

  EXPECT_EQ(payment.InvoiceNumber, QStringLiteral("Zaplata za FV 1/2024"));
  EXPECT_EQ(payment.CreditorName, QStringLiteral("Lodz Sp. z o.o."));
  EXPECT_EQ(payment.CreditorIBAN, PayeeIBAN);
  EXPECT_EQ(payment.Amount, TAmount::FromUnits(1005000));
  EXPECT_TRUE(payment.ExecutionDate.date() == before || payment.ExecutionDate.date() == after);
  EXPECT_EQ(payment.CreditorNIP, QString());
  EXPECT_EQ(payment.CreditorCountry, QStringLiteral("PL"));
  EXPECT_EQ(payment.Kind, TPaymentKind::VideoTel);
  EXPECT_EQ(payment.CreditorAddress, QString());
  EXPECT_EQ(payment.CreditorAddress2, QString());
  EXPECT_EQ(payment.CreditorStrtNm, QString());
  EXPECT_EQ(payment.CreditorBldgNb, QString());
  EXPECT_EQ(payment.CreditorPstCd, QString());
  EXPECT_EQ(payment.CreditorTwnNm, QStringLiteral("Gdansk"));
  EXPECT_EQ(payment.VATAmount, TAmount());
  EXPECT_EQ(payment.nrKsef, QString());
}

TEST(VideoTelToPayment, CutsTitleTo140AndTownTo35BeforeTrimming) {
  TVideoTelPayment record;
  record.Title = QString(150, u'x');
  EXPECT_EQ(VideoTelToPayment(record).InvoiceNumber, QString(140, u'x'));

  record.Title = QStringLiteral("   ") + QString(147, u'y');
  EXPECT_EQ(VideoTelToPayment(record).InvoiceNumber, QString(137, u'y')) << "leading blanks count against 140";

  // The 35th character is a blank, so the cut text is trimmed at both ends.
  record.BeneficiaryAddress = QStringLiteral("  Kraków ul. Floriańska 15 m 4 lok 31-019 Kraków");
  ASSERT_EQ(record.BeneficiaryAddress.at(34), u' ');
  EXPECT_EQ(VideoTelToPayment(record).CreditorTwnNm, QStringLiteral("Krakow ul. Florianska 15 m 4 lok"));
}

TEST(RemovePolishDiacritics, ReplacesTheEighteenLettersOnly) {
  EXPECT_EQ(RemovePolishDiacritics(QStringLiteral("Łódź Sp. z o.o.")), QStringLiteral("Lodz Sp. z o.o."));
  EXPECT_EQ(RemovePolishDiacritics(QStringLiteral("ąćęłńóśźż ĄĆĘŁŃÓŚŹŻ")), QStringLiteral("acelnoszz ACELNOSZZ"));
  EXPECT_EQ(RemovePolishDiacritics(QStringLiteral("Müller Straße é ö Ř €")), QStringLiteral("Müller Straße é ö Ř €"));
}

// ---- Loading a file

const QDateTime ExecutionDate(QDate(2024, 3, 15), QTime(10, 30));

class LoadVideoTelFileTest : public ::testing::Test {
protected:
  QString Write(const QByteArray &bytes) const {
    Dir.WriteBytes(QStringLiteral("przelewy.imp"), bytes);
    return Dir.File(QStringLiteral("przelewy.imp"));
  }
  TPaymentList Load(const QByteArray &bytes) const { return LoadVideoTelFile(Write(bytes), ExecutionDate); }

  static QStringList Titles(const TPaymentList &payments) {
    QStringList titles;
    for (const TPayment &payment : payments)
      titles.append(payment.InvoiceNumber);
    return titles;
  }

  TTempDir Dir;
};

// "Łódź Sp. z o.o." is paid "Zapłata za fakturę" in Kraków: the same line as VideoTel writes
// it on a Polish Windows (windows-1250) and as text.
const QByteArray Cp1250Line = "\"P\xB3"
                              "atnik\" 2 PL61109010140000071219812874 4 12.34 6 7 PL27114020040000300201355387 "
                              "\"Zap\xB3"
                              "ata za faktur\xEA\" PLN \"\xA3\xF3"
                              "d\x9F Sp. z o.o.\" \"Krak\xF3w\" 13 14";
const QString TextLine =
    QStringLiteral("\"Płatnik\" 2 PL61109010140000071219812874 4 12.34 6 7 PL27114020040000300201355387 "
                   "\"Zapłata za fakturę\" PLN \"Łódź Sp. z o.o.\" \"Kraków\" 13 14");

QByteArray Utf16(QStringConverter::Encoding encoding, const QByteArray &bom, const QString &text) {
  QStringEncoder encoder(encoding);
  return bom + QByteArray(encoder(text));
}

struct TEncodingCase {
  const char *Name;
  QByteArray Bytes;
};

void PrintTo(const TEncodingCase &c, std::ostream *os) { *os << c.Name; }

class LoadVideoTelFileEncoding : public LoadVideoTelFileTest, public ::testing::WithParamInterface<TEncodingCase> {};

TEST_P(LoadVideoTelFileEncoding, PolishLettersBecomeAscii) {
  const TPaymentList payments = Load(GetParam().Bytes);
  ASSERT_EQ(payments.size(), 2u);
  for (const TPayment &payment : payments) {
    EXPECT_EQ(payment.CreditorName, QStringLiteral("Lodz Sp. z o.o."));
    EXPECT_EQ(payment.InvoiceNumber, QStringLiteral("Zaplata za fakture"));
    EXPECT_EQ(payment.CreditorTwnNm, QStringLiteral("Krakow"));
    EXPECT_EQ(payment.CreditorIBAN, PayeeIBAN);
    EXPECT_EQ(payment.Amount, TAmount::FromUnits(123400));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, LoadVideoTelFileEncoding,
    ::testing::Values(
        TEncodingCase{"windows1250", Cp1250Line + "\r\n" + Cp1250Line + "\r\n"},
        TEncodingCase{"utf8", (TextLine + QStringLiteral("\n") + TextLine).toUtf8()},
        TEncodingCase{"utf8Bom", QByteArray("\xEF\xBB\xBF") + (TextLine + QStringLiteral("\r\n") + TextLine).toUtf8()},
        TEncodingCase{"utf16LeBom", Utf16(QStringConverter::Utf16LE, QByteArray("\xFF\xFE", 2),
                                          TextLine + QStringLiteral("\r\n") + TextLine + QStringLiteral("\r\n"))},
        TEncodingCase{"utf16BeBom", Utf16(QStringConverter::Utf16BE, QByteArray("\xFE\xFF", 2),
                                          TextLine + QStringLiteral("\r") + TextLine)}),
    [](const auto &info) { return std::string(info.param.Name); });

// Ó Ł of "SPÓŁKA" in windows-1250 (D3 A3) are valid UTF-8 by accident; with no other Polish
// letter in the file it was read as UTF-8, and the payee's name went to the bank as "SPӣKA".
TEST_F(LoadVideoTelFileTest, Windows1250FileWhoseOnlyPolishLettersLookLikeUtf8) {
  const TPaymentList payments =
      Load("\"Platnik\" 2 PL61109010140000071219812874 4 12.34 6 7 "
           "PL27114020040000300201355387 \"FV 1\" PLN \"HURT SP\xD3\xA3KA\" \"Krakow\" 13 14\r\n");
  ASSERT_EQ(payments.size(), 1u);
  EXPECT_EQ(payments[0].CreditorName, QStringLiteral("HURT SPOLKA"));
}

struct TLineEndCase {
  const char *Name;
  const char *End;
};

void PrintTo(const TLineEndCase &c, std::ostream *os) { *os << c.Name; }

class LoadVideoTelFileLineEnds : public LoadVideoTelFileTest, public ::testing::WithParamInterface<TLineEndCase> {};

TEST_P(LoadVideoTelFileLineEnds, SkipsBlankLinesAndKeepsALastLineWithoutEnd) {
  const QByteArray end(GetParam().End);
  const QByteArray bytes = end + RecordLine(QStringLiteral("pierwszy")).toUtf8() + end + end + " \t " + end +
                           RecordLine(QStringLiteral("drugi")).toUtf8() + end + "   " + end +
                           RecordLine(QStringLiteral("trzeci")).toUtf8();
  EXPECT_EQ(Titles(Load(bytes)), Fields({"pierwszy", "drugi", "trzeci"}));
}

INSTANTIATE_TEST_SUITE_P(Ends, LoadVideoTelFileLineEnds,
                         ::testing::Values(TLineEndCase{"crlf", "\r\n"}, TLineEndCase{"lf", "\n"},
                                           TLineEndCase{"cr", "\r"}),
                         [](const auto &info) { return std::string(info.param.Name); });

TEST_F(LoadVideoTelFileTest, MixedLineEndsEachEndOneLine) {
  const QByteArray bytes = RecordLine(QStringLiteral("a")).toUtf8() + "\n\r" +
                           RecordLine(QStringLiteral("b")).toUtf8() + "\r\r\n" +
                           RecordLine(QStringLiteral("c")).toUtf8() + "\r\n";
  EXPECT_EQ(Titles(Load(bytes)), Fields({"a", "b", "c"}));
}

TEST_F(LoadVideoTelFileTest, BlankFileGivesNoPayments) {
  EXPECT_TRUE(Load("").empty());
  EXPECT_TRUE(Load("\r\n   \n\t\r\n \r").empty());
}

TEST_F(LoadVideoTelFileTest, EveryPaymentCarriesTheGivenDate) {
  const TPaymentList payments =
      Load((RecordLine(QStringLiteral("a")) + QStringLiteral("\r\n") + RecordLine(QStringLiteral("b")) +
            QStringLiteral("\r\n") + RecordLine(QStringLiteral("c")))
               .toUtf8());
  ASSERT_EQ(payments.size(), 3u);
  for (const TPayment &payment : payments)
    EXPECT_EQ(payment.ExecutionDate, ExecutionDate);
}

TEST_F(LoadVideoTelFileTest, OneBadLineFailsTheWholeFile) {
  const QByteArray good = RecordLine(QStringLiteral("a")).toUtf8();
  EXPECT_THROW_MESSAGE(Load(good + "\r\n1 2 3 4 5 6 7 8 9 10 11 12 13\r\n" + good),
                       QStringLiteral("Nieprawidłowy rekord VideoTEL. Liczba pól=13"));
  EXPECT_THROW_MESSAGE(
      Load(good + "\r\n" +
           RecordLine(QStringLiteral("b"), QStringLiteral("n"), QStringLiteral("a"), QStringLiteral("12.3x")).toUtf8()),
      QStringLiteral("'12,3x' is not a valid floating point value"));
}

TEST_F(LoadVideoTelFileTest, MissingFileNamesThePathAndTheReason) {
  const QString path = Dir.File(QStringLiteral("brak.imp"));
  EXPECT_THROW_MESSAGE(LoadVideoTelFile(path, ExecutionDate),
                       QStringLiteral("Cannot open file \"%1\". No such file or directory").arg(path));
}

TEST(LoadVideoTelFile, AReadErrorIsNotTakenForAShortFile) {
  // Reading this file at its start fails with EIO: the first page of memory is never mapped.
  EXPECT_THROW_MESSAGE(LoadVideoTelFile(QStringLiteral("/proc/self/mem"), ExecutionDate),
                       QStringLiteral("Cannot open file \"/proc/self/mem\". Input/output error"));
}

} // namespace
