#include "BankFakes.h"
#include "TestSupport.h"
#include "model/Text.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>

namespace {

const QByteArray ThreeAccounts = "[Konto1]\r\nOpis=Główne\r\nNIP=1111111111\r\nName=Firma Jeden\r\n"
                                 "IBAN=PL11111111111111111111111111\r\nBIC=AAAAPLPW\r\n"
                                 "[Konto2]\r\nOpis=Walutowe\r\nNIP=2222222222\r\nName=Firma Dwa\r\n"
                                 "IBAN=PL22222222222222222222222222\r\nBIC=BBBBPLPW\r\n"
                                 "[Konto3]\r\nOpis=Zapasowe\r\nNIP=3333333333\r\nName=Firma Trzy\r\n"
                                 "IBAN=PL33333333333333333333333333\r\nBIC=CCCCPLPW\r\n";

const TCompanyData SavedPayer{QStringLiteral("Zapisana"), QStringLiteral("9999999999"),
                              QStringLiteral("PL99999999999999999999999999"), QStringLiteral("ZZZZPLPW")};

TCompanyData Company(const char *name, const char *nip, const char *iban, const char *bic) {
  return {QString::fromUtf8(name), QString::fromUtf8(nip), QString::fromUtf8(iban), QString::fromUtf8(bic)};
}

void ExpectPayer(const TCompanyData &actual, const TCompanyData &expected) {
  EXPECT_EQ(actual.Name, expected.Name);
  EXPECT_EQ(actual.NIP, expected.NIP);
  EXPECT_EQ(actual.IBAN, expected.IBAN);
  EXPECT_EQ(actual.BIC, expected.BIC);
}

class BankRegisterTest : public ::testing::Test {
protected:
  void WriteBank(const QByteArray &bytes) const { Dir.WriteBytes(QStringLiteral("BANKI.INI"), bytes); }
  QByteArray ReadBank() const { return Dir.ReadBytes(QStringLiteral("BANKI.INI")); }
  QString SettingsPath() const { return Dir.File(QStringLiteral("settings.ini")); }
  void WriteSettings(const QByteArray &bytes) const { Dir.WriteBytes(QStringLiteral("settings.ini"), bytes); }
  QByteArray ReadSettings() const { return Dir.ReadBytes(QStringLiteral("settings.ini")); }
  QString LastBank() const {
    return TIniFile(SettingsPath()).ReadString(QStringLiteral("Program"), QStringLiteral("LastBank"));
  }

  // Start-up as the window runs it: the payer fields from settings.ini, then the register.
  void StartUp() {
    Payer.Fields = TSettings::LoadCompany(SettingsPath());
    Register.Start();
  }
  // The user picks an entry of the list.
  void Choose(int index) {
    Combo.SetCurrentIndex(index);
    Register.CmbBankChange();
  }
  void Highlight(int row) { Grid.SetCurrentRow(row); }

