#pragma once

#include "app/commands/BankRegister.h"

#include <QWidget>

class QMenu;
class QTableView;
class TBankTableModel;

// The content of the page "Banki": the bank table grid with its context menu and, below it,
// the buttons "Dodaj\rnowy bank" and the question-mark help. It only shows rows and reports what the user asks for; the
// window connects the signals to the register.
class TBankPage : public QWidget, public IBankGrid {
  Q_OBJECT

public:
  explicit TBankPage(QWidget *parent = nullptr);

  void ShowRows(const std::vector<TBankRow> &rows) override;
  int CurrentRow() const override;
  void SetCurrentRow(int row) override;

signals:
  void AddBankClicked();
  // Double click on the grid or the menu item "Korekta podświetlonego wiersz".
  void EditRequested();
  // The menu item "Kasowanie podświetlonego wiersza".
  void DeleteRequested();
  void HelpClicked();

private:
  void SetColumnWidths();

  TBankTableModel *FModel;
  QTableView *FGrid;
  QMenu *FMenu;
};
