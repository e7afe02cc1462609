#pragma once

#include "app/commands/DueInvoices.h"
#include "app/commands/Host.h"
#include "model/Types.h"

#include <QWidget>
#include <functional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTableView;
class QTimer;
class TDueQueries;
class TDueTableModel;
struct TDueListing;

// The page "Do zapłaty": the purchase invoices of the journal's KSeF downloads and of the
// folders added ("Dodaj faktury z folderu…"), by due date ("GridDoZaplaty"), narrowed by status
// ("CmbStatus"), a due date ("ChkTerminDo"/"DataTerminDo", today + 7 days at first), seller
// ("EdtSprzedawca") and search ("EdtSzukaj"), with the sums per currency of the ticked and of
// the shown rows ("LblSumy"). "Utwórz plik przelewów" writes one batch transfer file of the
// ticked invoices; "Oznacz jako zapłacone poza programem…" and "Cofnij oznaczenie" mark the
// selected invoice or take the mark away. The list is read off the window's thread when the page
// is first shown, after each of these and on "Odśwież"; a filter runs over what was read, also
// off the window's thread.
class TDuePage : public QWidget {
  Q_OBJECT

public:
  // How long typing must pause before the filter runs.
  static constexpr int SearchDelayMs = 300;
  // Reads the list of `files`; ends with TCancelled soon after `cancellation` is cancelled.
  using TReader = std::function<std::vector<TDueInvoice>(IDueInvoiceSource &files, const TCancellation &cancellation)>;

  // `splitPayment` gives the split-payment settings of the window. `reader` reads the list
  // (tests); by default ReadDueInvoices at the host's time.
  TDuePage(THost &host, std::function<TMPPSettings()> splitPayment, TReader reader = {}, QWidget *parent = nullptr);
  ~TDuePage() override;

  // Reads the list again.
  void Reload();
  // New invoices may have come: the list is read again now when the page is shown, else when
  // it is next shown.
  void ListChanged();
  // Whether a read or a filter is still to answer.
  bool Reading() const;
  // The page's log, for the window's message log to write to.
  QPlainTextEdit *Log() const { return FLog; }

signals:
  // The rows and the sums of what was asked last are shown, and nothing is read.
  void Shown();

protected:
  void showEvent(QShowEvent *event) override;

private:
  TDueFilter CurrentFilter() const;
  void ApplyFilter();
  void ShowListing(const TDueListing &listing);
  void ShowSums();
  void CreateTransferFile();
  void MarkSelected();
  void UndoSelectedMark();
  void AddFolder();
  // The invoice of the selected row, with a real KSeF number; none, said to the user, when
  // there is no such row.
  std::optional<TDueInvoice> SelectedKsefInvoice();

  THost &FHost;
  std::function<TMPPSettings()> FSplitPayment;
  TReader FReader;
  TDueInvoiceFiles FFiles;
  bool FRead = false;
  QMap<QString, TAmount> FShownSums;
  TDueTableModel *FModel;
  TDueQueries *FQueries;
  QTimer *FTypingDelay;
  QComboBox *FStatus;
  QCheckBox *FDueUpToOn;
  QDateEdit *FDueUpTo;
  QLineEdit *FSeller;
  QLineEdit *FSearch;
  QTableView *FGrid;
  QLabel *FSums;
  QPlainTextEdit *FLog;
};
