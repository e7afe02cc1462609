#include "CliArguments.h"

#include "settings/Settings.h"

#include <algorithm>
#include <iterator>

namespace {

const QString ReferenceOption = QStringLiteral("--referencja");
const QString MPPOption = QStringLiteral("--mpp");
const QString NoMPPOption = QStringLiteral("--bez-mpp");
const QString StrictOption = QStringLiteral("--scisle");
const QString FromOption = QStringLiteral("--od");
const QString ToOption = QStringLiteral("--do");
const QString SearchOption = QStringLiteral("--szukaj");
const QString CsvOption = QStringLiteral("--csv");
const QString WithdrawOption = QStringLiteral("--wycofaj");
const QString RestoreOption = QStringLiteral("--przywroc");

TCliCommand CommandOfName(const QString &name) {
  if (name == QStringLiteral("faktura"))
    return TCliCommand::Single;
  if (name == QStringLiteral("paczka"))
    return TCliCommand::Batch;
  if (name == QStringLiteral("videotel"))
    return TCliCommand::VideoTel;
  if (name == QStringLiteral("pdf"))
    return TCliCommand::Pdf;
  if (name == QStringLiteral("wyslij"))
    return TCliCommand::SendToAuthor;
  if (name == QStringLiteral("historia"))
    return TCliCommand::History;
  throw Exception(QStringLiteral("Nieznane polecenie: %1").arg(name));
}

TMPPFormat FormatOfName(const QString &name) {
  for (TMPPFormat format :
       {TMPPFormat::None, TMPPFormat::Ustrd, TMPPFormat::Structured, TMPPFormat::Both, TMPPFormat::Standard})
    if (QString::compare(name, TSettings::MPPFormatToString(format), Qt::CaseInsensitive) == 0)
      return format;
  throw Exception(
      QStringLiteral("Nieznany format MPP: %1 (dozwolone: None, Ustrd, Structured, Both, Standard)").arg(name));
}

QString MissingInputName(TCliCommand command) {
  switch (command) {
  case TCliCommand::Single:
  case TCliCommand::Pdf: return QStringLiteral("PLIK.xml");
  case TCliCommand::Batch: return QStringLiteral("KATALOG");
  case TCliCommand::SendToAuthor: return QStringLiteral("PLIK");
  default: return QStringLiteral("PLIK.imp");
  }
}

// An option given as "--name value" or "--name=value".
struct TOption {
  QString Name;
  std::optional<QString> Value;
};

TOption SplitOption(const QString &argument) {
  const qsizetype equals = argument.indexOf(u'=');
  if (equals < 0)
    return {argument, std::nullopt};
  return {argument.left(equals), argument.mid(equals + 1)};
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

QDate DateOfOption(const QString &option, const QString &text) {
  const QDate date = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
  if (!date.isValid())
    throw Exception(QStringLiteral("Opcja %1 wymaga daty w postaci RRRR-MM-DD: %2").arg(option, text));
  return date;
}

std::int64_t FileIdOfOption(const QString &option, const QString &text) {
  bool ok = false;
  const qlonglong id = text.toLongLong(&ok);
  if (!ok || id <= 0 || text.startsWith(u'+'))
    throw Exception(
        QStringLiteral("Opcja %1 wymaga numeru pliku z kolumny Nr polecenia historia: %2").arg(option, text));
  return id;
}

} // namespace

TCliRequest ParseCliArguments(const QStringList &arguments) {
  if (arguments.value(0) == QStringLiteral("biala-lista"))
    return ParseWhiteListArguments(arguments.mid(1));
  TCliRequest request;
  QStringList positional;
  std::optional<QString> reference;
  std::optional<QString> mppFormat;
  bool noMPP = false;
  bool strict = false;
  bool csv = false;
  std::optional<QString> from;
  std::optional<QString> to;
  std::optional<QString> search;
  std::optional<QString> withdraw;
  std::optional<QString> restore;
  bool optionsEnded = false;

  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString &argument = arguments[i];
    if (optionsEnded || !argument.startsWith(u'-') || argument == QStringLiteral("-")) {
      positional.append(argument);
      continue;
    }
    if (argument == QStringLiteral("--")) {
      optionsEnded = true;
      continue;
    }
    if (argument == QStringLiteral("--help") || argument == QStringLiteral("-h")) {
      request.Command = TCliCommand::Help;
      return request;
    }
    if (argument == QStringLiteral("--version")) {
      request.Command = TCliCommand::Version;
      return request;
    }
    TOption option = SplitOption(argument);
    if ((option.Name == NoMPPOption || option.Name == StrictOption || option.Name == CsvOption) && !option.Value) {
      bool &flag = option.Name == NoMPPOption ? noMPP : option.Name == StrictOption ? strict : csv;
      if (flag)
        throw Exception(QStringLiteral("Opcja %1 została podana więcej niż raz").arg(option.Name));
      flag = true;
      continue;
    }
    std::optional<QString> *const valueOf[] = {&reference, &mppFormat, &from, &to, &search, &withdraw, &restore};
    const QString valueOptions[] = {ReferenceOption, MPPOption,      FromOption,   ToOption,
                                    SearchOption,    WithdrawOption, RestoreOption};
    const auto known = std::find(std::begin(valueOptions), std::end(valueOptions), option.Name);
    if (known == std::end(valueOptions))
      throw Exception(QStringLiteral("Nieznana opcja: %1").arg(argument));
    std::optional<QString> &target = *valueOf[known - std::begin(valueOptions)];
    if (target)
      throw Exception(QStringLiteral("Opcja %1 została podana więcej niż raz").arg(option.Name));
    if (!option.Value) {
      if (i + 1 >= arguments.size())
        throw Exception(QStringLiteral("Opcja %1 wymaga wartości").arg(option.Name));
      option.Value = arguments[++i];
    }
    target = option.Value;
  }

