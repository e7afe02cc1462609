#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// Starts a test server written in Python (`script` with `arguments`) and waits for its first
// line, the handshake "READY <port>", which it prints once it listens. Gives the port; when the
// line does not come, ends the process and throws naming `what` with what the server said.
int StartPythonTestServer(QProcess &process, const QString &script, const QStringList &arguments, const char *what);
