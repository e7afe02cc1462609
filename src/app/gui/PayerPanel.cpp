#include "app/gui/PayerPanel.h"

#include "model/Text.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TPayerPanel::TPayerPanel(QWidget *parent) : QWidget(parent) {
  setObjectName(QStringLiteral("PayerPanel"));
  auto *layout = new QGridLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);

  const auto addField = [this, layout](const QString &name, const QString &caption, int row) {
    auto *field = new QLineEdit;
    field->setObjectName(name);
    auto *label = new QLabel(caption);
    label->setBuddy(field);
    layout->addWidget(label, row, 0);
    layout->addWidget(field, row, 1);
    connect(field, &QLineEdit::textEdited, this, &TPayerPanel::PayerFieldsEdited);
    return field;
  };
  FName = addField(QStringLiteral("edtName"), QStringLiteral("Nazwa Płatnika"), 0);
  FNIP = addField(QStringLiteral("edtNIP"), QStringLiteral("NIP Płatnika"), 1);
  FIBAN = addField(QStringLiteral("edtIBAN"), QStringLiteral("IBAN Płatnika"), 2);
  FBIC = addField(QStringLiteral("edtBIC"), QStringLiteral("BIC Płatnika"), 3);

  FBanks = new QComboBox;
  FBanks->setObjectName(QStringLiteral("CmbBank"));
  FBanks->setEditable(true);
  // Typing into the list must not add accounts to it: the register lives in BANKI.INI.
  FBanks->setInsertPolicy(QComboBox::NoInsert);
  connect(FBanks, &QComboBox::activated, this, &TPayerPanel::BankChosen);
  layout->addWidget(FBanks, 4, 1);

  FPayingAccount = new QLabel;
  FPayingAccount->setObjectName(QStringLiteral("LblRachunekPrzelewow"));
  FPayingAccount->setWordWrap(true);
  FPayingAccount->setTextInteractionFlags(Qt::TextSelectableByMouse);
  FPayingAccount->setStyleSheet(QStringLiteral("color: #b00020; font-weight: bold;"));
  FPayingAccount->hide();
  layout->addWidget(FPayingAccount, 5, 0, 1, 3);

  auto *save = new QPushButton(WithLineFeeds(QStringLiteral("Zapisz dane \rPłatnika")));
  save->setObjectName(QStringLiteral("BtnZapiszPlatnika"));
  connect(save, &QPushButton::clicked, this, &TPayerPanel::SavePayerDataClicked);
  layout->addWidget(save, 0, 2, 2, 1, Qt::AlignTop);
  layout->setColumnStretch(1, 1);
}

TCompanyData TPayerPanel::PayerData() const { return {FName->text(), FNIP->text(), FIBAN->text(), FBIC->text()}; }

void TPayerPanel::SetPayerData(const TCompanyData &payer) {
  FNIP->setText(payer.NIP);
  FName->setText(payer.Name);
  FIBAN->setText(payer.IBAN);
  FBIC->setText(payer.BIC);
}

void TPayerPanel::ShowPayingAccount(const QString &notice) {
  FPayingAccount->setText(notice);
  FPayingAccount->setVisible(!notice.isEmpty());
}

void TPayerPanel::SetItems(const QStringList &items) {
  FBanks->setUpdatesEnabled(false);
  FBanks->clear();
  FBanks->addItems(items);
  FBanks->setCurrentIndex(-1);
  FBanks->setUpdatesEnabled(true);
}

int TPayerPanel::CurrentIndex() const { return FBanks->currentIndex(); }

void TPayerPanel::SetCurrentIndex(int index) {
  FBanks->setCurrentIndex(index >= 0 && index < FBanks->count() ? index : -1);
}
