#include "BankFakes.h"
#include "GridClicks.h"
#include "GuiTestSupport.h"
#include "TestSupport.h"
#include "app/gui/Form3.h"
#include "app/gui/BankPage.h"
#include "app/gui/BankTableModel.h"
#include "app/gui/PayerPanel.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

namespace {

// The register driving the real widgets, connected as the window connects them.
TEST(BankWidgetsTest, TheRegisterFillsAndUpdatesTheWidgets) {
  EnsureApplication();
  TTempAppDir dir;
  dir.WriteBytes(QStringLiteral("BANKI.INI"), "[Konto1]\r\nOpis=Główne\r\nNIP=1111111111\r\nName=Firma Jeden\r\n"
                                              "[Konto2]\r\nOpis=Walutowe\r\nNIP=2222222222\r\nName=Firma Dwa\r\n"
                                              "IBAN=PL61109010140000071219812874\r\nBIC=WBKPPLPP\r\n");
  dir.WriteBytes(QStringLiteral("settings.ini"), "[Program]\r\nLastBank=Konto2\r\n");
  TFakeHost host(dir.Paths());
  TPayerPanel payer;
  TBankPage page;
  TForm3 dialog(host, &page);
  TBankRegister bank(host.Host(), payer, payer, page, dialog);
  QObject::connect(&payer, &TPayerPanel::BankChosen, [&] { bank.CmbBankChange(); });
  QObject::connect(&page, &TBankPage::EditRequested, [&] { bank.EditBankRow(); });
  payer.show();
  page.show();

  bank.Start();
  auto &banks = Control<QComboBox>(payer, QStringLiteral("CmbBank"));
  EXPECT_EQ(banks.currentText(), QStringLiteral("Walutowe"));
  EXPECT_EQ(Control<QLineEdit>(payer, QStringLiteral("edtName")).text(), QStringLiteral("Firma Dwa"));

  QTest::keyClick(&banks, Qt::Key_Up);
  EXPECT_EQ(Control<QLineEdit>(payer, QStringLiteral("edtNIP")).text(), QStringLiteral("1111111111"));

  auto &grid = Control<QTableView>(page, QStringLiteral("GridBanki"));
  EXPECT_EQ(page.CurrentRow(), 1);
  TModalAnswer answer([](QWidget &shown) {
    auto &opis = Control<QLineEdit>(shown, QStringLiteral("edtBankOpis"));
    opis.setText(QStringLiteral("Walutowe EUR"));
    QTest::mouseClick(&Control<QPushButton>(shown, QStringLiteral("BtnOK")), Qt::LeftButton);
  });
  DoubleClickRow(grid, 1);
  EXPECT_EQ(answer.Answered(), 1);
  EXPECT_EQ(grid.model()->index(1, TBankTableModel::Index(TBankTableModel::TColumn::Opis)).data().toString(),
            QStringLiteral("Walutowe EUR"));
  EXPECT_EQ(page.CurrentRow(), 1);
  EXPECT_TRUE(dir.ReadBytes(QStringLiteral("BANKI.INI")).contains("[Konto2]\r\nOpis=Walutowe EUR\r\n"));
  EXPECT_EQ(LogLines(host), QStringList({QStringLiteral("Skorygowano zapis w tablicy banków.")}));
}

} // namespace
