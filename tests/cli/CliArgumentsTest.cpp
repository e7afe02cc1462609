#include "TestSupport.h"
#include "cli/CliArguments.h"
#include "cli/CliCommandTable.h"
#include "model/Exception.h"

#include <gtest/gtest.h>

namespace {

QStringList Words(const char *line) { return QString::fromUtf8(line).split(u' ', Qt::SkipEmptyParts); }

struct TCallCase {
  const char *Arguments;
  TCliCommand Command;
  QString Input;
  QString Account;
};

// "--" ends the options of every command the same way: what follows is an argument, even
// when it looks like an option. Before the command's name it ends them as well.
TEST(CliArgumentsTest, EndOfOptionsInEveryCommand) {
  const TCallCase cases[] = {
      {"faktura --bez-mpp -- -a.xml", TCliCommand::Single, QStringLiteral("-a.xml"), QString()},
      {"paczka -- --scisle", TCliCommand::Batch, QStringLiteral("--scisle"), QString()},
      {"videotel --scisle -- -p.imp", TCliCommand::VideoTel, QStringLiteral("-p.imp"), QString()},
      {"pdf -- --help", TCliCommand::Pdf, QStringLiteral("--help"), QString()},
      {"wyslij -- -h", TCliCommand::SendToAuthor, QStringLiteral("-h"), QString()},
      {"biala-lista wczytaj -- -x.7z", TCliCommand::WhiteListLoad, QStringLiteral("-x.7z"), QString()},
      {"biala-lista pobierz --data=20260301 --", TCliCommand::WhiteListDownload, QString(), QString()},
      {"biala-lista sprawdz --data 2026-03-01 -- -1 --data", TCliCommand::WhiteListCheck, QStringLiteral("-1"),
       QStringLiteral("--data")},
      {"historia --csv --", TCliCommand::History, QString(), QString()},
      {"-- faktura -a.xml", TCliCommand::Single, QStringLiteral("-a.xml"), QString()},
  };
  for (const TCallCase &c : cases) {
    const TCliRequest request = ParseCliArguments(Words(c.Arguments));
    EXPECT_EQ(request.Command, c.Command) << c.Arguments;
    EXPECT_EQ(request.Input, c.Input) << c.Arguments;
    EXPECT_EQ(request.Account, c.Account) << c.Arguments;
  }
}

struct TWrongCallCase {
  const char *Arguments;
  QString Message;
};

// Each wrong call says what is wrong and what would be right.
TEST(CliArgumentsTest, AWrongCallNamesWhatIsValid) {
  const QString transfer = QStringLiteral("--mpp, --bez-mpp, --scisle albo --help)");
  const TWrongCallCase cases[] = {
      {"faktura a.xml --szybko",
       QStringLiteral("Nieznana opcja polecenia faktura: --szybko (dozwolone: --referencja, ") + transfer},
      {"paczka d --szybko=1", QStringLiteral("Nieznana opcja polecenia paczka: --szybko (dozwolone: ") + transfer},
      {"videotel p.imp -x", QStringLiteral("Nieznana opcja polecenia videotel: -x (dozwolone: --scisle albo --help)")},
      {"pdf a.xml --scisle", QStringLiteral("Nieznana opcja polecenia pdf: --scisle (dozwolone: --help)")},
      {"biala-lista wczytaj a.7z --data=20260301",
       QStringLiteral("Nieznana opcja polecenia biala-lista wczytaj: --data (dozwolone: --help)")},
      {"biala-lista pobierz --od 2026-03-01",
       QStringLiteral("Nieznana opcja polecenia biala-lista pobierz: --od (dozwolone: --data albo --help)")},
      {"biala-lista sprawdz 1 2 --csv",
       QStringLiteral("Nieznana opcja polecenia biala-lista sprawdz: --csv (dozwolone: --data albo --help)")},
      {"historia --data 2026-03-01",
       QStringLiteral("Nieznana opcja polecenia historia: --data (dozwolone: --od, --do, --szukaj, --csv, --wycofaj, "
                      "--przywroc albo --help)")},
      {"--referencja x paczka d",
       QStringLiteral("Nieznana opcja polecenia paczka: --referencja (dozwolone: --mpp, --bez-mpp, --scisle albo "
                      "--help)")},
      {"--scisle",
       QStringLiteral(
           "Brak polecenia (faktura, paczka, videotel, pdf, wyslij, biala-lista, historia, ksef albo do-zaplaty)")},
      {"VIDEOTEL p.imp",
       QStringLiteral("Nieznane polecenie: VIDEOTEL (dozwolone: faktura, paczka, videotel, pdf, wyslij, biala-lista, "
                      "historia, ksef albo do-zaplaty)")},
      {"biala-lista", QStringLiteral("Brak polecenia po biala-lista (wczytaj, pobierz albo sprawdz)")},
      {"faktura", QStringLiteral("Brak argumentu PLIK.xml")},
      {"paczka", QStringLiteral("Brak argumentu KATALOG")},
      {"videotel --scisle", QStringLiteral("Brak argumentu PLIK.imp")},
      {"pdf", QStringLiteral("Brak argumentu PLIK.xml")},
      {"wyslij", QStringLiteral("Brak argumentu PLIK")},
      {"biala-lista wczytaj", QStringLiteral("Brak argumentu PLIK")},
      {"biala-lista sprawdz", QStringLiteral("Brak argumentu NIP")},
      {"biala-lista pobierz 20260301",
       QStringLiteral("Nadmiarowy argument: 20260301 (polecenie biala-lista pobierz nie przyjmuje argumentów)")},
      {"biala-lista sprawdz 1 2 3",
       QStringLiteral("Nadmiarowy argument: 3 (polecenie biala-lista sprawdz przyjmuje tylko NIP i RACHUNEK)")},
      {"historia -- --csv", QStringLiteral("Nadmiarowy argument: --csv (polecenie historia nie przyjmuje argumentów)")},
      {"biala-lista sprawdz 1 2 --data", QStringLiteral("Opcja --data wymaga wartości")},
      {"historia --csv --csv", QStringLiteral("Opcja --csv została podana więcej niż raz")},
      {"historia --przywroc 2 --szukaj x",
       QStringLiteral("Opcja --szukaj nie łączy się z opcjami --wycofaj i --przywroc")},
  };
  for (const TWrongCallCase &c : cases) {
    SCOPED_TRACE(c.Arguments);
    EXPECT_THROW_MESSAGE(ParseCliArguments(Words(c.Arguments)), c.Message);
  }
}

// Options before the command's name are the command's own, as scripts have always given them;
// --version anywhere before "--" prints the version.
TEST(CliArgumentsTest, OptionsBeforeTheCommandNameAreItsOwn) {
  const TCliRequest single = ParseCliArguments(Words("--bez-mpp --referencja R faktura a.xml"));
  EXPECT_EQ(single.Command, TCliCommand::Single);
  EXPECT_EQ(single.Input, QStringLiteral("a.xml"));
  EXPECT_EQ(single.AdditionalReference, QStringLiteral("R"));
  ASSERT_TRUE(single.MPP.has_value());
  EXPECT_FALSE(single.MPP->Enabled);

  const TCliRequest history = ParseCliArguments(Words("--csv -- historia"));
  EXPECT_EQ(history.Command, TCliCommand::History);
  EXPECT_TRUE(history.Csv);

  const TCliRequest download = ParseCliArguments(Words("--data 20260301 biala-lista pobierz"));
  EXPECT_EQ(download.Command, TCliCommand::WhiteListDownload);
  EXPECT_EQ(download.Day, QDate(2026, 3, 1));

  EXPECT_EQ(ParseCliArguments(Words("wyslij a.xml --version")).Command, TCliCommand::Version);
  EXPECT_EQ(ParseCliArguments(Words("faktura -- --version")).Input, QStringLiteral("--version"));
}

// --ksef is the one option given again and again; a form is chosen by all the options given,
// whatever their order.
TEST(CliArgumentsTest, DueInvoicesTakeRepeatedNumbersInAnyOrder) {
  const TCliRequest create = ParseCliArguments(Words("do-zaplaty --ksef A --scisle --ksef=B --utworz"));
  EXPECT_EQ(create.Command, TCliCommand::DueInvoices);
  EXPECT_TRUE(create.CreateDueTransfer);
  EXPECT_TRUE(create.Strict);
  EXPECT_EQ(create.DueKsefNumbers, (QStringList{QStringLiteral("A"), QStringLiteral("B")}));

  const TCliRequest due = ParseCliArguments(Words("do-zaplaty --termin-do 2026-03-31 --utworz"));
  EXPECT_TRUE(due.CreateDueTransfer);
  EXPECT_EQ(due.Due.DueUpTo, QDate(2026, 3, 31));
  EXPECT_FALSE(ParseCliArguments(Words("do-zaplaty --status wszystkie")).Due.Status.has_value());
  EXPECT_EQ(ParseCliArguments(Words("do-zaplaty --status w-pliku")).Due.Status, TDueStatus::InFile);
  EXPECT_EQ(CommandOptionNames(*CommandsOfTopic(QStringLiteral("do-zaplaty")).first()).count(u"--termin-do"), 1);
}

struct THelpCase {
  const char *Arguments;
  QString Topic;
};

// --help anywhere before "--" describes what the words before it name.
TEST(CliArgumentsTest, HelpDescribesTheCommandItFollows) {
  const THelpCase cases[] = {
      {"--help", QString()},
      {"-h faktura", QString()},
      {"faktura --help", QStringLiteral("faktura")},
      {"faktura a.xml --mpp=Strd -h", QStringLiteral("faktura")},
      {"historia --wycofaj 3 --help", QStringLiteral("historia")},
      {"biala-lista --help", QStringLiteral("biala-lista")},
      {"biala-lista sprawdz -h", QStringLiteral("biala-lista sprawdz")},
  };
  for (const THelpCase &c : cases) {
    const TCliRequest request = ParseCliArguments(Words(c.Arguments));
    EXPECT_EQ(request.Command, TCliCommand::Help) << c.Arguments;
    EXPECT_EQ(request.HelpTopic, c.Topic) << c.Arguments;
  }
}

struct TDateCase {
  const char *Arguments;
  std::optional<QDate> Day;
  std::optional<QDate> From;
  QString Message;
};

// One reading of a date for every option that takes one: RRRR-MM-DD, or RRRRMMDD as the
// Ministry names its files.
TEST(CliArgumentsTest, EveryDateIsReadTheSameWay) {
  const QDate march1(2026, 3, 1);
  const TDateCase cases[] = {
      {"biala-lista pobierz --data 2026-03-01", march1, std::nullopt, QString()},
      {"biala-lista pobierz --data=20260301", march1, std::nullopt, QString()},
      {"historia --od 2026-03-01", std::nullopt, march1, QString()},
      {"historia --od=20260301", std::nullopt, march1, QString()},
      {"historia --do 2026-3-1", std::nullopt, std::nullopt,
       QStringLiteral("Opcja --do wymaga daty w postaci RRRR-MM-DD albo RRRRMMDD, a nie „2026-3-1”")},
      {"biala-lista sprawdz 1 2 --data 20260230", std::nullopt, std::nullopt,
       QStringLiteral("Opcja --data wymaga daty w postaci RRRR-MM-DD albo RRRRMMDD, a nie „20260230”")},
  };
  for (const TDateCase &c : cases) {
    if (!c.Message.isEmpty()) {
      EXPECT_THROW_MESSAGE(ParseCliArguments(Words(c.Arguments)), c.Message);
      continue;
    }
    const TCliRequest request = ParseCliArguments(Words(c.Arguments));
    EXPECT_EQ(request.Day, c.Day) << c.Arguments;
    EXPECT_EQ(request.History.From, c.From) << c.Arguments;
  }
}

} // namespace
