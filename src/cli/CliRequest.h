#pragma once

#include "app/commands/DueInvoices.h"
#include "journal/JournalRecords.h"
#include "model/Types.h"

#include <QDate>
#include <QString>
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
  History,
  DueInvoices,
  KsefDownload,
  KsefList
};

// What one run of pavena-cli is asked to do.
struct TCliRequest {
  TCliCommand Command = TCliCommand::Help;
  // With Help: the command (or group of commands, "biala-lista") to describe; empty for all.
  QString HelpTopic;
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
  // historia: which payments (--od, --do, --szukaj) and whether as CSV (--csv); ksef lista:
  // the days of download (--od, --do) and --csv; ksef pobierz: the range of KSeF's dates.
  THistoryFilter History;
  bool Csv = false;
  // historia --wycofaj ID / --przywroc ID: the transfer file to mark as never sent, or to
  // count as sent again, instead of a listing.
  std::optional<std::int64_t> WithdrawFile;
  std::optional<std::int64_t> RestoreFile;
  // do-zaplaty: which invoices (--termin-do, --status; no status for all), and instead of a
  // listing: --utworz the transfer file of those due (or of the --ksef numbers), or
  // --oznacz-zaplacona / --cofnij the mark of one invoice, with --notatka.
  TDueFilter Due;
  bool CreateDueTransfer = false;
  QStringList DueKsefNumbers;
  QString MarkPaidOutside;
  QString UndoPaidOutside;
  QString Note;
  // ksef pobierz: --srodowisko, and the login's files (--certyfikat with --klucz, or
  // --token-plik); the secrets themselves never pass through here.
  QString KsefEnvironment;
  QString KsefCertificate;
  QString KsefKey;
  QString KsefTokenFile;
};
