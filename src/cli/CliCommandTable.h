#pragma once

#include "CliRequest.h"

#include <QList>
#include <QString>
#include <QStringList>

// Every command and option of pavena-cli, declared once: the parser, --help and the manual
// page pavena-cli(1) are all read off these declarations.

// One option. Its help text is broken into lines as --help prints it; the manual page joins
// them.
struct TCliOptionSpec {
  QString Name;
  // What the value stands for (TEKST, FORMAT, RRRR-MM-DD, NR); empty for an option without
  // a value.
  QString ValueName;
  QString Help;
  // Puts the value into the request; throws with a Polish message naming the option when the
  // value is wrong.
  void (*Apply)(TCliRequest &request, const QString &option, const QString &value) = nullptr;
  // May be given more than once, each value applied in turn.
  bool Repeatable = false;
};

// Options of which a call gives at most one. A group that is not optional is one that its
// form needs: a call of that form gives one of its options.
struct TCliOptionGroup {
  QStringList Options;
  bool Optional = true;
};

// One way to call a command: options of different forms are never given together.
using TCliForm = QList<TCliOptionGroup>;

struct TCliExitCode {
  int Status = 0;
  QString Meaning;
};

struct TCliCommandSpec {
  // One word, or the group's word and the command's ("biala-lista sprawdz").
  QString Name;
  TCliCommand Command = TCliCommand::Help;
  // The positional arguments, all required, in their order.
  QStringList Arguments;
  // At least one form, the first being what applies without options.
  QList<TCliForm> Forms;
  QString Help;
  // The exit statuses when they mean something else than the program's own.
  QList<TCliExitCode> OwnExitCodes;
};

const QList<TCliCommandSpec> &CliCommands();
// Every option that some command takes, in the order of --help.
const QList<TCliOptionSpec> &CliOptions();
const TCliOptionSpec *FindCliOption(const QString &name);
// --help, then --version: what they do.
const QList<TCliOptionSpec> &CliProgramOptions();
const QList<TCliExitCode> &CliExitCodes();
// "0 - plik zapisany (plik wysłany), 1 - ..."
QString ExitCodesText(const QList<TCliExitCode> &codes);

// What pavena-cli does, in one sentence; what holds for the options; what is checked in every
// transfer file. Broken into lines as --help prints them.
QString CliSummary();
QString CliOptionsNote();
QString CliChecksNote();

// The commands `topic` names: one command, each command of a group ("biala-lista"), or every
// command when it is empty.
QList<const TCliCommandSpec *> CommandsOfTopic(const QString &topic);

// The option names of a form, and of a command in the order of its forms, each once.
QStringList FormOptionNames(const TCliForm &form);
QStringList CommandOptionNames(const TCliCommandSpec &command);

// A piece of a usage line: a word typed as it stands, a word standing for a value, or
// brackets and bars.
struct TCliUsageToken {
  enum class TKind { Literal, Value, Punctuation };
  TKind Kind;
  QString Text;
};
// One line per form, from the command's name on ("faktura PLIK.xml [--referencja TEKST] ...").
QList<QList<TCliUsageToken>> CliUsage(const TCliCommandSpec &command);
// The line as typed, each token shown by `shown` (as it stands when none is given).
QString UsageText(const QList<TCliUsageToken> &tokens, QString (*shown)(const TCliUsageToken &) = nullptr);

// "a, b i c" and "a, b albo c".
QString JoinAnd(const QStringList &items);
QString JoinOr(const QStringList &items);
