#include "app/gui/BackgroundMailer.h"
#include "app/gui/BackgroundWork.h"
#include "app/gui/Form2.h"

#include "FakeHost.h"
#include "GuiTestSupport.h"
#include "SmtpTestServer.h"
#include "TestSupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <chrono>
#include <future>

namespace {

// Counts the paint events a widget gets.
class TPaintCounter : public QObject {
public:
  explicit TPaintCounter(QWidget &widget) { widget.installEventFilter(this); }
  int Count() const { return FCount; }
  bool eventFilter(QObject *, QEvent *event) override {
    if (event->type() == QEvent::Paint)
      ++FCount;
    return false;
  }

private:
  int FCount = 0;
};

class TBackgroundWorkTest : public ::testing::Test {
protected:
  // The window as main() builds it, with the real mailer and the fake host's dialogs.
  std::unique_ptr<TForm2> Open(IMailer &mailer) {
    auto window = std::make_unique<TForm2>(
        THost{Log, Fake, Fake, mailer, Fake, [this] { return Fake.Clock; }, App.Paths()}, Log, Background);
    Background.ShowIn(*window);
    window->show();
    return window;
  }
  static bool Enabled(const TForm2 &window, const QString &button) {
    return Control<QPushButton>(window, button).isEnabled();
  }
  static QString LastLine(const TForm2 &window) {
    return Control<QPlainTextEdit>(window, QStringLiteral("MemoTech")).toPlainText().split(u'\n').last();
  }

  TTempAppDir App;
  TFakeHost Fake{App.Paths()};
  TQtLog Log;
  TBackgroundWork Background;
};

// A server that accepts and never answers: while the program waits for it the window paints,
// says what it does, keeps its commands from starting, and "Anuluj" ends the send at once with
// one line in the log and no box.
TEST_F(TBackgroundWorkTest, AMailToASilentServerLeavesTheWindowAliveAndCancellable) {
  TSmtpTestServer smtp({"--mode", "silent"});
  TMailServer server;
  server.Host = QStringLiteral("127.0.0.1");
  server.Port = smtp.Port();
  server.User = QStringLiteral("autor");
  server.Password = QStringLiteral("haslo");
  server.Address = QStringLiteral("autor@example.test");
  TAuthorMailer author(server);
  TBackgroundMailer mailer(author, Background);
  const auto window = Open(mailer);
  App.WriteBytes(QStringLiteral("faktura.xml"), "<Faktura/>");
  Control<QLineEdit>(*window, QStringLiteral("EdtSciezkaDoPlikuMail")).setText(App.File(QStringLiteral("faktura.xml")));
  Fake.ConfirmAnswers = {true};

  bool seenWhileSending = false;
  QTimer::singleShot(0, window.get(), [&] {
    smtp.WaitForEvent(QStringLiteral("connect"));
    const TPaintCounter paints(*window);
    window->update();
    ProcessEventsUntil([&] { return paints.Count() > 0; }, "the window to paint while the mail goes out");
    EXPECT_TRUE(Control<QLabel>(*window, QStringLiteral("LblPraca")).text().startsWith(u"Wysyłanie pliku do autora…"));
    EXPECT_FALSE(Enabled(*window, QStringLiteral("Button1")));
    EXPECT_FALSE(Enabled(*window, QStringLiteral("BtnWyslijMail")));
    EXPECT_FALSE(Control<QTableView>(*window, QStringLiteral("GridBanki")).isEnabled());
    EXPECT_TRUE(Control<QPushButton>(*window, QStringLiteral("BtnAnuluj")).isVisible());
    Control<QPushButton>(*window, QStringLiteral("BtnAnuluj")).click();
    seenWhileSending = true;
  });
  Control<QPushButton>(*window, QStringLiteral("BtnWyslijMail")).click();

  EXPECT_TRUE(seenWhileSending);
  EXPECT_EQ(LastLine(*window), QStringLiteral("Wysyłanie pliku przerwane przez użytkownika."));
  EXPECT_TRUE(Fake.MessageBoxes.isEmpty());
  EXPECT_TRUE(Enabled(*window, QStringLiteral("Button1")));
  EXPECT_TRUE(Enabled(*window, QStringLiteral("BtnWyslijMail")));
  EXPECT_TRUE(Control<QTableView>(*window, QStringLiteral("GridBanki")).isEnabled());
  EXPECT_FALSE(Control<QPushButton>(*window, QStringLiteral("BtnAnuluj")).isVisible());
}

// Closing the window cancels the running work, and an error of the work reaches the command.
TEST_F(TBackgroundWorkTest, ClosingTheWindowCancelsAndErrorsReachTheCaller) {
  const auto window = Open(Fake);
  QTimer::singleShot(0, window.get(), [&] { window->close(); });

  EXPECT_THROW_MESSAGE(Background.Run(QStringLiteral("Praca"),
                                      [&](TBackgroundTask &task) {
                                        std::promise<void> cancelled;
                                        std::future<void> cancellation = cancelled.get_future();
                                        task.Cancellation.SetWaker([&] { cancelled.set_value(); });
                                        // A safety net only: without the cancellation the test
                                        // fails here instead of hanging.
                                        const bool seen =
                                            task.Cancellation.IsCancelled() ||
                                            cancellation.wait_for(std::chrono::minutes(1)) == std::future_status::ready;
                                        task.Cancellation.SetWaker({});
                                        if (!seen)
                                          throw Exception(QStringLiteral("nie przerwano"));
                                        throw TCancelled(QStringLiteral("przerwane"));
                                      }),
                       "przerwane");
  EXPECT_FALSE(window->isVisible());
}

} // namespace
