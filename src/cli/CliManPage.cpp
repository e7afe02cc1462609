#include "CliManPage.h"

#include "CliCommandTable.h"

namespace {

// Text as roff prints it: a backslash and a hyphen-minus as typed, nothing taken for a request.
QString Roff(const QString &text) {
  QString escaped = text;
  escaped.replace(u'\\', QStringLiteral("\\e")).replace(u'-', QStringLiteral("\\-"));
  QStringList lines = escaped.split(u'\n');
  for (QString &line : lines)
    if (line.startsWith(u'.') || line.startsWith(u'\''))
      line.prepend(QStringLiteral("\\&"));
  return lines.join(u'\n');
}

// Help text broken for the terminal, as one paragraph of roff.
QString Paragraph(const QString &text) { return Roff(text.split(u'\n').join(u' ')) + u'\n'; }

QString Bold(const QString &text) { return QStringLiteral("\\fB") + Roff(text) + QStringLiteral("\\fR"); }

QString Shown(const TCliUsageToken &token) {
  switch (token.Kind) {
  case TCliUsageToken::TKind::Literal: return Bold(token.Text);
  case TCliUsageToken::TKind::Value: return QStringLiteral("\\fI") + Roff(token.Text) + QStringLiteral("\\fR");
  case TCliUsageToken::TKind::Punctuation: break;
  }
  return Roff(token.Text);
}

QString OptionTag(const TCliOptionSpec &option) {
  return option.ValueName.isEmpty() ? Bold(option.Name)
                                    : Shown({TCliUsageToken::TKind::Literal, option.Name}) + u' ' +
                                          Shown({TCliUsageToken::TKind::Value, option.ValueName});
}

QString Synopsis() {
  const QString program = Bold(QStringLiteral("pavena-cli"));
  QStringList lines;
  for (const TCliCommandSpec &command : CliCommands())
    for (const QList<TCliUsageToken> &usage : CliUsage(command))
      lines.append(program + u' ' + UsageText(usage, Shown));
  lines.append(program + u' ' + Bold(QStringLiteral("--help")));
  lines.append(program + QStringLiteral(" \\fIPOLECENIE\\fR ") + Bold(QStringLiteral("--help")));
  lines.append(program + u' ' + Bold(QStringLiteral("--version")));
  return lines.join(QStringLiteral("\n.br\n")) + u'\n';
}

QString Commands() {
  QString text;
  for (const TCliCommandSpec &command : CliCommands()) {
    text += QStringLiteral(".TP\n") + Bold(command.Name) + u'\n' + Paragraph(command.Help);
    if (!command.OwnExitCodes.isEmpty())
      text += QStringLiteral(".br\n") +
              Paragraph(QStringLiteral("Kod wyjścia: ") + ExitCodesText(command.OwnExitCodes) + u'.');
  }
  return text;
}

QString Options() {
  QString text;
  for (const QList<TCliOptionSpec> *options : {&CliOptions(), &CliProgramOptions()})
    for (const TCliOptionSpec &option : *options)
      text += QStringLiteral(".TP\n") + OptionTag(option) + u'\n' + Paragraph(option.Help);
  return text + QStringLiteral(".PP\n") + Paragraph(CliOptionsNote());
}

QString ExitCodes() {
  QString text;
  for (const TCliExitCode &code : CliExitCodes())
    text += QStringLiteral(".TP\n.B %1\n").arg(code.Status) + Paragraph(code.Meaning);
  return text;
}

} // namespace

QString CliManPage(const QString &version, const QString &date) {
  return QStringLiteral(".\\\" pavena-cli(1), written when the program is built from its table of commands.\n"
                        ".\\\" The NAME section is in English, so that whatis and apropos find it.\n"
                        ".TH PAVENA-CLI 1 \"%1\" \"Pavena %2\" \"Polecenia użytkownika\"\n"
                        ".\\\" Polish words broken by English rules would be broken wrongly.\n"
                        ".nh\n"
                        ".SH NAME\n"
                        "pavena-cli \\- ISO 20022 credit transfers from KSeF invoices and VideoTel files (command "
                        "line)\n"
                        ".SH SKŁADNIA\n")
             .arg(date, version) +
         Synopsis() +
         QStringLiteral(".SH OPIS\n"
                        ".B pavena-cli\n"
                        "wykonuje z wiersza poleceń te same przekształcenia co okno programu\n"
                        ".BR pavena (1):\n"
                        "z faktur zakupowych KSeF (FA(2), FA(3)) i z plików VideoTel tworzy pliki przelewów\n"
                        "ISO 20022 pain.001.001.09 do zaimportowania w programie banku, także z mechanizmem\n"
                        "podzielonej płatności (MPP). Nie otwiera żadnego okna ani pliku.\n"
                        ".PP\n") +
         Paragraph(CliChecksNote()) + QStringLiteral(".SH POLECENIA\n") + Commands() + QStringLiteral(".SH OPCJE\n") +
         Options() + QStringLiteral(".SH KOD WYJŚCIA\n") + ExitCodes() +
         QStringLiteral(".SH ŚRODOWISKO\n"
                        ".TP\n"
                        ".B PAVENA_DIR\n"
                        "katalog danych programu. Bez tej zmiennej jest nim katalog programu, gdy da się w nim\n"
                        "zapisywać (kopia przenośna), a w przeciwnym razie\n"
                        ".I ~/.local/share/Pavena\n"
                        ".RI ( $XDG_DATA_HOME/Pavena ),\n"
                        "jak w zainstalowanym pakiecie.\n"
                        ".SH PLIKI\n"
                        ".TP\n"
                        ".I settings.ini\n"
                        "dane płatnika (sekcja [COMPANY]: Name, NIP, IBAN, BIC) i wybór MPP, w katalogu danych.\n"
                        ".TP\n"
                        ".I BANKI.INI\n"
                        "rejestr rachunków bankowych płatnika, w katalogu danych.\n"
                        ".TP\n"
                        ".I PLIKI_DO_BANKU/\n"
                        "pliki przelewów dla banku, w katalogu danych; następne przekształcenie tego samego rodzaju\n"
                        "zastępuje plik; ich kopie w\n"
                        ".IR PLIKI_DO_BANKU/archiwum/ .\n"
                        ".TP\n"
                        ".I historia.sqlite\n"
                        "historia płatności, w katalogu danych.\n"
                        ".TP\n"
                        ".I BIALA_LISTA/\n"
                        "wczytane pliki płaskie białej listy podatników VAT, w katalogu danych.\n"
                        ".TP\n"
                        ".I /usr/lib/pavena/OpisPrzelewyISO20022.pdf\n"
                        "instrukcja programu.\n"
                        ".SH ZOBACZ TAKŻE\n"
                        ".BR pavena (1)\n");
}
