#pragma once

#include "app/commands/Host.h"
#include "app/commands/WhiteListCommands.h"

#include <QFutureWatcher>
#include <QThreadPool>
#include <QWidget>
#include <atomic>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

// The VAT white list on the page "Funkcje techniczne": the buttons "Wczytaj plik płaski…" and
// "Pobierz plik płaski", the day of the list loaded, and while one works a progress bar with
// "Przerwij". The work runs off the window's thread; its outcome is logged on it.
class TWhiteListPanel : public QWidget {
  Q_OBJECT

public:
  explicit TWhiteListPanel(THost &host, QWidget *parent = nullptr);
  // Closing the window cancels a load that still runs and waits for it to stop.
  ~TWhiteListPanel() override;

signals:
  // The outcome of a load or download has been logged.
  void Finished();

private:
  // Progress and cancel shared between the work's thread and the window's.
  class TProgress : public IProgress {
  public:
    void Report(qint64 done, qint64 total) override;
    bool Cancelled() const override { return Cancel.load(); }
    std::atomic<qint64> Done = 0;
    std::atomic<qint64> Total = 0;
    std::atomic<bool> Cancel = false;
    std::function<void()> Changed;
  };

  void LoadClicked();
  void DownloadClicked();
  void Start(const std::function<TFlatFileOutcome(IProgress &)> &work);
  void ShowProgress();
  void WorkFinished();
  void ShowLoadedDay();

  THost &FHost;
  QPushButton *FLoad;
  QPushButton *FDownload;
  QPushButton *FCancel;
  QLabel *FLoadedDay;
  QProgressBar *FBar;
  TProgress FProgress;
  std::atomic<int> FShownPercent = -1;
  QFutureWatcher<TFlatFileOutcome> FWatcher;
  QThreadPool FPool;
};
