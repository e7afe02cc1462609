#pragma once

#include "app/commands/Host.h"

#include <atomic>

// Runs outside programs with QProcess, for the window and the terminal alike. The program
// gets no input and its standard output is dropped; its standard error is kept for the
// report of a failure.
class TProcessRunner : public IProcessRunner {
public:
  TProcessResult Run(const QString &program, const QStringList &arguments, int timeoutMs) override;
  // The same, ended early (Cancelled) once another thread sets `cancelled`.
  TProcessResult Run(const QString &program, const QStringList &arguments, int timeoutMs,
                     const std::atomic<bool> &cancelled);
};
