#include "app/gui/BankDialog.h"
#include "GuiTestSupport.h"
#include "TestSupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

const TBankRow Stored{
    QStringLiteral("Konto2"),   QStringLiteral("Walutowe"),   QStringLiteral("PL22222222222222222222222222"),
    QStringLiteral("BBBBPLPW"), QStringLiteral("2222222222"), QStringLiteral("Firma Dwa")};

class BankDialogTest : public ::testing::Test {
protected:
  void SetUp() override { EnsureApplication(); }

  QLineEdit &Field(const char *name) const { return Control<QLineEdit>(Dialog, QString::fromLatin1(name)); }
  QPushButton &Button(const char *name) const { return Control<QPushButton>(Dialog, QString::fromLatin1(name)); }

  TForm3 Dialog;
};

TEST_F(BankDialogTest, FieldsButtonsAndTabOrder) {
  EXPECT_EQ(Dialog.windowTitle(), QStringLiteral("Korekta danych konta bankowego"));
  EXPECT_TRUE(Dialog.isModal());

  const char *const fields[] = {"edtBankOpis", "edtBankIBAN", "edtBankBIC", "edtBankNIP", "edtBankNazwa"};
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
  EXPECT_EQ(Button("BtnCancel").text(), QStringLiteral("&Cancel"));
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

TEST_F(BankDialogTest, LoadRecordBankShowsTheRowAndSaveRecordBankKeepsItsSection) {
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

TEST_F(BankDialogTest, OkTakesTheTypedTexts) {
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

TEST_F(BankDialogTest, CancelOrTheFrameLeaveTheRowAloneAndNoKeyClosesTheDialog) {
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

} // namespace
