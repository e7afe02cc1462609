#include "CliArguments.h"

#include "CliCommandTable.h"
#include "model/Exception.h"

#include <algorithm>

namespace {

const QString EndOfOptions = QStringLiteral("--");
const QString VersionOption = QStringLiteral("--version");

bool IsOption(const QString &argument) { return argument.startsWith(u'-') && argument != QStringLiteral("-"); }

bool IsHelp(const QString &argument) {
  return argument == QStringLiteral("--help") || argument == QStringLiteral("-h");
}

// The words that may follow `prefix` ("" or "biala-lista "), in the order of the table.
QStringList NextWords(const QString &prefix) {
  QStringList words;
  for (const TCliCommandSpec &command : CliCommands())
    if (command.Name.startsWith(prefix)) {
      const QString word = command.Name.mid(prefix.size()).section(u' ', 0, 0);
      if (!words.contains(word))
        words.append(word);
    }
  return words;
}

const TCliCommandSpec *CommandNamed(const QString &name) {
  const auto found = std::find_if(CliCommands().begin(), CliCommands().end(),
                                  [&](const TCliCommandSpec &command) { return command.Name == name; });
  return found == CliCommands().end() ? nullptr : &*found;
}

const TCliForm *FormOf(const TCliCommandSpec &command, const QString &option) {
  for (const TCliForm &form : command.Forms)
    if (FormOptionNames(form).contains(option))
      return &form;
  return nullptr;
}

// An option given, with its value ("" for one without a value).
struct TGivenOption {
  QString Name;
  QString Value;
};

// The first form that takes every option given; else that of the first option, to name what
// does not fit it.
const TCliForm *FormOfAll(const TCliCommandSpec &command, const QList<TGivenOption> &given) {
  for (const TCliForm &form : command.Forms) {
    const QStringList names = FormOptionNames(form);
    if (std::all_of(given.begin(), given.end(),
                    [&](const TGivenOption &option) { return names.contains(option.Name); }))
      return &form;
  }
  return FormOf(command, given.first().Name);
}

// Options of different forms, or two of one group, are never given together; a form's
// required groups are all given.
void CheckCombination(const TCliCommandSpec &command, const QList<TGivenOption> &given) {
  if (given.isEmpty())
    return;
  const TCliForm *form = FormOfAll(command, given);
  for (qsizetype i = 0; i < given.size(); ++i) {
    const QString &name = given[i].Name;
    if (const QStringList others = FormOptionNames(*form); !others.contains(name))
      throw Exception(
          QStringLiteral("Opcja %1 nie łączy się z %2 %3")
              .arg(name, others.size() == 1 ? QStringLiteral("opcją") : QStringLiteral("opcjami"), JoinAnd(others)));
    for (const TCliOptionGroup &group : *form)
      if (group.Options.contains(name))
        for (qsizetype earlier = 0; earlier < i; ++earlier)
          if (group.Options.contains(given[earlier].Name) && given[earlier].Name != name)
            throw Exception(QStringLiteral("Opcje %1 i %2 wykluczają się").arg(given[earlier].Name, name));
  }
  for (const TCliOptionGroup &group : *form)
    if (!group.Optional && std::none_of(given.begin(), given.end(), [&](const TGivenOption &option) {
          return group.Options.contains(option.Name);
        }))
      throw Exception(QStringLiteral("Opcja %1 wymaga opcji %2").arg(given.first().Name, JoinOr(group.Options)));
}

} // namespace

