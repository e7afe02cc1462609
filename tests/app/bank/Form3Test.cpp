#include "app/gui/Form3.h"
#include "FakeHost.h"
#include "GuiTestSupport.h"
#include "TestSupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

const TBankRow Stored{
    QStringLiteral("Konto2"),   QStringLiteral("Walutowe"),   QStringLiteral("PL61109010140000071219812874"),
    QStringLiteral("WBKPPLPP"), QStringLiteral("1234563218"), QStringLiteral("Firma Dwa")};

const char *const FieldNames[] = {"edtBankOpis", "edtBankIBAN", "edtBankBIC", "edtBankNIP", "edtBankNazwa"};

class TForm3Test : public ::testing::Test {
protected:
  void SetUp() override { EnsureApplication(); }

  QLineEdit &Field(const char *name) const { return Control<QLineEdit>(Dialog, QString::fromLatin1(name)); }
  QPushButton &Button(const char *name) const { return Control<QPushButton>(Dialog, QString::fromLatin1(name)); }
  // The texts beside the fields, in the fields' order.
  QStringList Problems() const {
    QStringList problems;
    for (const char *field : FieldNames)
      problems.append(Control<QLabel>(Dialog, QString::fromLatin1(field) + QStringLiteral("Problem")).text());
    return problems;
  }

  TFakeHost Host;
  TForm3 Dialog{Host};
};