  if (positional.isEmpty())
    throw Exception(QStringLiteral("Brak polecenia (faktura, paczka, videotel, wyslij, pdf albo historia)"));
  const QString commandName = positional.takeFirst();
  request.Command = CommandOfName(commandName);
  const bool history = request.Command == TCliCommand::History;
  if (!history && (from || to || search || csv))
    throw Exception(QStringLiteral("Opcje %1, %2, %3 i %4 dotyczą tylko polecenia historia")
                        .arg(FromOption, ToOption, SearchOption, CsvOption));
  if (!history && (withdraw || restore))
    throw Exception(
        QStringLiteral("Opcje %1 i %2 dotyczą tylko polecenia historia").arg(WithdrawOption, RestoreOption));
  if (history) {
    if (!positional.isEmpty())
      throw Exception(QStringLiteral("Nadmiarowy argument: %1").arg(positional.first()));
    if (reference || mppFormat || noMPP || strict)
      throw Exception(QStringLiteral("Polecenie historia przyjmuje tylko opcje %1, %2, %3, %4, %5 i %6")
                          .arg(FromOption, ToOption, SearchOption, CsvOption, WithdrawOption, RestoreOption));
    if (withdraw && restore)
      throw Exception(QStringLiteral("Opcje %1 i %2 wykluczają się").arg(WithdrawOption, RestoreOption));
    if ((withdraw || restore) && (from || to || search || csv))
      throw Exception(
          QStringLiteral("Opcja %1 nie łączy się z opcjami %2, %3, %4 i %5")
              .arg(withdraw ? WithdrawOption : RestoreOption, FromOption, ToOption, SearchOption, CsvOption));
    if (withdraw)
      request.WithdrawFile = FileIdOfOption(WithdrawOption, *withdraw);
    if (restore)
      request.RestoreFile = FileIdOfOption(RestoreOption, *restore);
    if (from)
      request.History.From = DateOfOption(FromOption, *from);
    if (to)
      request.History.To = DateOfOption(ToOption, *to);
    if (from && to && *request.History.From > *request.History.To)
      throw Exception(QStringLiteral("Data opcji %1 jest późniejsza niż data opcji %2").arg(FromOption, ToOption));
    request.History.Search = search.value_or(QString());
    request.Csv = csv;
    return request;
  }
  const bool transfer = request.Command == TCliCommand::Single || request.Command == TCliCommand::Batch ||
                        request.Command == TCliCommand::VideoTel;
  if (positional.isEmpty())
    throw Exception(QStringLiteral("Brak argumentu %1").arg(MissingInputName(request.Command)));
  request.Input = positional.takeFirst();
  if (!positional.isEmpty())
    throw Exception(QStringLiteral("Nadmiarowy argument: %1").arg(positional.first()));

  if (reference && request.Command != TCliCommand::Single)
    throw Exception(QStringLiteral("Opcja %1 dotyczy tylko polecenia faktura").arg(ReferenceOption));
  if ((mppFormat || noMPP) && request.Command == TCliCommand::VideoTel)
    throw Exception(QStringLiteral("Polecenie videotel działa zawsze bez MPP; opcje %1 i %2 go nie dotyczą")
                        .arg(MPPOption, NoMPPOption));
  if ((mppFormat || noMPP) && !transfer)
    throw Exception(QStringLiteral("Opcje %1 i %2 nie dotyczą polecenia %3").arg(MPPOption, NoMPPOption, commandName));
  if (strict && !transfer)
    throw Exception(QStringLiteral("Opcja %1 nie dotyczy polecenia %2").arg(StrictOption, commandName));
  if (mppFormat && noMPP)
    throw Exception(QStringLiteral("Opcje %1 i %2 wykluczają się").arg(MPPOption, NoMPPOption));

