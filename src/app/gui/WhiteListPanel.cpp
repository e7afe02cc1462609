#include "app/gui/WhiteListPanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QtConcurrent/QtConcurrentRun>

namespace {

QPushButton *NewButton(const QString &name, const QString &caption) {
  auto *button = new QPushButton(caption);
  button->setObjectName(name);
  return button;
}

} // namespace

void TWhiteListPanel::TProgress::Report(qint64 done, qint64 total) {
  Done = done;
  Total = total;
  if (Changed)
    Changed();
}

TWhiteListPanel::TWhiteListPanel(THost &host, QWidget *parent)
    : QWidget(parent), FHost(host),
      FLoad(NewButton(QStringLiteral("BtnWczytajPlikPlaski"), QStringLiteral("Wczytaj plik płaski…"))),
      FDownload(NewButton(QStringLiteral("BtnPobierzPlikPlaski"), QStringLiteral("Pobierz plik płaski"))),
      FCancel(NewButton(QStringLiteral("BtnPrzerwijPlikPlaski"), QStringLiteral("Przerwij"))), FLoadedDay(new QLabel),
      FBar(new QProgressBar) {
  FLoadedDay->setObjectName(QStringLiteral("LblBialaLista"));
  ShowLoadedDay();
  FBar->setObjectName(QStringLiteral("PbPlikPlaski"));
  FBar->setRange(0, 100);
  FBar->hide();
  FCancel->hide();
  // One row beside the page's other buttons: the page grows no taller for it.
  auto *row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(FLoad);
  row->addWidget(FDownload);
  row->addWidget(FLoadedDay);
  row->addWidget(FBar, 1);
  row->addWidget(FCancel);
  connect(FLoad, &QPushButton::clicked, this, [this] { RunGuarded(FHost.Dialogs, [this] { LoadClicked(); }); });
  connect(FDownload, &QPushButton::clicked, this, [this] { RunGuarded(FHost.Dialogs, [this] { DownloadClicked(); }); });
  connect(FCancel, &QPushButton::clicked, this, [this] { FProgress.Cancel = true; });
  connect(&FWatcher, &QFutureWatcherBase::finished, this,
          [this] { RunGuarded(FHost.Dialogs, [this] { WorkFinished(); }); });
  // Called on the work's thread: only a change of the shown percentage crosses to the window's.
  FProgress.Changed = [this] {
    const qint64 total = FProgress.Total;
    const int percent = total > 0 ? int(std::min<qint64>(100, FProgress.Done * 100 / total)) : 0;
    if (FShownPercent.exchange(percent) != percent)
      QMetaObject::invokeMethod(
          this, [this] { ShowProgress(); }, Qt::QueuedConnection);
  };
}

TWhiteListPanel::~TWhiteListPanel() {
  FProgress.Cancel = true;
  FWatcher.waitForFinished();
}

void TWhiteListPanel::LoadClicked() {
  const QString file = FHost.Dialogs.ChooseFile({QStringLiteral("Wybierz plik płaski białej listy podatników VAT"),
                                                 {},
                                                 QStringLiteral("Plik płaski (*.7z *.json)"),
                                                 {}});
  if (file.isEmpty())
    return;
  const TAppPaths paths = FHost.Paths;
  const QDate today = FHost.Now().date();
  Start([paths, today, file](IProgress &progress) {
    return TWhiteListCommands::LoadFlatFile(paths, today, file, progress);
  });
}

void TWhiteListPanel::DownloadClicked() {
  const TAppPaths paths = FHost.Paths;
  const QDate today = FHost.Now().date();
  Start([paths, today](IProgress &progress) {
    return TWhiteListCommands::DownloadFlatFile(paths, today, today, progress);
  });
}

void TWhiteListPanel::Start(const std::function<TFlatFileOutcome(IProgress &)> &work) {
  FProgress.Cancel = false;
  FProgress.Done = 0;
  FProgress.Total = 0;
  FShownPercent = -1;
  FBar->setValue(0);
  FBar->show();
  FCancel->show();
  FLoad->setEnabled(false);
  FDownload->setEnabled(false);
  // A pool of its own: Qt's global pool also draws large parts of the window.
  FWatcher.setFuture(QtConcurrent::run(&FPool, [this, work] { return work(FProgress); }));
}

void TWhiteListPanel::ShowProgress() { FBar->setValue(std::max(0, FShownPercent.load())); }

void TWhiteListPanel::WorkFinished() {
  FBar->hide();
  FCancel->hide();
  FLoad->setEnabled(true);
  FDownload->setEnabled(true);
  TWhiteListCommands(FHost).LogOutcome(FWatcher.result());
  ShowLoadedDay();
  emit Finished();
}

void TWhiteListPanel::ShowLoadedDay() { FLoadedDay->setText(TWhiteListCommands::LoadedListText(FHost.Paths)); }
