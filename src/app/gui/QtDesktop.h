#pragma once

#include "app/commands/Host.h"

// The Linux desktop: default applications through the desktop services, the folders of the
// XDG base directories, processes started with an argument list, never through a shell.
class TQtDesktop : public IDesktop {
public:
  void OpenWithDefaultApplication(const QString &fileName) override;
  void OpenInTextEditor(const QString &argument) override;
  // Without the file or a sound player the desktop's beep stands in for it.
  void PlaySound(const QString &fileName) override;
  QString DesktopFolder() override;
  QString ApplicationsFolder() override;
  // GNOME keeps the mark as the GVfs attribute metadata::trusted, set with gio where gio is
  // installed; other desktops go by the executable bit alone.
  void TrustLauncher(const QString &fileName) override;
};
