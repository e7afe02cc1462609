#pragma once

#include "app/commands/HistoryCommands.h"

#include <QWidget>
#include <memory>

class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QTableView;
class QTimer;
class THistoryQueries;
class THistoryTableModel;

// The page "Historia": the payments of the journal, newest first, narrowed by the search field
// "EdtSzukaj" and the date range (the boxes "ChkOd" and "ChkDo" switch the dates "DataOd" and
// "DataDo" on), with their count and sums per currency below ("LblSuma"). A double click opens
// the archived transfer file; "Eksportuj do CSV…" writes the whole listing shown and says where
// ("LblEksport"); "Wycofaj plik…" and "Przywróć plik" mark the selected payment's transfer file
// as never sent, or take it back. The journal is read off the window's thread, a page of rows
// at a time as the grid scrolls, each time the page is shown, when the range changes, and after
// a pause in typing.
class THistoryPage : public QWidget {
  Q_OBJECT

public:
  // How long typing must pause before the search runs.
  static constexpr int SearchDelayMs = 300;

  // Reads the journal of the host's paths, or `source` when given (tests).
  explicit THistoryPage(THost &host, IHistorySource *source = nullptr, QWidget *parent = nullptr);
  ~THistoryPage() override;

  // Reads the journal again with the current search and range, without waiting for a pause in
  // typing.
  void Reload();
  // Whether a read is still to answer.
  bool Reading() const;

signals:
  // The rows and the sums of the listing asked for last are shown, and no read runs.
  void Shown();

protected:
  void showEvent(QShowEvent *event) override;

private:
  THistoryFilter CurrentFilter() const;
  void ShowRows(const std::vector<THistoryEntry> &entries, bool first, bool more);
  void ShowSummary(const THistorySummary &summary);
  void ShowFailure(const QString &message);
  void ExportCsv();
  // Runs `press` on the selected payment and reads the journal again when it changed it.
  void ChangeSelectedFile(bool (THistoryCommands::*press)(const THistoryEntry &));

  THistoryCommands FCommands;
  IDialogs &FDialogs;
  // A copy for the export on the reading thread, which may end after the host.
  const TAppPaths FPaths;
  std::unique_ptr<IHistorySource> FOwnSource;
  THistoryTableModel *FModel;
  THistoryQueries *FQueries;
  THistoryFilter FShownFilter;
  // "TmrSzukaj": runs the search when typing pauses.
  QTimer *FSearchDelay;
  QTableView *FGrid;
  QLineEdit *FSearch;
  QCheckBox *FFromOn;
  QDateEdit *FFrom;
  QCheckBox *FToOn;
  QDateEdit *FTo;
  QLabel *FSums;
  QLabel *FExported;
};
