#pragma once

#include "app/commands/BankRegister.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;

// The payer part of the page "Funkcje techniczne": the fields "Nazwa Płatnika", "NIP
// Płatnika", "IBAN Płatnika", "BIC Płatnika", the account list CmbBank and the button
// "Zapisz dane \rPłatnika", and below them the line that names the account transfers pay from
// when the fields show another. Selections made by the program are silent; only the user's
// choice of an entry is reported, as BankChosen.
class TPayerPanel : public QWidget, public IPayerFields, public IBankCombo {
  Q_OBJECT

public:
  explicit TPayerPanel(QWidget *parent = nullptr);

  TCompanyData PayerData() const override;
  void SetPayerData(const TCompanyData &payer) override;
  void ShowPayingAccount(const QString &notice) override;

  void SetItems(const QStringList &items) override;
  int CurrentIndex() const override;
  void SetCurrentIndex(int index) override;

signals:
  void BankChosen();
  // The user typed into one of the four fields.
  void PayerFieldsEdited();
  void SavePayerDataClicked();

private:
  QLineEdit *FName;
  QLineEdit *FNIP;
  QLineEdit *FIBAN;
  QLineEdit *FBIC;
  QComboBox *FBanks;
  QLabel *FPayingAccount;
};
