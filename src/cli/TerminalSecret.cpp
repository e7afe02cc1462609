#include "TerminalSecret.h"

#include <cstdio>
#include <termios.h>
#include <unistd.h>

std::optional<QByteArray> AskSecretOnTerminal(const char *prompt) {
  termios shown{};
  if (::isatty(STDIN_FILENO) != 1 || ::tcgetattr(STDIN_FILENO, &shown) != 0)
    return std::nullopt;
  termios hidden = shown;
  // The typed characters stay unseen; the line break still moves the cursor on.
  hidden.c_lflag &= ~tcflag_t(ECHO);
  hidden.c_lflag |= ECHONL;
  std::fputs(prompt, stderr);
  std::fflush(stderr);
  ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &hidden);
  QByteArray secret;
  for (int c = std::getchar(); c != EOF && c != '\n'; c = std::getchar())
    secret.append(char(c));
  ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &shown);
  return secret;
}
