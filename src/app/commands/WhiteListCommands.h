#pragma once

#include "app/commands/Host.h"
#include "whitelist/LoadProgress.h"
#include "whitelist/WhiteListStore.h"

#include <optional>

// What a load or a download of the flat file came to: made on any thread, logged on the host's.
struct TFlatFileOutcome {
  std::optional<TFlatFileLoad> Loaded;
  QString Error;
  // The user ended the work: Error says so, and is no failure.
  bool Cancelled = false;
};

// How a pair checked by hand stands on the list.
enum class TAccountCheck { Found, NotFound, Malformed, Unchecked };

// The white-list commands: loading the Ministry's flat file, downloading it, checking one
// account by hand. The slow parts touch no host, so that the window can run them off its
// thread and log their outcome on it.
class TWhiteListCommands {
public:
  explicit TWhiteListCommands(THost &host);

  static TFlatFileOutcome LoadFlatFile(const TAppPaths &paths, QDate today, const QString &flatFile,
                                       IProgress &progress);
  // Downloads the flat file of `day` from the address of settings.ini ([BialaLista] Adres=)
  // into BIALA_LISTA and loads it; the archive goes once it is loaded.
  static TFlatFileOutcome DownloadFlatFile(const TAppPaths &paths, QDate today, QDate day, IProgress &progress);
  // One log line of what was read, one line that the user ended the work (as for a mail), or
  // one "Błąd: " entry; true when the file was loaded.
  bool LogOutcome(const TFlatFileOutcome &outcome);

  bool Load(const QString &flatFile, IProgress &progress);
  // `day` empty: today's file.
  bool Download(std::optional<QDate> day, IProgress &progress);
  // Logs whether the pair is on the list of `day` (today when empty), and how; without that
  // day's file the newest one before it stands in, never a later one.
  TAccountCheck CheckAccount(const QString &nip, const QString &account, std::optional<QDate> day);
  // The newest day's list loaded, for the window: "Biała lista: dane z dnia …".
  static QString LoadedListText(const TAppPaths &paths);

private:
  THost &FHost;
};
