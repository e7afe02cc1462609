#include "CliArguments.h"

namespace {

const QString DayOption = QStringLiteral("--data");

// RRRR-MM-DD as everywhere else, or RRRRMMDD as the Ministry names its files.
QDate DayOfOption(const QString &value) {
  const QDate day = value.size() == 10  ? QDate::fromString(value, QStringLiteral("yyyy-MM-dd"))
                    : value.size() == 8 ? QDate::fromString(value, QStringLiteral("yyyyMMdd"))
                                        : QDate();
  if (!day.isValid())
    throw Exception(
        QStringLiteral("Opcja %1 wymaga daty w postaci RRRR-MM-DD albo RRRRMMDD, a nie „%2”").arg(DayOption, value));
  return day;
}

} // namespace

TCliRequest ParseWhiteListArguments(const QStringList &arguments) {
  TCliRequest request;
  QStringList positional;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString &argument = arguments[i];
    if (!argument.startsWith(QStringLiteral("--"))) {
      positional.append(argument);
      continue;
    }
    QString value;
    if (argument.startsWith(DayOption + u'='))
      value = argument.mid(DayOption.size() + 1);
    else if (argument == DayOption) {
      if (i + 1 >= arguments.size())
        throw Exception(QStringLiteral("Opcja %1 wymaga wartości").arg(DayOption));
      value = arguments[++i];
    } else
      throw Exception(QStringLiteral("Nieznana opcja: %1").arg(argument));
    if (request.Day)
      throw Exception(QStringLiteral("Opcja %1 została podana więcej niż raz").arg(DayOption));
    request.Day = DayOfOption(value);
  }

  if (positional.isEmpty())
    throw Exception(QStringLiteral("Brak polecenia białej listy (wczytaj, pobierz albo sprawdz)"));
  const QString name = positional.takeFirst();
  QStringList expected;
  if (name == QStringLiteral("wczytaj")) {
    request.Command = TCliCommand::WhiteListLoad;
    expected = {QStringLiteral("PLIK")};
  } else if (name == QStringLiteral("pobierz"))
    request.Command = TCliCommand::WhiteListDownload;
  else if (name == QStringLiteral("sprawdz")) {
    request.Command = TCliCommand::WhiteListCheck;
    expected = {QStringLiteral("NIP"), QStringLiteral("RACHUNEK")};
  } else
    throw Exception(QStringLiteral("Nieznane polecenie białej listy: %1").arg(name));
  if (positional.size() < expected.size())
    throw Exception(QStringLiteral("Brak argumentu %1").arg(expected[positional.size()]));
  if (positional.size() > expected.size())
    throw Exception(QStringLiteral("Nadmiarowy argument: %1").arg(positional[expected.size()]));
  if (request.Day && request.Command == TCliCommand::WhiteListLoad)
    throw Exception(
        QStringLiteral("Opcja %1 nie dotyczy polecenia biala-lista wczytaj: data jest w pliku").arg(DayOption));
  request.Input = positional.value(0);
  request.Account = positional.value(1);
  return request;
}
