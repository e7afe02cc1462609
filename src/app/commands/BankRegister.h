#pragma once

#include "app/commands/BankTable.h"
#include "app/commands/Host.h"
#include "model/Types.h"

#include <QStringList>
#include <vector>

// The four payer fields of the page "Funkcje techniczne": edtName, edtNIP, edtIBAN, edtBIC.
class IPayerFields {
public:
  virtual ~IPayerFields() = default;
  virtual TCompanyData PayerData() const = 0;
  virtual void SetPayerData(const TCompanyData &payer) = 0;
  // The line beside the fields that names the account transfers pay from; empty hides it.
  virtual void ShowPayingAccount(const QString &notice) = 0;
};

// The account list CmbBank. A selection made here by the program runs no handler; the window
// runs TBankRegister::CmbBankChange when the user chooses an entry.
class IBankCombo {
public:
  virtual ~IBankCombo() = default;
  // Replaces the entries; afterwards none is selected.
  virtual void SetItems(const QStringList &items) = 0;
  // -1 when no entry is selected.
  virtual int CurrentIndex() const = 0;
  // An index outside the list selects none.
  virtual void SetCurrentIndex(int index) = 0;
};

// The grid of the page "Banki".
class IBankGrid {
public:
  virtual ~IBankGrid() = default;
  // Shows these rows in place of the previous ones.
  virtual void ShowRows(const std::vector<TBankRow> &rows) = 0;
  // The highlighted row counted from 0, -1 when none is.
  virtual int CurrentRow() const = 0;
  virtual void SetCurrentRow(int row) = 0;
};

// The modal correction dialog TForm3.
class IBankDialog {
public:
  virtual ~IBankDialog() = default;
  // Shows the row's Opis, IBAN, BIC, NIP and Name; on OK, once the typed texts passed
  // CheckBankRow or the user chose to save them anyway, puts them back into the row (the IBAN
  // normalised) and returns true. Cancel leaves the row alone.
  virtual bool EditBankRecord(TBankRow &row) = 0;
};

// The payer data and the register of the payer's bank accounts in BANKI.INI beside the
// program, with the remembered account (LastBank in section "Program" of settings.ini).
// It holds the bank table; the list and the grid only show what it gives them.
class TBankRegister {
public:
  TBankRegister(THost &host, IPayerFields &payer, IBankCombo &combo, IBankGrid &grid, IBankDialog &dialog);

  static const QString HelpText;

  // Start-up after the payer fields were filled from settings.ini: empty table, then
  // FillBankCombo() and LoadBankTable(). The table is loaded even when FillBankCombo() fails;
  // that failure is passed on afterwards.
  void Start();

  void FillBankCombo();
  // The list's change handler: applies the selected account to the payer fields and
  // remembers it. The payer data in settings.ini stays as it is.
  void CmbBankChange();
  // Every transfer pays from the payer data of settings.ini, not from what the fields show
  // (an account chosen in the list, a field typed into). Whenever the two differ, the line
  // beside the fields names the account that pays, until the fields are saved.
  void ShowPayingAccount();
  QString ReadLastBank() const;
  void WriteLastBank();

  void LoadBankTable();
  // Rewrites the register from the table as Konto1..KontoN. Fails with
  // "Unable to write to <path>" and then leaves the file as it was.
  void SaveBankTable();

  // The button "Dodaj\rnowy bank".
  void AddBank();
  // Double click on the grid and the menu item "Korekta podświetlonego wiersz".
  void EditBankRow();
  // The menu item "Kasowanie podświetlonego wiersza": only the last row may go.
  void DeleteLastBankRow();
  // The button "Zapisz dane \rPłatnika": the IBAN normalised in its field, then, after the
  // question a wrong value asks, the fields into settings.ini.
  void SavePayerData();
  // The question-mark button of the page "Banki".
  void ShowHelp();

  const std::vector<TBankRow> &Rows() const { return FRows; }

private:
  QString BankFile() const;
  QString SettingsFile() const;
  QStringList ReadBankComboItems() const;
  // The list again after the register changed, so that an added account can be chosen at once;
  // the selection and the payer fields stay.
  void RefreshBankComboItems();
  void ShowTable(int currentRow);

  THost &FHost;
  IPayerFields &FPayer;
  IBankCombo &FCombo;
  IBankGrid &FGrid;
  IBankDialog &FDialog;
  std::vector<TBankRow> FRows;
};