TCliRequest ParseCliArguments(const QStringList &arguments) {
  TCliRequest request;
  qsizetype i = 0;
  bool optionsEnded = false;

  // The command's words: "faktura", or "biala-lista" and then "sprawdz". Options given before
  // them belong to the command they name, as they always have ("pavena-cli --scisle faktura").
  QString prefix;
  const TCliCommandSpec *command = nullptr;
  QStringList early;
  while (!command) {
    const QStringList words = NextWords(prefix);
    const QString group = prefix.trimmed();
    if (i >= arguments.size())
      throw Exception(group.isEmpty() ? QStringLiteral("Brak polecenia (%1)").arg(JoinOr(words))
                                      : QStringLiteral("Brak polecenia po %1 (%2)").arg(group, JoinOr(words)));
    const QString &argument = arguments[i++];
    if (!optionsEnded && IsOption(argument)) {
      if (argument == EndOfOptions) {
        optionsEnded = true;
        continue;
      }
      if (IsHelp(argument)) {
        request.HelpTopic = group;
        return request;
      }
      if (argument == VersionOption) {
        request.Command = TCliCommand::Version;
        return request;
      }
      early.append(argument);
      if (const TCliOptionSpec *option = FindCliOption(argument);
          option && !option->ValueName.isEmpty() && i < arguments.size())
        early.append(arguments[i++]);
      continue;
    }
    if (!words.contains(argument))
      throw Exception(QStringLiteral("Nieznane polecenie: %1 (dozwolone: %2)").arg(prefix + argument, JoinOr(words)));
    command = CommandNamed(prefix + argument);
    prefix += argument + u' ';
  }

  const QStringList allowed = CommandOptionNames(*command);
  QStringList positional;
  QList<TGivenOption> given;
  // The options before the command's name, then what follows it.
  const QStringList rest = early + arguments.mid(i);
  bool restEnded = false;
  for (qsizetype r = 0; r < rest.size(); ++r) {
    const QString &argument = rest[r];
    // "--" before the command's name ends the options of everything after the name.
    if (r == early.size())
      restEnded = optionsEnded;
    if (restEnded || !IsOption(argument)) {
      positional.append(argument);
      continue;
    }
    if (argument == EndOfOptions) {
      restEnded = true;
      continue;
    }
    if (IsHelp(argument)) {
      request.HelpTopic = command->Name;
      return request;
    }
    if (argument == VersionOption) {
      request.Command = TCliCommand::Version;
      return request;
    }
    // "--name value" or "--name=value".
    const qsizetype equals = argument.indexOf(u'=');
    const QString name = argument.left(equals);
    if (!allowed.contains(name))
      throw Exception(QStringLiteral("Nieznana opcja polecenia %1: %2 (dozwolone: %3)")
                          .arg(command->Name, name, JoinOr(allowed + QStringList{QStringLiteral("--help")})));
    if (!FindCliOption(name)->Repeatable &&
        std::any_of(given.begin(), given.end(), [&](const TGivenOption &option) { return option.Name == name; }))
      throw Exception(QStringLiteral("Opcja %1 została podana więcej niż raz").arg(name));
    const bool takesValue = !FindCliOption(name)->ValueName.isEmpty();
    QString value;
    if (equals >= 0) {
      if (!takesValue)
        throw Exception(QStringLiteral("Opcja %1 nie przyjmuje wartości").arg(name));
      value = argument.mid(equals + 1);
    } else if (takesValue) {
      if (r + 1 >= rest.size())
        throw Exception(QStringLiteral("Opcja %1 wymaga wartości").arg(name));
      value = rest[++r];
    }
    given.append({name, value});
  }

  if (positional.size() < command->Arguments.size())
    throw Exception(QStringLiteral("Brak argumentu %1").arg(command->Arguments[positional.size()]));
  if (positional.size() > command->Arguments.size()) {
    const QString extra = positional[command->Arguments.size()];
    throw Exception(command->Arguments.isEmpty()
                        ? QStringLiteral("Nadmiarowy argument: %1 (polecenie %2 nie przyjmuje argumentów)")
                              .arg(extra, command->Name)
                        : QStringLiteral("Nadmiarowy argument: %1 (polecenie %2 przyjmuje tylko %3)")
                              .arg(extra, command->Name, JoinAnd(command->Arguments)));
  }
  CheckCombination(*command, given);

  request.Command = command->Command;
  request.Input = positional.value(0);
  request.Account = positional.value(1);
  for (const TGivenOption &option : given)
    FindCliOption(option.Name)->Apply(request, option.Name, option.Value);
  if (request.History.From && request.History.To && *request.History.From > *request.History.To)
    throw Exception(QStringLiteral("Data opcji --od jest późniejsza niż data opcji --do"));
  if (!request.KsefKey.isEmpty() && request.KsefCertificate.isEmpty())
    throw Exception(QStringLiteral("Opcja --klucz wymaga opcji --certyfikat"));
  return request;
}
