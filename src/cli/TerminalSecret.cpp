#include "TerminalSecret.h"

#include <array>
#include <csignal>
#include <cstdio>
#include <termios.h>
#include <unistd.h>

namespace {

// What the terminal was before the prompt, for a signal's handler to put back.
termios Shown{};

constexpr std::array<int, 3> EndingSignals{SIGINT, SIGTERM, SIGHUP};
std::array<struct sigaction, EndingSignals.size()> Previous{};

// Ctrl-C at the prompt: the terminal gets its echo back, then the signal does what it would
// have done without the prompt (the program ends).
extern "C" void RestoreTerminalAndEnd(int signal) {
  ::tcsetattr(STDIN_FILENO, TCSANOW, &Shown);
  for (std::size_t i = 0; i < EndingSignals.size(); ++i)
    if (EndingSignals[i] == signal)
      ::sigaction(signal, &Previous[i], nullptr);
  ::raise(signal);
}

void CatchEndingSignals() {
  struct sigaction restoring {};
  restoring.sa_handler = RestoreTerminalAndEnd;
  ::sigemptyset(&restoring.sa_mask);
  for (std::size_t i = 0; i < EndingSignals.size(); ++i) {
    ::sigaction(EndingSignals[i], nullptr, &Previous[i]);
    // A signal the caller ignores (nohup) stays ignored.
    if (Previous[i].sa_handler != SIG_IGN)
      ::sigaction(EndingSignals[i], &restoring, nullptr);
  }
}

void ReleaseEndingSignals() {
  for (std::size_t i = 0; i < EndingSignals.size(); ++i)
    ::sigaction(EndingSignals[i], &Previous[i], nullptr);
}

} // namespace

std::optional<QByteArray> AskSecretOnTerminal(const char *prompt) {
  if (::isatty(STDIN_FILENO) != 1 || ::tcgetattr(STDIN_FILENO, &Shown) != 0)
    return std::nullopt;
  termios hidden = Shown;
  // The typed characters stay unseen; the line break still moves the cursor on.
  hidden.c_lflag &= ~tcflag_t(ECHO);
  hidden.c_lflag |= ECHONL;
  CatchEndingSignals();
  ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &hidden);
  // Shown only once the echo is off, so that nothing typed after it is seen.
  std::fputs(prompt, stderr);
  std::fflush(stderr);
  QByteArray secret;
  for (int c = std::getchar(); c != EOF && c != '\n'; c = std::getchar())
    secret.append(char(c));
  ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &Shown);
  ReleaseEndingSignals();
  return secret;
}
