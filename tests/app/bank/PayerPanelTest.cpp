#include "app/gui/PayerPanel.h"
#include "GuiTestSupport.h"
#include "TestSupport.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

class PayerPanelTest : public ::testing::Test {
protected:
  void SetUp() override {
    EnsureApplication();
    Panel.show();
  }
  QLineEdit &Field(const char *name) const { return Control<QLineEdit>(Panel, QString::fromLatin1(name)); }
  QComboBox &Banks() const { return Control<QComboBox>(Panel, QStringLiteral("CmbBank")); }

  TPayerPanel Panel;
};

TEST_F(PayerPanelTest, PayerFieldsCarryTheCompanyData) {
  QStringList labelled;
  for (const QLabel *label : Panel.findChildren<QLabel *>())
    if (label->buddy())
      labelled.append(label->text() + u'>' + label->buddy()->objectName());
  EXPECT_EQ(labelled, QStringList({QStringLiteral("Nazwa Płatnika>edtName"), QStringLiteral("NIP Płatnika>edtNIP"),
                                   QStringLiteral("IBAN Płatnika>edtIBAN"), QStringLiteral("BIC Płatnika>edtBIC")}));

  Panel.SetPayerData({QStringLiteral("Spółka"), QStringLiteral("5260250274"),
                      QStringLiteral("PL61109010140000071219812874"), QStringLiteral("WBKPPLPP")});
  EXPECT_EQ(Field("edtName").text(), QStringLiteral("Spółka"));
  EXPECT_EQ(Field("edtNIP").text(), QStringLiteral("5260250274"));
  EXPECT_EQ(Field("edtIBAN").text(), QStringLiteral("PL61109010140000071219812874"));
  EXPECT_EQ(Field("edtBIC").text(), QStringLiteral("WBKPPLPP"));

  Field("edtBIC").setText(QStringLiteral(" BIC z odstępami "));
  EXPECT_EQ(Panel.PayerData().BIC, QStringLiteral(" BIC z odstępami "));
  EXPECT_EQ(Panel.PayerData().Name, QStringLiteral("Spółka"));

  QSignalSpy save(&Panel, &TPayerPanel::SavePayerDataClicked);
  auto &button = Control<QPushButton>(Panel, QStringLiteral("BtnZapiszPlatnika"));
  EXPECT_EQ(button.text(), QStringLiteral("Zapisz dane \nPłatnika"));
  QTest::mouseClick(&button, Qt::LeftButton);
  EXPECT_EQ(save.count(), 1);
}

TEST_F(PayerPanelTest, OnlyTheUsersChoiceOfAnAccountIsReported) {
  QSignalSpy chosen(&Panel, &TPayerPanel::BankChosen);
  Panel.SetCurrentIndex(0);
  EXPECT_EQ(Panel.CurrentIndex(), -1) << "an empty list selects nothing";

  Panel.SetItems({QStringLiteral("Główne"), QStringLiteral("Walutowe"), QStringLiteral("Zapasowe")});
  EXPECT_EQ(Panel.CurrentIndex(), -1);
  EXPECT_TRUE(Banks().isEditable());
  Panel.SetCurrentIndex(1);
  EXPECT_EQ(Panel.CurrentIndex(), 1);
  EXPECT_EQ(Banks().currentText(), QStringLiteral("Walutowe"));
  Panel.SetCurrentIndex(3);
  EXPECT_EQ(Panel.CurrentIndex(), -1);
  Panel.SetCurrentIndex(1);
  EXPECT_EQ(chosen.count(), 0);

  QTest::keyClick(&Banks(), Qt::Key_Down);
  EXPECT_EQ(Panel.CurrentIndex(), 2);
  EXPECT_EQ(chosen.count(), 1);

  // A refill starts without a selection again, also for what was typed.
  QTest::keyClicks(Banks().lineEdit(), QStringLiteral("nowe"));
  Panel.SetItems({QStringLiteral("Jedyne")});
  EXPECT_EQ(Panel.CurrentIndex(), -1);
  EXPECT_EQ(Banks().count(), 1);
}

} // namespace
