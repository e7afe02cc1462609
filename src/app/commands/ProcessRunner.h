#pragma once

#include "app/commands/Host.h"
#include "model/Cancellation.h"

// Runs outside programs with QProcess, for the window and the terminal alike. The program
// gets no input and its standard output is dropped; its standard error is kept for the
// report of a failure.
class TProcessRunner : public IProcessRunner {
public:
  TProcessResult Run(const QString &program, const QStringList &arguments, int timeoutMs) override;
  // The same, ended early (Cancelled) once another thread cancels `cancellation`.
  TProcessResult Run(const QString &program, const QStringList &arguments, int timeoutMs,
                     const TCancellation &cancellation);
};
