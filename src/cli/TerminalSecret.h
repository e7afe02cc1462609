#pragma once

#include <QByteArray>
#include <optional>

// Asks for a secret (a key's passphrase) on the terminal without showing what is typed; none
// when standard input is no terminal (a script, a pipe), which is never read for it.
std::optional<QByteArray> AskSecretOnTerminal(const char *prompt);
