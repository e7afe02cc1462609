#include "CliCommandTable.h"

#include "ksefapi/KsefConnection.h"
#include "model/Exception.h"
#include "settings/Settings.h"

#include <algorithm>

namespace {

TMPPFormat FormatOfName(const QString &name) {
  for (TMPPFormat format :
       {TMPPFormat::None, TMPPFormat::Ustrd, TMPPFormat::Structured, TMPPFormat::Both, TMPPFormat::Standard})
    if (QString::compare(name, TSettings::MPPFormatToString(format), Qt::CaseInsensitive) == 0)
      return format;
  throw Exception(
      QStringLiteral("Nieznany format MPP: %1 (dozwolone: None, Ustrd, Structured, Both, Standard)").arg(name));
}

// Every date of the command line: RRRR-MM-DD, or RRRRMMDD as the Ministry names its files.
QDate DateOfOption(const QString &option, const QString &text) {
  const QDate date = text.size() == 10  ? QDate::fromString(text, QStringLiteral("yyyy-MM-dd"))
                     : text.size() == 8 ? QDate::fromString(text, QStringLiteral("yyyyMMdd"))
                                        : QDate();
  if (!date.isValid())
    throw Exception(
        QStringLiteral("Opcja %1 wymaga daty w postaci RRRR-MM-DD albo RRRRMMDD, a nie „%2”").arg(option, text));
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

std::optional<TDueStatus> DueStatusOfOption(const QString &option, const QString &text) {
  const std::pair<const char *, std::optional<TDueStatus>> statuses[] = {{"do-zaplaty", TDueStatus::ToPay},
                                                                         {"w-pliku", TDueStatus::InFile},
                                                                         {"poza-programem", TDueStatus::PaidOutside},
                                                                         {"nie-do-przelewu", TDueStatus::NotPayable},
                                                                         {"wszystkie", std::nullopt}};
  for (const auto &[name, status] : statuses)
    if (text == QLatin1StringView(name))
      return status;
  throw Exception(QStringLiteral("Opcja %1 przyjmuje do-zaplaty, w-pliku, poza-programem, nie-do-przelewu albo "
                                 "wszystkie, a nie „%2”")
                      .arg(option, text));
}

const QList<TCliOptionSpec> Options = {
    {QStringLiteral("--referencja"), QStringLiteral("TEKST"),
     QStringLiteral("dodatkowa własna referencja do przelewu (tylko faktura)"),
     [](TCliRequest &request, const QString &, const QString &value) { request.AdditionalReference = value; }},
    {QStringLiteral("--mpp"), QStringLiteral("FORMAT"),
     QStringLiteral("mechanizm podzielonej płatności (MPP) w tym uruchomieniu;\n"
                    "FORMAT: None, Ustrd, Structured, Both albo Standard\n"
                    "(Standard: tytuł /VAT/…/IDC/…/INV/…/TXT/…, który banki\n"
                    "odczytują jako przelew MPP; None: przelew MPP bez informacji\n"
                    "o płatności (RmtInf), więc bez kwoty VAT i numeru faktury,\n"
                    "których bank w przelewie MPP wymaga)"),
     [](TCliRequest &request, const QString &, const QString &value) {
       request.MPP = TMPPSettings{true, FormatOfName(value)};
     }},
    {QStringLiteral("--bez-mpp"), QString(), QStringLiteral("bez mechanizmu podzielonej płatności w tym uruchomieniu"),
     [](TCliRequest &request, const QString &, const QString &) {
       request.MPP = TMPPSettings{false, TMPPFormat::None};
     }},
    {QStringLiteral("--scisle"), QString(), QStringLiteral("kod wyjścia 3, gdy plik przelewu zapisano z ostrzeżeniami"),
     [](TCliRequest &request, const QString &, const QString &) { request.Strict = true; }},
    {QStringLiteral("--data"), QStringLiteral("RRRR-MM-DD"),
     QStringLiteral("biala-lista pobierz i sprawdz: dzień pliku płaskiego\n"
                    "(także RRRRMMDD, jak w nazwie pliku z Ministerstwa)"),
     [](TCliRequest &request, const QString &option, const QString &value) {
       request.Day = DateOfOption(option, value);
     }},
    {QStringLiteral("--od"), QStringLiteral("RRRR-MM-DD"),
     QStringLiteral("historia: płatności z plików zapisanych tego dnia i później;\n"
                    "ksef pobierz: faktury przyjęte przez KSeF od tego dnia (bez niej: od\n"
                    "miejsca, w którym skończyło się poprzednie pobieranie, a za pierwszym\n"
                    "razem od pierwszego dnia poprzedniego miesiąca);\n"
                    "ksef lista: faktury pobrane tego dnia i później"),
     [](TCliRequest &request, const QString &option, const QString &value) {
       request.History.From = DateOfOption(option, value);
     }},
    {QStringLiteral("--do"), QStringLiteral("RRRR-MM-DD"),
     QStringLiteral("historia: płatności z plików zapisanych tego dnia i wcześniej;\n"
                    "ksef pobierz: faktury przyjęte przez KSeF do tego dnia włącznie;\n"
                    "ksef lista: faktury pobrane tego dnia i wcześniej"),
     [](TCliRequest &request, const QString &option, const QString &value) {
       request.History.To = DateOfOption(option, value);
     }},
    {QStringLiteral("--szukaj"), QStringLiteral("TEKST"),
     QStringLiteral("historia: tylko płatności, których odbiorca, NIP, numer faktury\n"
                    "albo numer KSeF zawiera TEKST (wielkość liter bez znaczenia)"),
     [](TCliRequest &request, const QString &, const QString &value) { request.History.Search = value; }},
    {QStringLiteral("--csv"), QString(),
     QStringLiteral("historia, ksef lista i do-zaplaty jako CSV (średniki, UTF-8\nze znacznikiem BOM)"),
     [](TCliRequest &request, const QString &, const QString &) { request.Csv = true; }},
    {QStringLiteral("--wycofaj"), QStringLiteral("NR"),
     QStringLiteral("historia: plik przelewu nr NR nie trafił do banku (próba, plik\n"
                    "odrzucony albo zastąpiony poprawionym): jego płatności zostają\n"
                    "w historii jako wycofane i nie są już ostrzeżeniem \"już w pliku\";\n"
                    "nic nie jest usuwane"),
     [](TCliRequest &request, const QString &option, const QString &value) {
       request.WithdrawFile = FileIdOfOption(option, value);
     }},
    {QStringLiteral("--przywroc"), QStringLiteral("NR"), QStringLiteral("historia: cofa wycofanie pliku nr NR"),
     [](TCliRequest &request, const QString &option, const QString &value) {
       request.RestoreFile = FileIdOfOption(option, value);
     }},
    {QStringLiteral("--srodowisko"), QStringLiteral("NAZWA"),
     QStringLiteral("ksef pobierz: środowisko KSeF w tym uruchomieniu: testowe, demo albo\n"
                    "produkcyjne (bez niej: [KSeF] Srodowisko= z settings.ini, domyślnie\n"
                    "produkcyjne); ksef lista: faktury pobrane z tego środowiska (bez niej:\n"
                    "z tego z settings.ini)"),
     [](TCliRequest &request, const QString &option, const QString &value) {
       if (!KsefEnvironmentNames().contains(value))
         throw Exception(QStringLiteral("Opcja %1 wymaga nazwy środowiska KSeF: %2, a nie „%3”")
                             .arg(option, JoinOr(KsefEnvironmentNames()), value));
       request.KsefEnvironment = value;
     }},
    {QStringLiteral("--certyfikat"), QStringLiteral("PLIK"),
     QStringLiteral("ksef pobierz: logowanie certyfikatem KSeF, pieczęcią albo podpisem\n"
                    "kwalifikowanym: certyfikat PEM (z --klucz) albo plik PKCS#12 (.p12, .pfx);\n"
                    "hasło klucza ze zmiennej PAVENA_KSEF_HASLO albo, w terminalu, z pytania"),
     [](TCliRequest &request, const QString &, const QString &value) { request.KsefCertificate = value; }},
    {QStringLiteral("--klucz"), QStringLiteral("PLIK"),
     QStringLiteral("ksef pobierz: klucz prywatny PEM certyfikatu z --certyfikat"),
     [](TCliRequest &request, const QString &, const QString &value) { request.KsefKey = value; }},
    {QStringLiteral("--token-plik"), QStringLiteral("PLIK"),
     QStringLiteral("ksef pobierz: logowanie tokenem KSeF zapisanym w pliku; bez tej opcji\n"
                    "i bez --certyfikat: token ze zmiennej PAVENA_KSEF_TOKEN albo certyfikat\n"
                    "z settings.ini ([KSeF] Certyfikat=, Klucz=); plik z tokenem albo kluczem\n"
                    "musi być dostępny tylko dla właściciela (chmod 600)"),
     [](TCliRequest &request, const QString &, const QString &value) { request.KsefTokenFile = value; }},
    // do-zaplaty
    {QStringLiteral("--termin-do"), QStringLiteral("RRRR-MM-DD"),
     QStringLiteral("do-zaplaty: faktury z terminem płatności tego dnia i wcześniej\n"
                    "(oraz bez terminu)"),
     [](TCliRequest &request, const QString &option, const QString &value) {
       request.Due.DueUpTo = DateOfOption(option, value);
     }},
    {QStringLiteral("--status"), QStringLiteral("STATUS"),
     QStringLiteral("do-zaplaty: tylko faktury o statusie do-zaplaty, w-pliku,\n"
                    "poza-programem albo nie-do-przelewu; wszystkie (domyślnie): każde"),
     [](TCliRequest &request, const QString &option, const QString &value) {
       request.Due.Status = DueStatusOfOption(option, value);
     }},
    {QStringLiteral("--utworz"), QString(),
     QStringLiteral("do-zaplaty: jeden plik przelewów (jak paczka) z faktur do zapłaty\n"
                    "z terminem do dnia --termin-do albo o numerach --ksef; pomija\n"
                    "pozostałe, mówiąc dlaczego; nic nie zapisuje, gdy któraś jest\n"
                    "już w pliku przelewów"),
     [](TCliRequest &request, const QString &, const QString &) { request.CreateDueTransfer = true; }},
    {QStringLiteral("--ksef"), QStringLiteral("NUMER..."),
     QStringLiteral("do-zaplaty --utworz: faktura o tym numerze KSeF (opcję można\npowtórzyć)"),
     [](TCliRequest &request, const QString &, const QString &value) { request.DueKsefNumbers.append(value); }, true},
    {QStringLiteral("--oznacz-zaplacona"), QStringLiteral("NUMER"),
     QStringLiteral("do-zaplaty: faktura o numerze KSeF NUMER zapłacona poza programem"),
     [](TCliRequest &request, const QString &, const QString &value) { request.MarkPaidOutside = value; }},
    {QStringLiteral("--notatka"), QStringLiteral("TEKST"),
     QStringLiteral("do-zaplaty --oznacz-zaplacona: notatka do oznaczenia"),
     [](TCliRequest &request, const QString &, const QString &value) { request.Note = value; }},
    {QStringLiteral("--cofnij"), QStringLiteral("NUMER"),
     QStringLiteral("do-zaplaty: cofa oznaczenie faktury NUMER jako zapłaconej"),
     [](TCliRequest &request, const QString &, const QString &value) { request.UndoPaidOutside = value; }},
};

const TCliOptionGroup SplitPayment{{QStringLiteral("--mpp"), QStringLiteral("--bez-mpp")}};
const TCliOptionGroup Strict{{QStringLiteral("--scisle")}};
const TCliOptionGroup Day{{QStringLiteral("--data")}};
const TCliOptionGroup From{{QStringLiteral("--od")}};
const TCliOptionGroup To{{QStringLiteral("--do")}};
const TCliOptionGroup Csv{{QStringLiteral("--csv")}};

const QList<TCliCommandSpec> Commands = {
    {QStringLiteral("faktura"),
     TCliCommand::Single,
     {QStringLiteral("PLIK.xml")},
     {{TCliOptionGroup{{QStringLiteral("--referencja")}}, SplitPayment, Strict}},
     QStringLiteral("plik przelewu dla jednej faktury zakupowej KSeF:\n"
                    "PLIKI_DO_BANKU/Pain001.xml (z mechanizmem MPP: Pain001_MPP.xml)"),
     {}},
    {QStringLiteral("paczka"),
     TCliCommand::Batch,
     {QStringLiteral("KATALOG")},
     {{SplitPayment, Strict}},
     QStringLiteral("jeden plik przelewu dla wszystkich plików *.xml leżących bezpośrednio\n"
                    "w katalogu: PLIKI_DO_BANKU/Pain001Paczka.xml (z MPP: Pain001Paczka_MPP.xml),\n"
                    "w kolejności nazw; pierwsza błędna faktura przerywa paczkę i nic nie jest zapisywane"),
     {}},
    {QStringLiteral("videotel"),
     TCliCommand::VideoTel,
     {QStringLiteral("PLIK.imp")},
     {{Strict}},
     QStringLiteral("plik przelewu z pliku w formacie VideoTel, zawsze bez MPP:\n"
                    "PLIKI_DO_BANKU/Pain001VideoTel.xml"),
     {}},
    {QStringLiteral("pdf"),
     TCliCommand::Pdf,
     {QStringLiteral("PLIK.xml")},
     {{}},
     QStringLiteral("faktura KSeF jako PDF (generator Velmira), zapisany obok pliku XML:\n"
                    "z PLIK.xml powstaje PLIK.PDF; plik nie jest otwierany"),
     {}},
    {QStringLiteral("wyslij"),
     TCliCommand::SendToAuthor,
     {QStringLiteral("PLIK")},
     {{}},
     QStringLiteral("wysyła plik (np. fakturę XML albo plik IMP, z którym jest kłopot) pocztą\n"
                    "do autora programu; w treści nazwa i NIP płatnika z settings.ini; program\n"
                    "zbudowany bez ustawień serwera pocztowego mówi o tym i nigdzie się nie łączy"),
     {}},
    {QStringLiteral("biala-lista wczytaj"),
     TCliCommand::WhiteListLoad,
     {QStringLiteral("PLIK")},
     {{}},
     QStringLiteral("wczytuje plik płaski białej listy podatników VAT (RRRRMMDD.7z\n"
                    "z Ministerstwa Finansów albo plik .json z niego) do katalogu BIALA_LISTA;\n"
                    "dane starsze od najnowszych o 7 dni lub więcej są usuwane i nie są wczytywane"),
     {}},
    {QStringLiteral("biala-lista pobierz"),
     TCliCommand::WhiteListDownload,
     {},
     {{Day}},
     QStringLiteral("pobiera plik płaski dnia (domyślnie dzisiejszy) spod adresu\n"
                    "[BialaLista] Adres= z settings.ini i wczytuje go"),
     {}},
    {QStringLiteral("biala-lista sprawdz"),
     TCliCommand::WhiteListCheck,
     {QStringLiteral("NIP"), QStringLiteral("RACHUNEK")},
     {{Day}},
     QStringLiteral("czy para NIP i rachunek figuruje w wykazie podatników VAT\n"
                    "według pliku płaskiego dnia (domyślnie dzisiejszego), a bez niego według\n"
                    "najnowszego wcześniejszego, nigdy późniejszego"),
     {{0, QStringLiteral("figuruje")},
      {1, QStringLiteral("nie figuruje (albo nie sprawdzono)")},
      {2, QStringLiteral("błędny NIP albo rachunek, albo błędne wywołanie")}}},
    {QStringLiteral("historia"),
     TCliCommand::History,
     {},
     {{From, To, TCliOptionGroup{{QStringLiteral("--szukaj")}}, Csv},
      {TCliOptionGroup{{QStringLiteral("--wycofaj"), QStringLiteral("--przywroc")}, false}}},
     QStringLiteral("płatności zapisane w historii (historia.sqlite), od najnowszych:\n"
                    "data, odbiorca, NIP, numer faktury, numer KSeF, kwota, waluta, numer pliku\n"
                    "przelewu (Nr), data wycofania i kopia pliku w PLIKI_DO_BANKU/archiwum"),
     {{0, QStringLiteral("historia wypisana (plik wycofany, przywrócony)")},
      {1, QStringLiteral("nie powiodło się")},
      {2, QStringLiteral("błędne wywołanie")}}},
    {QStringLiteral("ksef pobierz"),
     TCliCommand::KsefDownload,
     {},
     {{From, To, TCliOptionGroup{{QStringLiteral("--srodowisko")}},
       TCliOptionGroup{{QStringLiteral("--certyfikat"), QStringLiteral("--token-plik")}},
       TCliOptionGroup{{QStringLiteral("--klucz")}}}},
     QStringLiteral("pobiera z KSeF faktury zakupu płatnika (NIP z settings.ini) do katalogu\n"
                    "FAKTURY_KSEF (z testowego i demo: FAKTURY_KSEF_testowe, FAKTURY_KSEF_demo),\n"
                    "każdą jako <numer KSeF>.xml, i zapisuje je w historii;\n"
                    "wypisuje numer KSeF, sprzedawcę, numer i kwotę brutto każdej nowej faktury;\n"
                    "następne pobieranie zaczyna się tam, gdzie skończyło się poprzednie"),
     {{0, QStringLiteral("pobrano (także: nic nowego)")},
      {1, QStringLiteral("pobieranie nie powiodło się")},
      {2, QStringLiteral("błędne wywołanie")}}},
    {QStringLiteral("ksef lista"),
     TCliCommand::KsefList,
     {},
     {{From, To, TCliOptionGroup{{QStringLiteral("--srodowisko")}}, Csv}},
     QStringLiteral("faktury pobrane z jednego środowiska KSeF zapisane w historii, od\n"
                    "najnowszych: czas pobrania, numer KSeF, NIP i nazwa sprzedawcy, numer\n"
                    "faktury, data wystawienia, kwota brutto, waluta i plik; sumy tylko z tego\n"
                    "środowiska"),
     {{0, QStringLiteral("lista wypisana")},
      {1, QStringLiteral("nie powiodło się")},
      {2, QStringLiteral("błędne wywołanie")}}},
    {QStringLiteral("do-zaplaty"),
     TCliCommand::DueInvoices,
     {},
     {{TCliOptionGroup{{QStringLiteral("--termin-do")}}, TCliOptionGroup{{QStringLiteral("--status")}},
       TCliOptionGroup{{QStringLiteral("--csv")}}},
      {TCliOptionGroup{{QStringLiteral("--utworz")}, false},
       TCliOptionGroup{{QStringLiteral("--termin-do"), QStringLiteral("--ksef")}, false}, SplitPayment, Strict},
      {TCliOptionGroup{{QStringLiteral("--oznacz-zaplacona")}, false}, TCliOptionGroup{{QStringLiteral("--notatka")}}},
      {TCliOptionGroup{{QStringLiteral("--cofnij")}, false}}},
     QStringLiteral("faktury zakupowe pobrane z KSeF (z historii i z FAKTURY_KSEF) według terminu\n"
                    "płatności: termin, sprzedawca, NIP, numer faktury, numer KSeF, brutto, do\n"
                    "zapłaty, waluta i status (do zapłaty, w pliku PLIK DATA, zapłacona poza\n"
                    "programem, nie do przelewu: powód); na końcu suma do zapłaty w każdej walucie"),
     {}},
};

const QList<TCliOptionSpec> ProgramOptions = {
    {QStringLiteral("--help"), QString(),
     QStringLiteral("ten opis i wyjście; po poleceniu (pavena-cli historia --help):\nopis tego polecenia"), nullptr},
    {QStringLiteral("--version"), QString(), QStringLiteral("wersja programu i wyjście"), nullptr},
};

const QList<TCliExitCode> ExitCodes = {
    {0, QStringLiteral("plik zapisany (plik wysłany)")},
    {1, QStringLiteral("konwersja (wysyłka) nie powiodła się")},
    {2, QStringLiteral("błędne wywołanie")},
    {3, QStringLiteral("z opcją --scisle: plik przelewu zapisany, ale z ostrzeżeniami \"Uwaga: \"")},
};

QString Join(const QStringList &items, const QString &last) {
  if (items.size() < 2)
    return items.value(0);
  return items.first(items.size() - 1).join(QStringLiteral(", ")) + u' ' + last + u' ' + items.last();
}

} // namespace

const QList<TCliCommandSpec> &CliCommands() { return Commands; }

const QList<TCliOptionSpec> &CliOptions() { return Options; }

const TCliOptionSpec *FindCliOption(const QString &name) {
  const auto found =
      std::find_if(Options.begin(), Options.end(), [&](const TCliOptionSpec &option) { return option.Name == name; });
  return found == Options.end() ? nullptr : &*found;
}

const QList<TCliOptionSpec> &CliProgramOptions() { return ProgramOptions; }

const QList<TCliExitCode> &CliExitCodes() { return ExitCodes; }

QString ExitCodesText(const QList<TCliExitCode> &codes) {
  QStringList parts;
  for (const TCliExitCode &code : codes)
    parts.append(QStringLiteral("%1 - %2").arg(code.Status).arg(code.Meaning));
  return parts.join(QStringLiteral(", "));
}

QString CliSummary() {
  return QStringLiteral("pliki przelewów ISO 20022 (pain.001.001.09) z faktur KSeF i plików VideoTel,\n"
                        "podgląd faktury KSeF jako PDF, pobieranie faktur zakupu z KSeF");
}

QString CliOptionsNote() {
  return QStringLiteral("Bez --mpp i --bez-mpp obowiązuje wybór MPP zapisany w settings.ini.\n"
                        "Żadna opcja nie zmienia pliku settings.ini.");
}

QString CliChecksNote() {
  return QStringLiteral("Każdy zapisany plik przelewu program sprawdza: ze schematem pain.001.001.09, numery\n"
                        "rachunków (IBAN), NIP i BIC, pusty plik, tę samą fakturę dwa razy, teksty ucięte do\n"
                        "długości pól, mechanizm podzielonej płatności, rachunki odbiorców z białą listą\n"
                        "podatników VAT (gdy wczytano plik płaski; plik VideoTel nie podaje NIP odbiorców,\n"
                        "więc jego rachunków nie sprawdza i mówi o tym), a w historii płatności - czy ta sama\n"
                        "faktura nie jest już w dawniejszym pliku. Każde znalezisko to wiersz \"Uwaga: \"\n"
                        "na standardowym wyjściu błędów; plik zostaje zapisany.");
}

QList<const TCliCommandSpec *> CommandsOfTopic(const QString &topic) {
  QList<const TCliCommandSpec *> commands;
  for (const TCliCommandSpec &command : Commands)
    if (topic.isEmpty() || command.Name == topic || command.Name.startsWith(topic + u' '))
      commands.append(&command);
  return commands;
}

QStringList FormOptionNames(const TCliForm &form) {
  QStringList names;
  for (const TCliOptionGroup &group : form)
    names += group.Options;
  return names;
}

QStringList CommandOptionNames(const TCliCommandSpec &command) {
  QStringList names;
  for (const TCliForm &form : command.Forms)
    names += FormOptionNames(form);
  // An option of two forms (--termin-do) is named once.
  names.removeDuplicates();
  return names;
}

QList<QList<TCliUsageToken>> CliUsage(const TCliCommandSpec &command) {
  using TKind = TCliUsageToken::TKind;
  QList<QList<TCliUsageToken>> lines;
  for (const TCliForm &form : command.Forms) {
    QList<TCliUsageToken> line{{TKind::Literal, command.Name}};
    for (const QString &argument : command.Arguments)
      line.append({TKind::Value, argument});
    for (const TCliOptionGroup &group : form) {
      if (group.Optional)
        line.append({TKind::Punctuation, QStringLiteral("[")});
      for (const QString &name : group.Options) {
        if (name != group.Options.first())
          line.append({TKind::Punctuation, QStringLiteral("|")});
        line.append({TKind::Literal, name});
        if (const TCliOptionSpec *option = FindCliOption(name); !option->ValueName.isEmpty())
          line.append({TKind::Value, option->ValueName});
      }
      if (group.Optional)
        line.append({TKind::Punctuation, QStringLiteral("]")});
    }
    lines.append(line);
  }
  return lines;
}

QString UsageText(const QList<TCliUsageToken> &tokens, QString (*shown)(const TCliUsageToken &)) {
  QString text;
  for (qsizetype i = 0; i < tokens.size(); ++i) {
    // Brackets hug what they enclose.
    const bool glued = i > 0 && (tokens[i - 1].Text == QStringLiteral("[") || tokens[i].Text == QStringLiteral("]"));
    if (i > 0 && !glued)
      text += u' ';
    text += shown ? shown(tokens[i]) : tokens[i].Text;
  }
  return text;
}

QString JoinAnd(const QStringList &items) { return Join(items, QStringLiteral("i")); }

QString JoinOr(const QStringList &items) { return Join(items, QStringLiteral("albo")); }