  request.AdditionalReference = reference.value_or(QString());
  request.Strict = strict;
  if (mppFormat)
    request.MPP = TMPPSettings{true, FormatOfName(*mppFormat)};
  else if (noMPP)
    request.MPP = TMPPSettings{false, TMPPFormat::None};
  return request;
}

QString CliHelpText(const TAppPaths &paths) {
  return QStringLiteral("pavena-cli: pliki przelewów ISO 20022 (pain.001.001.09) z faktur KSeF i plików VideoTel,\n"
                        "podgląd faktury KSeF jako PDF\n"
                        "\n"
                        "Użycie:\n"
                        "  pavena-cli faktura PLIK.xml [--referencja TEKST] [--mpp FORMAT | --bez-mpp] [--scisle]\n"
                        "  pavena-cli paczka KATALOG [--mpp FORMAT | --bez-mpp] [--scisle]\n"
                        "  pavena-cli videotel PLIK.imp [--scisle]\n"
                        "  pavena-cli pdf PLIK.xml\n"
                        "  pavena-cli wyslij PLIK\n"
                        "  pavena-cli biala-lista wczytaj PLIK\n"
                        "  pavena-cli biala-lista pobierz [--data RRRRMMDD]\n"
                        "  pavena-cli biala-lista sprawdz NIP RACHUNEK [--data RRRRMMDD]\n"
                        "  pavena-cli historia [--od RRRR-MM-DD] [--do RRRR-MM-DD] [--szukaj TEKST] [--csv]\n"
                        "  pavena-cli historia --wycofaj NR | --przywroc NR\n"
                        "  pavena-cli --help\n"
                        "  pavena-cli --version\n"
                        "\n"
                        "Polecenia:\n"
                        "  faktura   plik przelewu dla jednej faktury zakupowej KSeF:\n"
                        "            PLIKI_DO_BANKU/Pain001.xml (z mechanizmem MPP: Pain001_MPP.xml)\n"
                        "  paczka    jeden plik przelewu dla wszystkich plików *.xml leżących bezpośrednio\n"
                        "            w katalogu: PLIKI_DO_BANKU/Pain001Paczka.xml (z MPP: Pain001Paczka_MPP.xml)\n"
                        "  videotel  plik przelewu z pliku w formacie VideoTel, zawsze bez MPP:\n"
                        "            PLIKI_DO_BANKU/Pain001VideoTel.xml\n"
                        "  pdf       faktura KSeF jako PDF (generator Velmira), zapisany obok pliku XML:\n"
                        "            z PLIK.xml powstaje PLIK.PDF; plik nie jest otwierany\n"
                        "  wyslij    wysyła plik (np. fakturę XML albo plik IMP, z którym jest kłopot) pocztą\n"
                        "            do autora programu; w treści nazwa i NIP płatnika z settings.ini\n"
                        "  biala-lista wczytaj  wczytuje plik płaski białej listy podatników VAT (RRRRMMDD.7z\n"
                        "            z Ministerstwa Finansów albo plik .json z niego) do katalogu BIALA_LISTA\n"
                        "  biala-lista pobierz  pobiera plik płaski dnia (domyślnie dzisiejszy) spod adresu\n"
                        "            [BialaLista] Adres= z settings.ini i wczytuje go\n"
                        "  biala-lista sprawdz  czy para NIP i rachunek figuruje w wykazie podatników VAT;\n"
                        "            kod wyjścia 0 - figuruje, 1 - nie figuruje, 2 - błędny NIP albo rachunek\n"
                        "  historia  płatności zapisane w historii (historia.sqlite), od najnowszych:\n"
                        "            data, odbiorca, NIP, numer faktury, numer KSeF, kwota, waluta, numer pliku\n"
                        "            przelewu (Nr), data wycofania i kopia pliku w PLIKI_DO_BANKU/archiwum\n"
                        "\n"
                        "Opcje:\n"
                        "  --referencja TEKST  dodatkowa własna referencja do przelewu (tylko faktura)\n"
                        "  --mpp FORMAT        mechanizm podzielonej płatności (MPP) w tym uruchomieniu;\n"
                        "                      FORMAT: None, Ustrd, Structured, Both albo Standard\n"
                        "                      (Standard: tytuł /VAT/…/IDC/…/INV/…/TXT/…, który banki\n"
                        "                      odczytują jako przelew MPP)\n"
                        "  --bez-mpp           bez mechanizmu podzielonej płatności w tym uruchomieniu\n"
                        "  --scisle            kod wyjścia 3, gdy plik przelewu zapisano z ostrzeżeniami\n"
                        "  --od RRRR-MM-DD     historia: płatności z plików zapisanych tego dnia i później\n"
                        "  --do RRRR-MM-DD     historia: płatności z plików zapisanych tego dnia i wcześniej\n"
                        "  --szukaj TEKST      historia: tylko płatności, których odbiorca, NIP, numer faktury\n"
                        "                      albo numer KSeF zawiera TEKST (wielkość liter bez znaczenia)\n"
                        "  --csv               historia jako CSV (średniki, UTF-8 ze znacznikiem BOM)\n"
                        "  --wycofaj NR        historia: plik przelewu nr NR nie trafił do banku (próba, plik\n"
                        "                      odrzucony albo zastąpiony poprawionym): jego płatności zostają\n"
                        "                      w historii jako wycofane i nie są już ostrzeżeniem \"już w pliku\"\n"
                        "  --przywroc NR       historia: cofa wycofanie pliku nr NR\n"
                        "  Bez --mpp i --bez-mpp obowiązuje wybór MPP zapisany w settings.ini.\n"
                        "  Żadna opcja nie zmienia pliku settings.ini.\n"
                        "\n"
                        "Każdy zapisany plik przelewu program sprawdza: ze schematem pain.001.001.09, numery\n"
                        "rachunków (IBAN), NIP i BIC, pusty plik, tę samą fakturę dwa razy, teksty ucięte do\n"
                        "długości pól, mechanizm podzielonej płatności, rachunki odbiorców z białą listą\n"
                        "podatników VAT (gdy wczytano plik płaski), a w historii płatności - czy ta sama\n"
                        "faktura nie jest już w dawniejszym pliku. Każde znalezisko to wiersz \"Uwaga: \"\n"
                        "na standardowym wyjściu błędów; plik zostaje zapisany.\n"
                        "\n"
                        "Katalog danych trzyma plik settings.ini (dane płatnika w sekcji [COMPANY]: Name, NIP,\n"
                        "IBAN, BIC, i wybór MPP), BANKI.INI i katalog PLIKI_DO_BANKU z plikami przelewów. Program\n"
                        "wybiera go przy każdym uruchomieniu:\n"
                        "  1. katalog wskazany zmienną środowiskową PAVENA_DIR, gdy jest ustawiona;\n"
                        "  2. w przeciwnym razie katalog programu, gdy wolno w nim zapisywać (kopia przenośna);\n"
                        "  3. w przeciwnym razie ~/.local/share/Pavena ($XDG_DATA_HOME/Pavena): program\n"
                        "     zainstalowany z pakietu; każdy użytkownik ma tam własne dane.\n"
                        "Katalog danych tego uruchomienia: %1\n"
                        "(%2).\n"
                        "\n"
                        "Kod wyjścia: 0 - plik zapisany (plik wysłany), 1 - konwersja (wysyłka)\n"
                        "nie powiodła się, 2 - błędne wywołanie, 3 - z opcją --scisle: plik przelewu\n"
                        "zapisany, ale z ostrzeżeniami \"Uwaga: \".")
      .arg(paths.AppDir, DataDirReason(paths));
}

QString CliUsageHint() {
  return QStringLiteral(
      "Użycie: pavena-cli faktura PLIK.xml [--referencja TEKST] [--mpp FORMAT | --bez-mpp] [--scisle]\n"
      "       pavena-cli paczka KATALOG [--mpp FORMAT | --bez-mpp] [--scisle]\n"
      "       pavena-cli videotel PLIK.imp [--scisle]\n"
      "       pavena-cli pdf PLIK.xml\n"
      "       pavena-cli wyslij PLIK\n"
      "       pavena-cli biala-lista wczytaj PLIK | pobierz [--data RRRRMMDD] |\n"
      "                              sprawdz NIP RACHUNEK [--data RRRRMMDD]\n"
      "       pavena-cli historia [--od RRRR-MM-DD] [--do RRRR-MM-DD] [--szukaj TEKST] [--csv]\n"
      "       pavena-cli historia --wycofaj NR | --przywroc NR\n"
      "Opis wszystkich opcji: pavena-cli --help");
}
