#pragma once

#include <QString>

// Why the data directory is where it is.
enum class TDataDirChoice {
  // The program directory, which a file can be created in: a portable copy, a build folder.
  ProgramDir,
  // The directory that the environment variable PAVENA_DIR names.
  Override,
  // The user's own data folder: an installed program, whose directory belongs to the package
  // (even where root could write it) or cannot be written at all.
  UserData,
};

// Where the program finds its files. Resolved once when the program starts and carried by the
// host; nothing else reads the environment or the executable's path.
struct TAppPaths {
  // The directory of the running executable, ending with "/". The files delivered with the
  // program (the manual, the icon, the invoice PDF generator) are always found here.
  QString ProgramDir;
  // The directory of settings.ini, BANKI.INI and the working directories, ending with "/".
  QString AppDir;
  TDataDirChoice DataDirChoice = TDataDirChoice::ProgramDir;

  // AppDir followed by the relative name, e.g. AppFilePath("PLIKI_DO_BANKU/Pain001.xml").
  QString AppFilePath(const QString &name) const { return AppDir + name; }
  QString SettingsFile() const { return AppFilePath(QStringLiteral("settings.ini")); }
  QString BankFile() const { return AppFilePath(QStringLiteral("BANKI.INI")); }
  // A file of the output directory "PLIKI_DO_BANKU".
  QString OutputFile(const QString &name) const { return AppFilePath(QStringLiteral("PLIKI_DO_BANKU/") + name); }
  // The indexes of the VAT white list, one per day of data.
  QString WhiteListDirectory() const { return AppFilePath(QStringLiteral("BIALA_LISTA")); }

  // A file delivered with the program, beside the executable.
  QString ProgramFile(const QString &name) const { return ProgramDir + name; }
  QString ManualFile() const { return ProgramFile(QStringLiteral("OpisPrzelewyISO20022.pdf")); }
  // The picture desktops show for the program; "pavena.ico" beside it is the same picture in
  // the Windows icon format.
  QString IconFile() const { return ProgramFile(QStringLiteral("pavena.png")); }

  // Creates "XML_PZ", "FAKTURY" and "PLIKI_DO_BANKU" under AppDir; failures are ignored.
  void CreateWorkDirectories() const;

  // The running program's directories: ProgramDir is the executable's own, AppDir is chosen by
  // Choose() with the environment variable PAVENA_DIR, the user's data folder and the package's
  // program directory. The working directory plays no part.
  static TAppPaths OfRunningProgram();
  // AppDir is `dataDirOverride` when it is not empty; else `userDataDir` when programDir is
  // `packagedProgramDir` (the Debian package's, which root could write but apt owns) or a
  // file cannot be created there (an installed program that a user may not write); else
  // programDir (a portable copy, a build folder). All are made absolute.
  static TAppPaths Choose(const QString &programDir, const QString &dataDirOverride, const QString &userDataDir,
                          const QString &packagedProgramDir);
  // Both directories are `dir` (made absolute).
  static TAppPaths InDirectory(const QString &dir);

  // True when a file can be created in the directory; found out by creating and removing one,
  // since the permission bits do not tell (an administrator, a read-only file system).
  static bool CanCreateFilesIn(const QString &dir);
  // Pavena's folder among the current user's data: ~/.local/share/Pavena on Linux.
  static QString UserDataDir();
};
