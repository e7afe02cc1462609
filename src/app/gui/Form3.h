#pragma once

#include "app/commands/BankRegister.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The correction dialog of one bank account ("Korekta danych konta bankowego"). It closes
// only through its two buttons or its frame: Enter and Escape do nothing, so a keystroke
// cannot confirm or drop a half-typed correction. OK normalises the IBAN, says beside each
// field what is wrong with it and, when anything is, asks through `dialogs` before it closes.
class TForm3 : public QDialog, public IBankDialog {
  Q_OBJECT

public:
  explicit TForm3(IDialogs &dialogs, QWidget *owner = nullptr);

  // Shows the row's Opis, IBAN, BIC, NIP and Name, as they are, with no problem beside them.
  void LoadRecordBank(const TBankRow &row);
  // Puts the five texts, as typed, into the row; `konto` stays.
  void SaveRecordBank(TBankRow &row) const;

  // Shows the dialog modally; on OK the texts go into the row.
  bool EditBankRecord(TBankRow &row) override;

protected:
  void keyPressEvent(QKeyEvent *event) override;

private:
  void PressOK();

  IDialogs &FDialogs;
  QLineEdit *FOpis;
  QLineEdit *FIBAN;
  QLineEdit *FBIC;
  QLineEdit *FNIP;
  QLineEdit *FNazwa;
  // Beside each field, in the order of CheckBankRow.
  QList<QLabel *> FProblems;
};
