// Takes the screenshots of the manual and of the README from the real window: offscreen, on a
// temporary data directory made from the files of examples/, after a run of each conversion so
// that the logs show what a user sees. Run by the build.
#include "app/gui/BackgroundWork.h"
#include "app/gui/DuePage.h"
#include "app/gui/DueTableModel.h"
#include "app/gui/Form2.h"
#include "app/gui/PolishTranslations.h"
#include "app/gui/QtLog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>
#include <stdexcept>

namespace {

constexpr int DuePageIndex = 7;

// Two accounts of the example payer, the first of which is chosen at start-up.
const QByteArray BankRegister = "[Konto1]\r\n"
                                "Opis=Rachunek główny\r\n"
                                "NIP=6772314552\r\n"
                                "Name=Pracownia Architektoniczna Wrzos sp. z o.o.\r\n"
                                "IBAN=PL79114020044000030020135538\r\n"
                                "BIC=BREXPLPWXXX\r\n"
                                "[Konto2]\r\n"
                                "Opis=Rachunek pomocniczy\r\n"
                                "NIP=6772314552\r\n"
                                "Name=Pracownia Architektoniczna Wrzos sp. z o.o.\r\n"
                                "IBAN=PL61109010140000071219812874\r\n"
                                "BIC=WBKPPLPPXXX\r\n";

// The window's dialogs and desktop: the conversions of the examples must ask nothing and show
// no box; a box means the examples or the window went wrong, and fails the build.
class TScreenshotHost : public IDialogs, public IDesktop, public IMailer, public IProcessRunner {
public:
  void ShowInformation(const QString &text) override { Unexpected(text); }
  void ShowMessage(const QString &text) override { Unexpected(text); }
  void ShowAbout(const QList<TAboutLine> &) override { Unexpected(QStringLiteral("Informacja o programie")); }
  bool Confirm(const QString &text) override { return Unexpected(text), false; }
  void ShowError(const QString &message) override { Unexpected(message); }
  QString ChooseFile(const TFileChoice &choice) override { return Unexpected(choice.Title), QString(); }
  QString ChooseDirectory(const QString &title) override { return Unexpected(title), QString(); }
  QString ChooseSaveFile(const TFileChoice &choice) override { return Unexpected(choice.Title), QString(); }
  void OpenWithDefaultApplication(const QString &) override {}
  void OpenInTextEditor(const QString &) override {}
  void PlaySound(const QString &) override {}
  QString DesktopFolder() override { return QString(); }
  QString ApplicationsFolder() override { return QString(); }
  void TrustLauncher(const QString &) override {}
  void SendFileToAuthor(const QString &, const QString &fileName) override { Unexpected(fileName); }
  // The page as a program built with the author's mailbox shows it.
  QString Unavailable() const override { return QString(); }
  TProcessResult Run(const QString &program, const QStringList &, int) override {
    return Unexpected(program), TProcessResult{};
  }

private:
  static void Unexpected(const QString &text) {
    throw std::runtime_error("the window showed a box: " + text.toStdString());
  }
};

void Copy(const QString &from, const QString &to) {
  if (!QFile::copy(from, to))
    throw std::runtime_error("cannot copy " + from.toStdString());
}

void WriteFile(const QString &fileName, const QByteArray &bytes) {
  QFile file(fileName);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
    throw std::runtime_error("cannot write " + fileName.toStdString());
}

class TScreenshots {
public:
  TScreenshots(const QString &examples, const QString &output, const QStringList &wanted)
      : FExamples(examples), FOutput(output), FWanted(wanted) {
    if (!FTemporary.isValid() || !QDir(FTemporary.path()).mkdir(QStringLiteral("Pavena")))
      throw std::runtime_error("cannot create a temporary directory");
    Copy(QDir(FExamples).filePath(QStringLiteral("settings.ini")), DataFile(QStringLiteral("settings.ini")));
    WriteFile(DataFile(QStringLiteral("BANKI.INI")), BankRegister);
    // The user's files lie beside the data, so that no path of the build shows in a picture.
    const QDir invoices(QDir(FExamples).filePath(QStringLiteral("faktury")));
    QDir(FTemporary.path()).mkdir(QStringLiteral("Faktury"));
    for (const QString &invoice : invoices.entryList({QStringLiteral("*.xml")}, QDir::Files))
      Copy(invoices.filePath(invoice), UserFile(QStringLiteral("Faktury/") + invoice));
    Copy(QDir(FExamples).filePath(QStringLiteral("przelewy.imp")), UserFile(QStringLiteral("przelewy.imp")));
  }

