#include "app/gui/WhiteListPanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace {

QPushButton *NewButton(const QString &name, const QString &caption) {
  auto *button = new QPushButton(caption);
  button->setObjectName(name);
  return button;
}

} // namespace

TWhiteListPanel::TWhiteListPanel(THost &host, TBackgroundWork &background, QWidget *parent)
    : QWidget(parent), FHost(host), FBackground(background),
      FLoad(NewButton(QStringLiteral("BtnWczytajPlikPlaski"), QStringLiteral("Wczytaj plik płaski…"))),
      FDownload(NewButton(QStringLiteral("BtnPobierzPlikPlaski"), QStringLiteral("Pobierz plik płaski"))),
      FLoadedDay(new QLabel) {
  FLoadedDay->setObjectName(QStringLiteral("LblBialaLista"));
  ShowLoadedDay();
  // One row beside the page's other buttons: the page grows no taller for it.
  auto *row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(FLoad);
  row->addWidget(FDownload);
  row->addWidget(FLoadedDay);
  row->addStretch(1);
  connect(FLoad, &QPushButton::clicked, this, [this] { RunGuarded(FHost.Dialogs, [this] { LoadClicked(); }); });
  connect(FDownload, &QPushButton::clicked, this, [this] { RunGuarded(FHost.Dialogs, [this] { DownloadClicked(); }); });
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
  Run(QStringLiteral("Wczytywanie pliku płaskiego białej listy"), [paths, today, file](IProgress &progress) {
    return TWhiteListCommands::LoadFlatFile(paths, today, file, progress);
  });
}

void TWhiteListPanel::DownloadClicked() {
  const TAppPaths paths = FHost.Paths;
  const QDate today = FHost.Now().date();
  Run(QStringLiteral("Pobieranie pliku płaskiego białej listy"), [paths, today](IProgress &progress) {
    return TWhiteListCommands::DownloadFlatFile(paths, today, today, progress);
  });
}

void TWhiteListPanel::Run(const QString &what, const std::function<TFlatFileOutcome(IProgress &)> &work) {
  TFlatFileOutcome outcome;
  FBackground.Run(what, [&](TBackgroundTask &task) { outcome = work(task); });
  TWhiteListCommands(FHost).LogOutcome(outcome);
  ShowLoadedDay();
  emit Finished();
}

void TWhiteListPanel::ShowLoadedDay() { FLoadedDay->setText(TWhiteListCommands::LoadedListText(FHost.Paths)); }
