#pragma once

#include <QString>

// Where the program finds its files. Resolved once when the program starts and carried by the
// host; nothing else reads the environment or the executable's path.
struct TAppPaths {
  // The directory of the running executable, ending with "/".
  QString ProgramDir;
  // The directory of settings.ini, BANKI.INI and the working directories, ending with "/".
  QString AppDir;

  // AppDir followed by the relative name, e.g. AppFilePath("PLIKI_DO_BANKU/Pain001.xml").
  QString AppFilePath(const QString &name) const { return AppDir + name; }
  QString SettingsFile() const { return AppFilePath(QStringLiteral("settings.ini")); }
  QString BankFile() const { return AppFilePath(QStringLiteral("BANKI.INI")); }
  // A file of the output directory "PLIKI_DO_BANKU".
  QString OutputFile(const QString &name) const { return AppFilePath(QStringLiteral("PLIKI_DO_BANKU/") + name); }

  // Creates "XML_PZ", "FAKTURY" and "PLIKI_DO_BANKU" under AppDir; failures are ignored.
  void CreateWorkDirectories() const;

  // The running program's directories: the executable's own, replaced as AppDir by the
  // environment variable PAVENA_DIR when it is set. The working directory plays no part.
  static TAppPaths OfRunningProgram();
  // Both directories are `dir` (made absolute).
  static TAppPaths InDirectory(const QString &dir);
};