TEST_F(TForm3Test, FieldsButtonsAndTabOrder) {
  EXPECT_EQ(Dialog.windowTitle(), QStringLiteral("Korekta danych konta bankowego"));
  EXPECT_TRUE(Dialog.isModal());

  const auto &fields = FieldNames;
  const QString captions[] = {QStringLiteral("Opis konta"), QStringLiteral("IBAN konta"), QStringLiteral("BIC konta"),
                              QStringLiteral("NIP Płatnika"), QStringLiteral("Nazwa Płatnika")};
  QStringList labelled;
  for (const QLabel *label : Dialog.findChildren<QLabel *>())
    if (label->buddy())
      labelled.append(label->text() + u'>' + label->buddy()->objectName());
  for (int i = 0; i < 5; ++i) {
    EXPECT_TRUE(labelled.contains(captions[i] + u'>' + QString::fromLatin1(fields[i]))) << fields[i];
    if (i < 4) {
      EXPECT_GT(Field("edtBankNazwa").width(), Field(fields[i]).width()) << "the name field is the widest";
    }
  }

  EXPECT_EQ(Button("BtnOK").text(), QStringLiteral("O&K"));
  EXPECT_EQ(Button("BtnCancel").text(), QStringLiteral("&Anuluj"));
  for (const char *name : {"BtnOK", "BtnCancel"})
    EXPECT_FALSE(Button(name).isDefault() || Button(name).autoDefault()) << name;

  // The order Tab walks through the controls that take focus by it.
  QStringList order;
  QWidget *widget = &Field("edtBankOpis");
  do {
    if ((widget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus)
      order.append(widget->objectName());
    widget = widget->nextInFocusChain();
  } while (widget != &Field("edtBankOpis"));
  EXPECT_EQ(order, QStringList({QStringLiteral("edtBankOpis"), QStringLiteral("edtBankIBAN"),
                                QStringLiteral("edtBankBIC"), QStringLiteral("edtBankNIP"),
                                QStringLiteral("edtBankNazwa"), QStringLiteral("BtnCancel"), QStringLiteral("BtnOK")}));
}

TEST_F(TForm3Test, LoadRecordBankShowsTheRowAndSaveRecordBankKeepsItsSection) {
  Dialog.LoadRecordBank(Stored);
  EXPECT_EQ(Field("edtBankOpis").text(), Stored.Opis);
  EXPECT_EQ(Field("edtBankIBAN").text(), Stored.IBAN);
  EXPECT_EQ(Field("edtBankBIC").text(), Stored.BIC);
  EXPECT_EQ(Field("edtBankNIP").text(), Stored.NIP);
  EXPECT_EQ(Field("edtBankNazwa").text(), Stored.Name);

  Field("edtBankNazwa").setText(QStringLiteral(" Firma  Dwa "));
  TBankRow row = Stored;
  Dialog.SaveRecordBank(row);
  EXPECT_EQ(row.Name, QStringLiteral(" Firma  Dwa ")) << "taken as typed";
  EXPECT_EQ(row.konto, QStringLiteral("Konto2"));
  EXPECT_EQ(row.IBAN, Stored.IBAN);
}

TEST_F(TForm3Test, OkTakesTheTypedTexts) {
  TModalAnswer answer([](QWidget &dialog) {
    auto &opis = Control<QLineEdit>(dialog, QStringLiteral("edtBankOpis"));
    opis.selectAll();
    QTest::keyClicks(&opis, QStringLiteral("Rachunek VAT"));
    QTest::mouseClick(&Control<QPushButton>(dialog, QStringLiteral("BtnOK")), Qt::LeftButton);
  });
  TBankRow row = Stored;
  EXPECT_TRUE(Dialog.EditBankRecord(row));
  EXPECT_EQ(answer.Answered(), 1);
  EXPECT_EQ(row.Opis, QStringLiteral("Rachunek VAT"));
  EXPECT_EQ(row.Name, Stored.Name);
}

struct TCancelCase {
  const char *Name;
  std::function<void(QWidget &)> Close;
};

TEST_F(TForm3Test, CancelOrTheFrameLeaveTheRowAloneAndNoKeyClosesTheDialog) {
  const TCancelCase cases[] = {
      {"Cancel",
       [](QWidget &dialog) {
         QTest::mouseClick(&Control<QPushButton>(dialog, QStringLiteral("BtnCancel")), Qt::LeftButton);
       }},
      {"frame", [](QWidget &dialog) { dialog.close(); }},
  };
  for (const TCancelCase &cancel : cases) {
    int stillOpen = 0;
    TModalAnswer answer([&](QWidget &dialog) {
      auto &opis = Control<QLineEdit>(dialog, QStringLiteral("edtBankOpis"));
      opis.setText(QStringLiteral("zmienione"));
      for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
        QTest::keyClick(&opis, key);
      stillOpen += dialog.isVisible() ? 1 : 0;
      cancel.Close(dialog);
    });
    TBankRow row = Stored;
    EXPECT_FALSE(Dialog.EditBankRecord(row)) << cancel.Name;
    EXPECT_EQ(row.Opis, Stored.Opis) << cancel.Name;
    EXPECT_EQ(stillOpen, 1) << cancel.Name;
  }
}

// The IBAN is kept without blanks, in capitals; right values close the dialog without a question.
TEST_F(TForm3Test, OkNormalisesTheIbanAndAsksNothingWhenAllIsRight) {
  TModalAnswer answer([](QWidget &dialog) {
    Control<QLineEdit>(dialog, QStringLiteral("edtBankIBAN"))
        .setText(QStringLiteral("pl79 1140 2004 4000 0300 2013 5538"));
    QTest::mouseClick(&Control<QPushButton>(dialog, QStringLiteral("BtnOK")), Qt::LeftButton);
  });
  TBankRow row = Stored;
  EXPECT_TRUE(Dialog.EditBankRecord(row));
  EXPECT_EQ(row.IBAN, QStringLiteral("PL79114020044000030020135538"));
  EXPECT_TRUE(Host.Confirmations.isEmpty());
}

// What BANKI.INI holds is shown as it is, without a verdict, until OK is pressed.
TEST_F(TForm3Test, AStoredValueIsShownAsItIs) {
  TBankRow stored = Stored;
  stored.IBAN = QStringLiteral("pl61 1090 1014 0000 0712 1981 2874");
  stored.NIP = QStringLiteral("12345");
  Dialog.LoadRecordBank(stored);
  EXPECT_EQ(Field("edtBankIBAN").text(), stored.IBAN);
  EXPECT_EQ(Problems(), QStringList(5));
}

struct TWrongFieldCase {
  const char *Name;
  int Field;
  QString Typed;
  QString Problem;
};

void PrintTo(const TWrongFieldCase &c, std::ostream *os) { *os << c.Name; }

class BankDialogWrongFieldTest : public TForm3Test, public ::testing::WithParamInterface<TWrongFieldCase> {};

// No keeps the dialog open with the problem beside its field; Yes saves the value as typed.
TEST_P(BankDialogWrongFieldTest, OkAsksFirstAndSaysWhatIsWrongBesideTheField) {
  const TWrongFieldCase &wrong = GetParam();
  const QString captions[] = {QStringLiteral("Opis konta"), QStringLiteral("IBAN konta"), QStringLiteral("BIC konta"),
                              QStringLiteral("NIP Płatnika"), QStringLiteral("Nazwa Płatnika")};
  const QString question = QStringLiteral("Te dane wyglądają na błędne:\r\r") + captions[wrong.Field] +
                           QStringLiteral(": ") + wrong.Problem + QStringLiteral("\r\rZapisać mimo to?");
  QStringList expectedProblems(5);
  expectedProblems[wrong.Field] = wrong.Problem;
  QStringList problemsAfterNo;
  bool openAfterNo = false;
  Host.ConfirmAnswers = {false, true};
  TModalAnswer answer([&](QWidget &dialog) {
    Control<QLineEdit>(dialog, QString::fromLatin1(FieldNames[wrong.Field])).setText(wrong.Typed);
    auto &ok = Control<QPushButton>(dialog, QStringLiteral("BtnOK"));
    QTest::mouseClick(&ok, Qt::LeftButton);
    openAfterNo = dialog.isVisible();
    problemsAfterNo = Problems();
    QTest::mouseClick(&ok, Qt::LeftButton);
  });
  TBankRow row = Stored;

  EXPECT_TRUE(Dialog.EditBankRecord(row));

  EXPECT_TRUE(openAfterNo);
  EXPECT_EQ(problemsAfterNo, expectedProblems);
  EXPECT_EQ(Host.Confirmations, QStringList({question, question}));
  TBankRow saved;
  Dialog.SaveRecordBank(saved);
  EXPECT_EQ(row.Opis, saved.Opis);
  EXPECT_EQ(row.IBAN, saved.IBAN);
  EXPECT_EQ(row.NIP, saved.NIP);
  EXPECT_EQ(row.BIC, saved.BIC);
  EXPECT_EQ(row.Name, saved.Name);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BankDialogWrongFieldTest,
    ::testing::Values(
        TWrongFieldCase{"emptyOpis", 0, QString(), QStringLiteral("pole jest puste")},
        TWrongFieldCase{
            "ibanCheckDigits", 1, QStringLiteral("PL61 1090 1014 0000 0712 1981 2875"),
            QStringLiteral("błędne cyfry kontrolne (ISO 7064, mod 97-10): to literówka albo cudzy rachunek")},
        TWrongFieldCase{"notAnIban", 1, QStringLiteral("1090 1014"),
                        QStringLiteral("to nie jest numer IBAN ani polski numer rachunku z 26 cyfr")},
        TWrongFieldCase{"bicOfTenCharacters", 2, QStringLiteral("WBKPPLPPXX"),
                        QStringLiteral("to nie jest kod BIC (ISO 9362): 8 albo 11 wielkich liter i cyfr, w tym na "
                                       "miejscach 5 i 6 litery kraju")},
        TWrongFieldCase{"nipCheckDigit", 3, QStringLiteral("1234563219"),
                        QStringLiteral("to nie jest poprawny NIP: 10 cyfr, z których ostatnia jest cyfrą kontrolną")},
        TWrongFieldCase{"nameOfBlanks", 4, QStringLiteral("   "), QStringLiteral("pole jest puste")}),
    [](const ::testing::TestParamInfo<TWrongFieldCase> &info) { return std::string(info.param.Name); });

} // namespace
