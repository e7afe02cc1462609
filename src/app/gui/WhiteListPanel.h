#pragma once

#include "app/commands/Host.h"
#include "app/commands/WhiteListCommands.h"
#include "app/gui/BackgroundWork.h"

#include <QWidget>
#include <functional>

class QLabel;
class QPushButton;

// The VAT white list on the page "Funkcje techniczne": the buttons "Wczytaj plik płaski…" and
// "Pobierz plik płaski" and the day of the list loaded. The work runs as the window's other
// slow work does, with its progress and "Anuluj" on the status line; its outcome is logged on
// the window's thread.
class TWhiteListPanel : public QWidget {
  Q_OBJECT

public:
  TWhiteListPanel(THost &host, TBackgroundWork &background, QWidget *parent = nullptr);

signals:
  // The outcome of a load or download has been logged.
  void Finished();

private:
  void LoadClicked();
  void DownloadClicked();
  void Run(const QString &what, const std::function<TFlatFileOutcome(IProgress &)> &work);
  void ShowLoadedDay();

  THost &FHost;
  TBackgroundWork &FBackground;
  QPushButton *FLoad;
  QPushButton *FDownload;
  QLabel *FLoadedDay;
};
