#pragma once

#include "app/commands/Host.h"

// The Linux desktop: default applications through the desktop services, processes started
// detached with an argument list, never through a shell.
class TQtDesktop : public IDesktop {
public:
  void OpenWithDefaultApplication(const QString &fileName) override;
  void OpenInTextEditor(const QString &argument) override;
  // Without the file or a sound player the desktop's beep stands in for it.
  void PlaySound(const QString &fileName) override;
};
