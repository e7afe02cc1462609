#pragma once

#include "app/commands/HistoryCommands.h"

#include <QWidget>

class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QTableView;
class THistoryTableModel;

// The page "Historia": the payments of the journal, newest first, narrowed by the search field
// "EdtSzukaj" and the date range (the boxes "ChkOd" and "ChkDo" switch the dates "DataOd" and
// "DataDo" on), with their sums per currency below ("LblSuma"). A double click opens the
// archived transfer file; "Eksportuj do CSV…" writes what is shown; "Wycofaj plik…" and
// "Przywróć plik" mark the selected payment's transfer file as never sent, or take it back. It reads the journal each
// time it is shown and each time the search or the range changes.
class THistoryPage : public QWidget {
  Q_OBJECT

public:
  explicit THistoryPage(THost &host, QWidget *parent = nullptr);

  // Reads the journal again with the current search and range.
  void Reload();

protected:
  void showEvent(QShowEvent *event) override;

private:
  THistoryFilter CurrentFilter() const;
  // Runs `press` on the selected payment and reads the journal again when it changed it.
  void ChangeSelectedFile(bool (THistoryCommands::*press)(const THistoryEntry &));

  THistoryCommands FCommands;
  IDialogs &FDialogs;
  THistoryTableModel *FModel;
  QTableView *FGrid;
  QLineEdit *FSearch;
  QCheckBox *FFromOn;
  QDateEdit *FFrom;
  QCheckBox *FToOn;
  QDateEdit *FTo;
  QLabel *FSums;
};