  void Take() {
    TQtLog log;
    TScreenshotHost host;
    // Not shown in the window: the pictures need no slow work.
    TBackgroundWork background;
    TForm2 window(THost{log, host, host, host, host, [] { return QDateTime::currentDateTime(); },
                        TAppPaths::InDirectory(DataFile(QString()))},
                  log, background);
    window.show();

    Convert(window, QStringLiteral("EdtSciezkaDoPlikuXML"), QStringLiteral("Faktury/hurtownia-iskra.xml"),
            QStringLiteral("Button1"), QStringLiteral("Pain001.xml"));
    Save(window, 0, QStringLiteral("przelew-pojedynczy"));
    SaveDuePage(window);
    Convert(window, QStringLiteral("EdtSciezkaDoKatalogu2"), QStringLiteral("Faktury"), QStringLiteral("Button4"),
            QStringLiteral("Pain001Paczka.xml"));
    Save(window, 1, QStringLiteral("przelew-paczki"));
    Convert(window, QStringLiteral("EdtSciezkaDoPlikuVideoTel"), QStringLiteral("przelewy.imp"),
            QStringLiteral("Button5"), QStringLiteral("Pain001VideoTel.xml"));
    Save(window, 2, QStringLiteral("videotel"));
    Save(window, 3, QStringLiteral("funkcje-techniczne"));
    Save(window, 4, QStringLiteral("banki"));
    Save(window, 6, QStringLiteral("ksef"));
  }

private:
  // Types the path of the user's file into the field and presses the button; the output must
  // appear.
  void Convert(TForm2 &window, const QString &field, const QString &example, const QString &button,
               const QString &output) {
    Control<QLineEdit>(window, field).setText(UserFile(example));
    Control<QPushButton>(window, button).click();
    if (!QFileInfo(DataFile(QStringLiteral("PLIKI_DO_BANKU/") + output)).isFile())
      throw std::runtime_error("the example " + example.toStdString() + " was not converted");
  }

  // The page "Do zapłaty" over the examples as downloaded invoices, one of them paid by the
  // single transfer above, one of the others ticked.
  void SaveDuePage(TForm2 &window) {
    QDir().mkpath(DataFile(QStringLiteral("FAKTURY_KSEF")));
    const QDir invoices(UserFile(QStringLiteral("Faktury")));
    for (const QString &invoice : invoices.entryList({QStringLiteral("*.xml")}, QDir::Files))
      Copy(invoices.filePath(invoice), DataFile(QStringLiteral("FAKTURY_KSEF/") + invoice));
    auto &page = *window.findChild<TDuePage *>();
    Control<QTabWidget>(window, QStringLiteral("Pages")).setCurrentIndex(DuePageIndex);
    while (page.Reading())
      QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    auto &model = dynamic_cast<TDueTableModel &>(*Control<QTableView>(window, QStringLiteral("GridDoZaplaty")).model());
    for (int row = 0; row < model.rowCount(); ++row)
      if (model.Invoice(row).Status == TDueStatus::ToPay) {
        model.SetTicked(row, true);
        break;
      }
    Save(window, DuePageIndex, QStringLiteral("do-zaplaty"));
  }

  void Save(TForm2 &window, int page, const QString &name) {
    if (!FWanted.isEmpty() && !FWanted.contains(name))
      return;
    Control<QTabWidget>(window, QStringLiteral("Pages")).setCurrentIndex(page);
    QApplication::processEvents();
    const QString fileName = QDir(FOutput).filePath(name + QStringLiteral(".png"));
    if (!window.grab().save(fileName, "PNG"))
      throw std::runtime_error("cannot write " + fileName.toStdString());
  }

  template <class T> static T &Control(QWidget &window, const QString &name) {
    T *control = window.findChild<T *>(name);
    if (!control)
      throw std::runtime_error("the window has no control " + name.toStdString());
    return *control;
  }

  // The data directory is named as a user's is, so that the paths in the logs look familiar.
  QString DataFile(const QString &name) const { return FTemporary.filePath(QStringLiteral("Pavena/") + name); }
  QString UserFile(const QString &name) const { return FTemporary.filePath(name); }

  QString FExamples;
  QString FOutput;
  QStringList FWanted;
  QTemporaryDir FTemporary;
};

} // namespace

int main(int argc, char *argv[]) {
  QApplication application(argc, argv);
  InstallPolishTranslations(application);
  // The same look and font wherever the build runs.
  QApplication::setStyle(QStringLiteral("Fusion"));
  QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() < 3) {
    std::fputs("usage: pavena-screenshots EXAMPLES_DIR OUTPUT_DIR [PAGE...]\n", stderr);
    return 2;
  }
  try {
    QDir().mkpath(arguments.at(2));
    TScreenshots(arguments.at(1), arguments.at(2), arguments.mid(3)).Take();
  } catch (const std::exception &error) {
    std::fprintf(stderr, "pavena-screenshots: %s\n", error.what());
    return 1;
  }
  return 0;
}
