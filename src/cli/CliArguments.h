#pragma once

#include "app/commands/AppPaths.h"
#include "journal/JournalRecords.h"
#include "model/Exception.h"
#include "model/Types.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

enum class TCliCommand {
  Help,
  Version,
  Single,
  Batch,
  VideoTel,
  SendToAuthor,
  Pdf,
  WhiteListLoad,
  WhiteListCheck,
  WhiteListDownload,
  History
};

// What one run of pavena-cli is asked to do.
struct TCliRequest {
  TCliCommand Command = TCliCommand::Help;
  // The invoice file, the invoice directory, the VideoTel file, the file to send, the flat
  // file or the NIP to check, as given.
  QString Input;
  // The account of biala-lista sprawdz.
  QString Account;
  // --data of biala-lista sprawdz and pobierz.
  std::optional<QDate> Day;
  QString AdditionalReference;
  // Set by --mpp or --bez-mpp; otherwise the choice stored in settings.ini applies.
  std::optional<TMPPSettings> MPP;
  // --scisle: a transfer file written with warnings ends the run with its own exit status.
  bool Strict = false;
  // historia: which payments (--od, --do, --szukaj) and whether as CSV (--csv).
  THistoryFilter History;
  bool Csv = false;
  // historia --wycofaj ID / --przywroc ID: the transfer file to mark as never sent, or to
  // count as sent again, instead of a listing.
  std::optional<std::int64_t> WithdrawFile;
  std::optional<std::int64_t> RestoreFile;
};

// Reads the arguments after the program name. A wrong call fails with a Polish message that
// names what is wrong.
TCliRequest ParseCliArguments(const QStringList &arguments);

// Reads the arguments after "biala-lista".
TCliRequest ParseWhiteListArguments(const QStringList &arguments);

// The text of --help, naming the data directory of `paths` and why it is that one.
QString CliHelpText(const TAppPaths &paths);
// The short reminder printed after a wrong call.
QString CliUsageHint();
