#include "app/gui/DisplayGuard.h"

#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <utility>

namespace {

// Qt's message handler is a plain function, called from any thread; one guard at a time owns
// these.
struct THeldMessage {
  QtMsgType Type;
  QString Text;
};
std::mutex HeldMessagesLock;
QList<THeldMessage> HeldMessages;

void HoldOrExplain(QtMsgType type, const QMessageLogContext &, const QString &text) {
  if (type != QtFatalMsg) {
    const std::lock_guard lock(HeldMessagesLock);
    HeldMessages.append({type, text});
    return;
  }
  std::fputs(TDisplayGuard::NoDisplayText, stderr);
  std::fflush(stderr);
  // Qt would abort() as soon as the handler returns.
  std::_Exit(1);
}

} // namespace

const char TDisplayGuard::NoDisplayText[] =
    "Okno programu Pavena potrzebuje sesji graficznej (ekranu), a nie udało się jej otworzyć.\n"
    "Bez okna te same przekształcenia wykonuje pavena-cli (pavena-cli --help).\n";

TDisplayGuard::TDisplayGuard() : FPrevious(qInstallMessageHandler(HoldOrExplain)) {}

TDisplayGuard::~TDisplayGuard() { Release(); }

void TDisplayGuard::Release() {
  if (FReleased)
    return;
  FReleased = true;
  qInstallMessageHandler(FPrevious);
  QList<THeldMessage> held;
  {
    const std::lock_guard lock(HeldMessagesLock);
    held = std::exchange(HeldMessages, {});
  }
  for (const THeldMessage &message : held)
    qt_message_output(message.Type, QMessageLogContext(), message.Text);
}
