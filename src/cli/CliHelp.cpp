#include "CliHelp.h"

#include "CliCommandTable.h"

namespace {

const QString Program = QStringLiteral("pavena-cli");

// Each line of `text` after the first indented by `indent` blanks.
QString Continued(const QString &text, qsizetype indent) {
  return text.split(u'\n').join(u'\n' + QString(indent, u' '));
}

// `text` in lines of at most `width` characters where words allow, starting at column `indent`
// and each line after the first indented by as many blanks. "2 - błędne" stays on one line.
QString Wrapped(const QString &text, qsizetype indent, qsizetype width) {
  const QStringList words = text.split(u' ', Qt::SkipEmptyParts);
  QStringList units;
  for (qsizetype i = 0; i < words.size(); ++i)
    if (words[i] == QStringLiteral("-") && !units.isEmpty() && i + 1 < words.size())
      units.last() += QStringLiteral(" - ") + words[++i];
    else
      units.append(words[i]);
  QString wrapped;
  qsizetype column = indent;
  for (const QString &unit : units) {
    if (!wrapped.isEmpty()) {
      const bool breaks = column + 1 + unit.size() > width;
      wrapped += breaks ? u'\n' + QString(indent, u' ') : QStringLiteral(" ");
      column = breaks ? indent : column + 1;
    }
    wrapped += unit;
    column += unit.size();
  }
  return wrapped;
}

// A name, its text beside it from column `column` on, and the text's further lines below.
QString Entry(const QString &name, const QString &text, qsizetype column) {
  const qsizetype width = column - 2;
  const QString padded = name.size() < width - 1 ? name.leftJustified(width) : name + QStringLiteral("  ");
  return QStringLiteral("  ") + padded + Continued(text, column) + u'\n';
}

QString OptionEntry(const TCliOptionSpec &option) {
  const QString name = option.ValueName.isEmpty() ? option.Name : option.Name + u' ' + option.ValueName;
  return Entry(name, option.Help, 22);
}

QStringList UsageLines(const QList<const TCliCommandSpec *> &commands) {
  QStringList lines;
  for (const TCliCommandSpec *command : commands)
    for (const QList<TCliUsageToken> &usage : CliUsage(*command))
      lines.append(Program + u' ' + UsageText(usage));
  return lines;
}

// Why the data directory of this run is the one it is.
QString DataDirReason(const TAppPaths &paths) {
  switch (paths.DataDirChoice) {
  case TDataDirChoice::Override: return QStringLiteral("wskazany zmienną środowiskową PAVENA_DIR");
  case TDataDirChoice::UserData:
    return QStringLiteral("w katalogu programu %1 nie wolno zapisywać: program zainstalowany z pakietu")
        .arg(paths.ProgramDir);
  case TDataDirChoice::ProgramDir: break;
  }
  return QStringLiteral("katalog programu, w którym wolno zapisywać");
}

QString OneCommandHelp(const TCliCommandSpec &command) {
  QString text =
      QStringLiteral("Polecenie %1 %2:\n  %3\n\nUżycie:\n").arg(Program, command.Name, Continued(command.Help, 2));
  for (const QString &line : UsageLines({&command}))
    text += QStringLiteral("  ") + line + u'\n';
  text += QStringLiteral("  %1 %2 --help\n\nOpcje:\n").arg(Program, command.Name);
  for (const QString &name : CommandOptionNames(command))
    text += OptionEntry(*FindCliOption(name));
  text += OptionEntry(CliProgramOptions().first());
  const QList<TCliExitCode> &codes = command.OwnExitCodes.isEmpty() ? CliExitCodes() : command.OwnExitCodes;
  return text + u'\n' + Wrapped(QStringLiteral("Kod wyjścia: ") + ExitCodesText(codes) + u'.', 0, 88);
}

} // namespace

QString CliHelpText(const TAppPaths &paths) {
  QString text = Program + QStringLiteral(": ") + CliSummary() + QStringLiteral("\n\nUżycie:\n");
  for (const QString &line : UsageLines(CommandsOfTopic(QString())))
    text += QStringLiteral("  ") + line + u'\n';
  text += QStringLiteral("  %1 --help\n  %1 POLECENIE --help\n  %1 --version\n\nPolecenia:\n").arg(Program);
  for (const TCliCommandSpec *command : CommandsOfTopic(QString())) {
    text += Entry(command->Name, command->Help, 12);
    if (!command->OwnExitCodes.isEmpty())
      text += QString(12, u' ') +
              Wrapped(QStringLiteral("kod wyjścia: ") + ExitCodesText(command->OwnExitCodes), 12, 88) + u'\n';
  }
  text += QStringLiteral("\nOpcje:\n");
  for (const TCliOptionSpec &option : CliOptions())
    text += OptionEntry(option);
  for (const TCliOptionSpec &option : CliProgramOptions())
    text += OptionEntry(option);
  text += QStringLiteral("  ") + Continued(CliOptionsNote(), 2) + QStringLiteral("\n\n") + CliChecksNote() +
          QStringLiteral("\n\n");
  text += QStringLiteral("Katalog danych trzyma plik settings.ini (dane płatnika w sekcji [COMPANY]: Name, NIP,\n"
                         "IBAN, BIC, i wybór MPP), BANKI.INI i katalog PLIKI_DO_BANKU z plikami przelewów. Program\n"
                         "wybiera go przy każdym uruchomieniu:\n"
                         "  1. katalog wskazany zmienną środowiskową PAVENA_DIR, gdy jest ustawiona;\n"
                         "  2. w przeciwnym razie katalog programu, gdy wolno w nim zapisywać (kopia przenośna);\n"
                         "  3. w przeciwnym razie ~/.local/share/Pavena ($XDG_DATA_HOME/Pavena): program\n"
                         "     zainstalowany z pakietu; każdy użytkownik ma tam własne dane.\n"
                         "Katalog danych tego uruchomienia: %1\n"
                         "(%2).\n\n")
              .arg(paths.AppDir, DataDirReason(paths));
  return text + Wrapped(QStringLiteral("Kod wyjścia: ") + ExitCodesText(CliExitCodes()) + u'.', 0, 88);
}

QString CliCommandHelpText(const QString &topic) {
  QStringList parts;
  for (const TCliCommandSpec *command : CommandsOfTopic(topic))
    parts.append(OneCommandHelp(*command));
  return parts.join(QStringLiteral("\n\n"));
}

QString CliUsageHint(const QStringList &arguments) {
  // The command named by the first words, as far as they name one.
  QString topic;
  for (const QString &word : arguments) {
    const QString longer = topic.isEmpty() ? word : topic + u' ' + word;
    if (word.isEmpty() || CommandsOfTopic(longer).isEmpty())
      break;
    topic = longer;
  }
  const QStringList lines = UsageLines(CommandsOfTopic(topic));
  return QStringLiteral("Użycie: ") + lines.join(QStringLiteral("\n       ")) + u'\n' +
         (topic.isEmpty() ? QStringLiteral("Opis wszystkich opcji: %1 --help").arg(Program)
                          : QStringLiteral("Opis polecenia: %1 %2 --help").arg(Program, topic));
}
