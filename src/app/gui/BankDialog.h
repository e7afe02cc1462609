#pragma once

#include "app/commands/BankRegister.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

// The correction dialog of one bank account ("Korekta danych konta bankowego"). It closes
// only through its two buttons or its frame: Enter and Escape do nothing, so a keystroke
// cannot confirm or drop a half-typed correction.
class TForm3 : public QDialog, public IBankDialog {
  Q_OBJECT

public:
  explicit TForm3(QWidget *owner = nullptr);

  // Shows the row's Opis, IBAN, BIC, NIP and Name.
  void LoadRecordBank(const TBankRow &row);
  // Puts the five texts, as typed, into the row; `konto` stays.
  void SaveRecordBank(TBankRow &row) const;

  // Shows the dialog modally; on OK the texts go into the row.
  bool EditBankRecord(TBankRow &row) override;

protected:
  void keyPressEvent(QKeyEvent *event) override;

private:
  QLineEdit *FOpis;
  QLineEdit *FIBAN;
  QLineEdit *FBIC;
  QLineEdit *FNIP;
  QLineEdit *FNazwa;
};