  TTempAppDir Dir;
  TFakeHost Host{Dir.Paths()};
  TFakePayerFields Payer;
  TFakeBankCombo Combo;
  TFakeBankGrid Grid;
  TFakeBankDialog Dialog;
  TBankRegister Register{Host.Host(), Payer, Combo, Grid, Dialog};
};

TEST_F(BankRegisterTest, StartSelectsTheRememberedAccountAndShowsItsPayerData) {
  WriteBank(ThreeAccounts);
  TSettings::SaveCompany(SettingsPath(), SavedPayer);
  WriteSettings(ReadSettings() + "[Program]\r\nLastBank = Konto3\r\n");

  StartUp();

  EXPECT_EQ(Combo.Items,
            QStringList({QStringLiteral("Główne"), QStringLiteral("Walutowe"), QStringLiteral("Zapasowe")}));
  EXPECT_EQ(Combo.Index, 2);
  ExpectPayer(Payer.Fields, Company("Firma Trzy", "3333333333", "PL33333333333333333333333333", "CCCCPLPW"));
  EXPECT_TRUE(ReadSettings().endsWith("[Program]\r\nLastBank=Konto3\r\n")) << "written again at start";
  ExpectPayer(TSettings::LoadCompany(SettingsPath()), SavedPayer);

  ASSERT_EQ(Grid.Shown.size(), 3u);
  EXPECT_EQ(Grid.Shown[1].konto, QStringLiteral("Konto2"));
  EXPECT_EQ(Grid.Shown[1].Opis, QStringLiteral("Walutowe"));
  EXPECT_EQ(Grid.Shown[1].IBAN, QStringLiteral("PL22222222222222222222222222"));
  EXPECT_EQ(Grid.Current, 2) << "the row read last is the current one";
  EXPECT_TRUE(LogLines(Host).isEmpty());
}

struct TLastBankCase {
  const char *Stored; // nullptr: no key
  int Selected;
  const char *Written;
};

class BankRegisterLastBankTest : public BankRegisterTest, public ::testing::WithParamInterface<TLastBankCase> {};

TEST_P(BankRegisterLastBankTest, ChoosesTheEntryAndRemembersIt) {
  WriteBank(ThreeAccounts);
  if (GetParam().Stored)
    WriteSettings(QByteArray("[Program]\r\nLastBank=") + GetParam().Stored + "\r\n");

  StartUp();

  EXPECT_EQ(Combo.Index, GetParam().Selected);
  EXPECT_EQ(LastBank(), QString::fromUtf8(GetParam().Written));
  EXPECT_EQ(Payer.Fields.NIP, QString(10, QChar(u'1' + GetParam().Selected)));
}

INSTANTIATE_TEST_SUITE_P(Values, BankRegisterLastBankTest,
                         ::testing::Values(TLastBankCase{"Konto2", 1, "Konto2"}, TLastBankCase{nullptr, 0, "Konto1"},
                                           TLastBankCase{"Konto7", 0, "Konto1"}, TLastBankCase{"konto2", 0, "Konto1"},
                                           TLastBankCase{"KontoX", 0, "Konto1"}, TLastBankCase{"Konto0", 0, "Konto1"},
                                           TLastBankCase{"Konto-1", 0, "Konto1"}, TLastBankCase{"Bank3", 0, "Konto1"},
                                           TLastBankCase{"Konto", 0, "Konto1"}));

// An empty register file, one with only a comment and a missing one are all empty registers.
class BankRegisterEmptyTest : public BankRegisterTest, public ::testing::WithParamInterface<const char *> {};

TEST_P(BankRegisterEmptyTest, SelectsNothingAndKeepsThePayerFieldsFromSettings) {
  if (GetParam())
    WriteBank(GetParam());
  TSettings::SaveCompany(SettingsPath(), SavedPayer);
  const QByteArray settings = ReadSettings();

  StartUp();

  EXPECT_TRUE(Combo.Items.isEmpty());
  EXPECT_EQ(Combo.Index, -1);
  ExpectPayer(Payer.Fields, SavedPayer);
  EXPECT_EQ(ReadSettings(), settings) << "LastBank is not written";
  EXPECT_TRUE(Grid.Shown.empty());

  Register.EditBankRow();
  Register.DeleteLastBankRow();
  EXPECT_TRUE(Dialog.Shown.empty());
  EXPECT_TRUE(Host.InformationBoxes.isEmpty() && Host.Confirmations.isEmpty());
  EXPECT_EQ(QFileInfo::exists(Dir.File(QStringLiteral("BANKI.INI"))), GetParam() != nullptr);

  // Adding the first account creates the register.
  Dialog.Answer = [](TBankRow &row) {
    row.Opis = QStringLiteral("Nowe");
    return true;
  };
  Register.AddBank();
  EXPECT_TRUE(ReadBank().endsWith("[Konto1]\r\nOpis=Nowe\r\nNIP=\r\nName=\r\nIBAN=\r\nBIC=\r\n"))
      << ReadBank().constData();
}

INSTANTIATE_TEST_SUITE_P(Files, BankRegisterEmptyTest, ::testing::Values(nullptr, "", "; konta\r\n"));

TEST_F(BankRegisterTest, SectionsAreListedWhateverTheirNamesAndRenumberedByTheNextRewrite) {
  WriteBank("[Konto1]\r\nOpis=Pierwsze\r\nNIP=1111111111\r\n"
            "[Bank PKO]\r\nnip=2222222222\r\nname=Bez opisu\r\n"
            "[Konto3]\r\nOpis=\r\nNIP=3333333333\r\n");
  StartUp();
  EXPECT_EQ(Combo.Items, QStringList({QStringLiteral("Pierwsze"), QStringLiteral("Bank PKO"), QString()}));
  EXPECT_EQ(Grid.Shown[1].konto, QStringLiteral("Bank PKO"));
  EXPECT_EQ(Grid.Shown[1].Name, QStringLiteral("Bez opisu"));

  // The position decides the section: entry 2 reads "Konto2", which the file does not have.
  Choose(1);
  ExpectPayer(Payer.Fields, TCompanyData{});
  EXPECT_EQ(LastBank(), QStringLiteral("Konto2"));

  Highlight(0);
  Dialog.Answer = [](TBankRow &) { return true; };
  Register.EditBankRow();
  EXPECT_EQ(ReadBank(), QByteArray("[Konto1]\r\nOpis=Pierwsze\r\nNIP=1111111111\r\nName=\r\nIBAN=\r\nBIC=\r\n"
                                   "[Konto2]\r\nOpis=\r\nNIP=2222222222\r\nName=Bez opisu\r\nIBAN=\r\nBIC=\r\n"
                                   "[Konto3]\r\nOpis=\r\nNIP=3333333333\r\nName=\r\nIBAN=\r\nBIC=\r\n"));
  EXPECT_EQ(LogLines(Host), QStringList({QStringLiteral("Skorygowano zapis w tablicy banków.")}));
  EXPECT_EQ(Host.Sounds, QStringList({Dir.File(QStringLiteral("file4.wav"))}));

  // The list is not rebuilt during the run, but entry 2 now reads the renamed section.
  Choose(1);
  EXPECT_EQ(Payer.Fields.NIP, QStringLiteral("2222222222"));

  TFakeBankCombo nextCombo;
  TBankRegister nextStart(Host.Host(), Payer, nextCombo, Grid, Dialog);
  nextStart.Start();
  EXPECT_EQ(nextCombo.Items, QStringList({QStringLiteral("Pierwsze"), QString(), QString()}));
}

TEST_F(BankRegisterTest, OnlyTheLastRowCanBeDeletedAndOnlyAfterYes) {
  WriteBank(ThreeAccounts);
  WriteSettings("[Program]\r\nLastBank=Konto3\r\n");
  StartUp();

  Highlight(1);
  Register.DeleteLastBankRow();
  EXPECT_EQ(Host.InformationBoxes,
            QStringList({QStringLiteral("Sorry Batory ... ale można wykasować tylko ostatni wiersz w tabeli\r\r")}));
  EXPECT_TRUE(Host.Confirmations.isEmpty());
  EXPECT_EQ(Grid.Shown.size(), 3u);
  EXPECT_EQ(ReadBank(), ThreeAccounts);

  Highlight(2);
  Host.ConfirmAnswers = {false};
  Register.DeleteLastBankRow();
  EXPECT_EQ(Host.Confirmations, QStringList({QStringLiteral("Czy napewno chcesz wykasować ostatni wiersz tabeli ")}));
  EXPECT_EQ(Register.Rows().size(), 3u);
  EXPECT_EQ(ReadBank(), ThreeAccounts);

  Host.ConfirmAnswers = {true};
  Register.DeleteLastBankRow();
  EXPECT_EQ(Register.Rows().size(), 2u);
  EXPECT_EQ(Grid.Shown.size(), 2u);
  EXPECT_EQ(Grid.Current, 1);
  EXPECT_EQ(ReadBank(), ThreeAccounts.left(ThreeAccounts.indexOf("[Konto3]")));
  EXPECT_TRUE(LogLines(Host).isEmpty());

  // The remembered third account is gone: the next start falls back to the first.
  TBankRegister nextStart(Host.Host(), Payer, Combo, Grid, Dialog);
  nextStart.Start();
  EXPECT_EQ(Combo.Index, 0);
  EXPECT_EQ(LastBank(), QStringLiteral("Konto1"));
}

TEST_F(BankRegisterTest, AnAddedRowCancelledStaysInTheTableAndReachesTheFileWithTheNextRewrite) {
  WriteBank(ThreeAccounts);
  StartUp();

  Register.AddBank();
  ASSERT_EQ(Dialog.Shown.size(), 1u);
  EXPECT_TRUE(Dialog.Shown[0].Opis.isEmpty() && Dialog.Shown[0].Name.isEmpty());
  EXPECT_EQ(Grid.Shown.size(), 4u);
  EXPECT_EQ(Grid.Current, 3);
  EXPECT_EQ(ReadBank(), ThreeAccounts);
  EXPECT_TRUE(LogLines(Host).isEmpty() && Host.Sounds.isEmpty());

  Highlight(0);
  Dialog.Answer = [](TBankRow &row) {
    row.Opis = QStringLiteral(" Główne po korekcie ");
    return true;
  };
  Register.EditBankRow();
  EXPECT_EQ(Grid.Current, 0);
  EXPECT_EQ(Grid.Shown[0].Opis, QStringLiteral(" Główne po korekcie ")) << "taken as typed";
  const QByteArray bank = ReadBank();
  EXPECT_TRUE(bank.startsWith("[Konto1]\r\nOpis= Główne po korekcie \r\n")) << bank.constData();
  EXPECT_TRUE(bank.endsWith("[Konto4]\r\nOpis=\r\nNIP=\r\nName=\r\nIBAN=\r\nBIC=\r\n")) << bank.constData();
}

// Whatever BANKI.INI holds is kept as it is, in the rows the user opened and in the others:
// the table only shows it.
TEST_F(BankRegisterTest, ValuesAreNeverCut) {
  const QString name104 = QStringLiteral("Przedsiębiorstwo Handlowo-Usługowe ") + QString(69, u'Ż');
  const QString spacedIban = QStringLiteral("PL79 1140 2004 4000 0300 2013 5538");
  WriteBank("[Konto1]\r\nOpis=Główne\r\nNIP=526-025-02-74\r\nName=" + name104.toUtf8() +
            "\r\nIBAN=" + spacedIban.toUtf8() +
            "\r\nBIC=WBKPPLPPXXX\r\n"
            "[Konto2]\r\nOpis=Walutowe\r\nNIP=1234563218\r\nName=Firma Dwa\r\n"
            "IBAN=PL61109010140000071219812874\r\nBIC=WBKPPLPP\r\n");
  StartUp();

  EXPECT_EQ(Grid.Shown[0].Name, name104);
  EXPECT_EQ(Grid.Shown[0].IBAN, spacedIban);
  EXPECT_EQ(Grid.Shown[0].NIP, QStringLiteral("526-025-02-74"));

  const QString opis40 = QStringLiteral("Rachunek walutowy w euro, oddział Gdańsk");
  Dialog.Answer = [&](TBankRow &row) {
    row.Opis = opis40;
    return true;
  };
  Highlight(1);
  Register.EditBankRow();

  EXPECT_EQ(Grid.Shown[1].Opis, opis40);
  const TIniFile bank(Dir.File(QStringLiteral("BANKI.INI")));
  EXPECT_EQ(bank.ReadString(QStringLiteral("Konto1"), QStringLiteral("Name")), name104);
  EXPECT_EQ(bank.ReadString(QStringLiteral("Konto1"), QStringLiteral("IBAN")), spacedIban);
  EXPECT_EQ(bank.ReadString(QStringLiteral("Konto1"), QStringLiteral("NIP")), QStringLiteral("526-025-02-74"));
  EXPECT_EQ(bank.ReadString(QStringLiteral("Konto1"), QStringLiteral("BIC")), QStringLiteral("WBKPPLPPXXX"));
  EXPECT_EQ(bank.ReadString(QStringLiteral("Konto2"), QStringLiteral("Opis")), opis40);
}

TEST_F(BankRegisterTest, ChoosingAnAccountChangesTheSavedPayerOnlyWhenSaved) {
  WriteBank(ThreeAccounts);
  TSettings::SaveCompany(SettingsPath(), SavedPayer);
  StartUp();
  ExpectPayer(TSettings::LoadCompany(SettingsPath()), SavedPayer);

  Choose(1);
  ExpectPayer(Payer.Fields, Company("Firma Dwa", "2222222222", "PL22222222222222222222222222", "BBBBPLPW"));
  EXPECT_EQ(LastBank(), QStringLiteral("Konto2"));
  ExpectPayer(TSettings::LoadCompany(SettingsPath()), SavedPayer);

  Payer.Fields.Name = QStringLiteral(" Firma Dwa po zmianie");
  // The register's account has wrong check digits; the user saves it all the same.
  Host.ConfirmAnswers = {true};
  Register.SavePayerData();
  ExpectPayer(TSettings::LoadCompany(SettingsPath()),
              Company("Firma Dwa po zmianie", "2222222222", "PL22222222222222222222222222", "BBBBPLPW"));
  EXPECT_EQ(Host.Confirmations,
            QStringList{QStringLiteral("Te dane wyglądają na błędne:\r\rIBAN Płatnika: błędne cyfry kontrolne (ISO "
                                       "7064, mod 97-10): to literówka albo cudzy rachunek\r\rZapisać mimo to?")});
  EXPECT_EQ(LogLines(Host), QStringList({QStringLiteral("Dane Płatnika zapisane w pliku [%1]").arg(SettingsPath())}));
  EXPECT_EQ(LastBank(), QStringLiteral("Konto2"));
}

// Transfers pay from settings.ini; the line beside the fields says so whenever the fields
// show another payer, and goes once they are saved.
TEST_F(BankRegisterTest, TheAccountThatPaysIsNamedWhileTheFieldsShowAnother) {
  WriteBank(ThreeAccounts);
  TSettings::SaveCompany(SettingsPath(), SavedPayer);
  StartUp();
  EXPECT_EQ(Payer.PayingAccountNotice,
            QStringLiteral("Przelewy są zlecane z rachunku PL99999999999999999999999999 (Zapisana) zapisanego w "
                           "settings.ini, nie z danych powyżej, dopóki nie naciśniesz „Zapisz dane Płatnika”."));

  Host.ConfirmAnswers = {false};
  Register.SavePayerData();
  EXPECT_FALSE(Payer.PayingAccountNotice.isEmpty()) << "not saved: the old account still pays";

  Host.ConfirmAnswers = {true};
  Register.SavePayerData();
  EXPECT_EQ(Payer.PayingAccountNotice, QString());
}

TEST_F(BankRegisterTest, NoLineWhileTheFieldsShowWhatPays) {
  TSettings::SaveCompany(SettingsPath(), SavedPayer);
  StartUp();
  EXPECT_EQ(Payer.PayingAccountNotice, QString());
}

TEST_F(BankRegisterTest, WithoutSavedPayerDataTheLineSaysNothingPaysYet) {
  WriteBank(ThreeAccounts);
  StartUp();
  EXPECT_EQ(Payer.PayingAccountNotice,
            QStringLiteral("Przelewy nie mają jeszcze rachunku Płatnika: dane powyżej zaczną obowiązywać po "
                           "naciśnięciu „Zapisz dane Płatnika”."));
}

TEST_F(BankRegisterTest, AnAddedAccountIsInTheListAtOnceAndTheChoiceStays) {
  WriteBank(ThreeAccounts);
  StartUp();
  Choose(1);
  Dialog.Answer = [](TBankRow &row) {
    row.Opis = QStringLiteral("Nowe");
    row.IBAN = QStringLiteral("PL44444444444444444444444444");
    return true;
  };
  Register.AddBank();
  EXPECT_EQ(Combo.Items, QStringList({QStringLiteral("Główne"), QStringLiteral("Walutowe"), QStringLiteral("Zapasowe"),
                                      QStringLiteral("Nowe")}));
  EXPECT_EQ(Combo.Index, 1);
  ExpectPayer(Payer.Fields, Company("Firma Dwa", "2222222222", "PL22222222222222222222222222", "BBBBPLPW"));
}

TEST_F(BankRegisterTest, ARefusedRewriteLeavesTheOldRegisterWhole) {
  WriteBank(ThreeAccounts);
  StartUp();
  Highlight(0);
  Dialog.Answer = [](TBankRow &row) {
    row.Opis = QStringLiteral("Zmienione");
    return true;
  };
  // The new register is longer than the limit, so its write is cut short.
  {
    const TFileSizeLimit limit(64);
    EXPECT_THROW_MESSAGE(Register.EditBankRow(),
                         QStringLiteral("Unable to write to ") + Dir.File(QStringLiteral("BANKI.INI")));
  }
  EXPECT_EQ(ReadBank(), ThreeAccounts);
  EXPECT_EQ(QDir(Dir.Path()).entryList(QDir::Files),
            QStringList({QStringLiteral("BANKI.INI"), QStringLiteral("settings.ini")}))
      << "no temporary file is left behind";
  EXPECT_TRUE(LogLines(Host).isEmpty() && Host.Sounds.isEmpty());

  Highlight(2);
  Host.ConfirmAnswers = {true};
  {
    const TFileSizeLimit limit(64);
    EXPECT_THROW_MESSAGE(Register.DeleteLastBankRow(),
                         QStringLiteral("Unable to write to ") + Dir.File(QStringLiteral("BANKI.INI")));
  }
  EXPECT_EQ(ReadBank(), ThreeAccounts);
}

TEST_F(BankRegisterTest, AReadOnlySettingsFileStillLetsTheTableMirrorTheRegister) {
  WriteBank(ThreeAccounts);
  WriteSettings("[COMPANY]\r\nName=Zapisana\r\n");
  ASSERT_TRUE(QFile::setPermissions(SettingsPath(), QFileDevice::ReadOwner | QFileDevice::ReadGroup));

  // Remembering the chosen account fails; the failure still reaches the caller.
  EXPECT_THROW_MESSAGE(StartUp(), QStringLiteral("Unable to write to ") + SettingsPath());
  EXPECT_EQ(Grid.Shown.size(), 3u);

  Dialog.Answer = [](TBankRow &row) {
    row.Opis = QStringLiteral("Nowe");
    return true;
  };
  Register.AddBank();
  const TIniFile bank(Dir.File(QStringLiteral("BANKI.INI")));
  EXPECT_EQ(bank.ReadSections(), QStringList({QStringLiteral("Konto1"), QStringLiteral("Konto2"),
                                              QStringLiteral("Konto3"), QStringLiteral("Konto4")}));
  EXPECT_EQ(bank.ReadString(QStringLiteral("Konto2"), QStringLiteral("Name")), QStringLiteral("Firma Dwa"));
  EXPECT_EQ(bank.ReadString(QStringLiteral("Konto4"), QStringLiteral("Opis")), QStringLiteral("Nowe"));
}

TEST_F(BankRegisterTest, ARegisterPathTakenByADirectoryIsRefusedWithItsPath) {
  ASSERT_TRUE(QDir(Dir.Path()).mkdir(QStringLiteral("BANKI.INI")));
  StartUp();
  EXPECT_TRUE(Combo.Items.isEmpty());
  Dialog.Answer = [](TBankRow &) { return true; };
  EXPECT_THROW_MESSAGE(Register.AddBank(),
                       QStringLiteral("Unable to write to ") + Dir.File(QStringLiteral("BANKI.INI")));
  EXPECT_TRUE(QFileInfo(Dir.File(QStringLiteral("BANKI.INI"))).isDir());
}

TEST_F(BankRegisterTest, ARegisterWrittenOnWindowsKeepsItsPolishLetters) {
  // windows-1250 with CR LF: "Konto główne", "Spółka Złota Łódź"
  const QByteArray windows = "[Konto1]\r\nOpis=Konto g\xB3\xF3wne\r\nNIP=5260250274\r\n"
                             "Name=Sp\xF3\xB3ka Z\xB3ota \xA3\xF3"
                             "d\x9F\r\nIBAN=PL61109010140000071219812874\r\n"
                             "BIC=WBKPPLPP\r\n";
  WriteBank(windows);
  StartUp();

  EXPECT_EQ(Combo.Items, QStringList({QStringLiteral("Konto główne")}));
  EXPECT_EQ(Payer.Fields.Name, QStringLiteral("Spółka Złota Łódź"));
  EXPECT_EQ(Grid.Shown[0].Name, QStringLiteral("Spółka Złota Łódź"));

  Dialog.Answer = [](TBankRow &row) {
    row.Opis = QStringLiteral("Konto śląskie");
    return true;
  };
  Register.EditBankRow();
  EXPECT_EQ(ReadBank(), QByteArray("[Konto1]\r\nOpis=Konto \x9Cl\xB9skie\r\nNIP=5260250274\r\n"
                                   "Name=Sp\xF3\xB3ka Z\xB3ota \xA3\xF3"
                                   "d\x9F\r\nIBAN=PL61109010140000071219812874\r\n"
                                   "BIC=WBKPPLPP\r\n"))
      << "written back in its own encoding and line ends";
}

const TCompanyData RightPayer{QStringLiteral("Biuro Rachunkowe Kos"), QStringLiteral("774-000-14-54"),
                              QStringLiteral("PL27114020040000300201355387"), QStringLiteral("BREXPLPWXXX")};

TEST_F(BankRegisterTest, SavingRightPayerDataAsksNothingAndNamesTheFileWritten) {
  Payer.Fields = RightPayer;
  Payer.Fields.IBAN = QStringLiteral(" pl27 1140 2004\t0000 3002 0135 5387 ");

  Register.SavePayerData();

  EXPECT_TRUE(Host.Confirmations.isEmpty());
  EXPECT_EQ(Payer.Fields.IBAN, RightPayer.IBAN) << "the field shows the number as kept";
  ExpectPayer(TSettings::LoadCompany(SettingsPath()), RightPayer);
  EXPECT_EQ(LogLines(Host), QStringList({QStringLiteral("Dane Płatnika zapisane w pliku [%1]").arg(SettingsPath())}));
}

struct TWrongPayerCase {
  const char *Name;
  std::function<void(TCompanyData &)> Spoil;
  QString Problems;
};

void PrintTo(const TWrongPayerCase &c, std::ostream *os) { *os << c.Name; }

class WrongPayerDataTest : public BankRegisterTest, public ::testing::WithParamInterface<TWrongPayerCase> {};

TEST_P(WrongPayerDataTest, IsSavedOnlyAfterYes) {
  Payer.Fields = RightPayer;
  GetParam().Spoil(Payer.Fields);
  // settings.ini gives its values back trimmed.
  const TCompanyData typed{Trim(Payer.Fields.Name), Payer.Fields.NIP, Payer.Fields.IBAN, Payer.Fields.BIC};
  const QString question =
      QStringLiteral("Te dane wyglądają na błędne:\r\r") + GetParam().Problems + QStringLiteral("\rZapisać mimo to?");

  Host.ConfirmAnswers = {false};
  Register.SavePayerData();
  EXPECT_EQ(Host.Confirmations, QStringList{question});
  EXPECT_FALSE(QFile::exists(SettingsPath()));
  EXPECT_TRUE(LogLines(Host).isEmpty());

  Host.ConfirmAnswers = {true};
  Register.SavePayerData();
  EXPECT_EQ(Host.Confirmations, QStringList({question, question}));
  ExpectPayer(TSettings::LoadCompany(SettingsPath()), typed);
  EXPECT_EQ(LogLines(Host), QStringList({QStringLiteral("Dane Płatnika zapisane w pliku [%1]").arg(SettingsPath())}));
}

const QString WrongCheckDigits =
    QStringLiteral("błędne cyfry kontrolne (ISO 7064, mod 97-10): to literówka albo cudzy rachunek\r");

INSTANTIATE_TEST_SUITE_P(
    Cases, WrongPayerDataTest,
    ::testing::Values(
        TWrongPayerCase{"nameOfBlanks", [](TCompanyData &p) { p.Name = QStringLiteral("  "); },
                        QStringLiteral("Nazwa Płatnika: pole jest puste\r")},
        TWrongPayerCase{"nipCheckDigit", [](TCompanyData &p) { p.NIP = QStringLiteral("7740001455"); },
                        QStringLiteral("NIP Płatnika: to nie jest poprawny NIP: 10 cyfr, z których ostatnia jest "
                                       "cyfrą kontrolną\r")},
        TWrongPayerCase{"nipOfNineDigits", [](TCompanyData &p) { p.NIP = QStringLiteral("774000145"); },
                        QStringLiteral("NIP Płatnika: to nie jest poprawny NIP: 10 cyfr, z których ostatnia jest "
                                       "cyfrą kontrolną\r")},
        TWrongPayerCase{"ibanCheckDigits",
                        [](TCompanyData &p) { p.IBAN = QStringLiteral("PL27114020040000300201355388"); },
                        QStringLiteral("IBAN Płatnika: ") + WrongCheckDigits},
        TWrongPayerCase{"ibanTooShort", [](TCompanyData &p) { p.IBAN = QStringLiteral("PL2711402004"); },
                        QStringLiteral("IBAN Płatnika: to nie jest numer IBAN ani polski numer rachunku z 26 cyfr\r")},
        TWrongPayerCase{"bicOfSixLetters", [](TCompanyData &p) { p.BIC = QStringLiteral("BREXPL"); },
                        QStringLiteral("BIC Płatnika: to nie jest kod BIC (ISO 9362): 8 albo 11 wielkich liter i "
                                       "cyfr, w tym na miejscach 5 i 6 litery kraju\r")},
        TWrongPayerCase{"everyFieldEmpty", [](TCompanyData &p) { p = TCompanyData{}; },
                        QStringLiteral("Nazwa Płatnika: pole jest puste\rNIP Płatnika: pole jest puste\rIBAN "
                                       "Płatnika: pole jest puste\rBIC Płatnika: pole jest puste\r")}),
    [](const ::testing::TestParamInfo<TWrongPayerCase> &info) { return std::string(info.param.Name); });

} // namespace
