#include "TestSupport.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

// pavena-cli --help, the manual page pavena-cli(1) the package installs, README and the
// manual say the same commands and options.

namespace {

struct TOutput {
  QString Out;
  QString Err;
};

TOutput RunProgram(const QString &program, const QStringList &arguments, const QProcessEnvironment &environment) {
  QProcess process;
  process.setProcessEnvironment(environment);
  process.start(program, arguments);
  if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
    ADD_FAILURE() << program.toStdString() << " failed: " << process.readAllStandardError().toStdString();
    return {};
  }
  return {QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

QString ReadText(const QString &path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    ADD_FAILURE() << "cannot read " << path.toStdString();
    return {};
  }
  return QString::fromUtf8(file.readAll());
}

// The lines of `text` after the line `heading` up to the first line that `ends` says ends it.
QStringList LinesAfter(const QString &text, const QString &heading, bool (*ends)(const QString &line)) {
  const QStringList lines = text.split(u'\n');
  const qsizetype start = lines.indexOf(heading);
  if (start < 0) {
    ADD_FAILURE() << "no line " << heading.toStdString();
    return {};
  }
  QStringList section;
  for (qsizetype i = start + 1; i < lines.size() && !ends(lines[i]); ++i)
    section.append(lines[i]);
  return section;
}

bool IsBlank(const QString &line) { return line.isEmpty(); }
bool IsManHeading(const QString &line) { return line.startsWith(QStringLiteral(".SH ")); }
bool IsRenderedHeading(const QString &line) { return !line.isEmpty() && !line.startsWith(u' '); }
bool IsMarkdownHeading(const QString &line) { return line.startsWith(QStringLiteral("## ")); }

// Roff as read: without font changes and escapes.
QString Plain(QString roff) {
  static const QRegularExpression font(QStringLiteral(R"(\\f[BIRP])"));
  return roff.remove(font).replace(QStringLiteral("\\-"), QStringLiteral("-")).remove(QStringLiteral("\\&"));
}

// The tags of a section's .TP paragraphs.
QStringList Tags(const QStringList &section) {
  QStringList tags;
  for (qsizetype i = 0; i + 1 < section.size(); ++i)
    if (section[i] == QStringLiteral(".TP"))
      tags.append(Plain(section[i + 1]));
  return tags;
}

// The first cells of a Markdown table's rows that quote a call of pavena-cli.
QStringList QuotedCalls(const QStringList &section) {
  QStringList calls;
  static const QRegularExpression row(QStringLiteral(R"(^\| `(pavena-cli [^`]+)` \|)"));
  for (const QString &line : section)
    if (const QRegularExpressionMatch match = row.match(line); match.hasMatch())
      calls.append(match.captured(1).replace(QStringLiteral("\\|"), QStringLiteral("|")));
  return calls;
}

QStringList OptionsNamed(const QStringList &section) {
  static const QRegularExpression option(QStringLiteral(R"((?<![\w-])--[a-z][a-z-]*[a-z])"));
  QStringList names;
  // Examples of other programs' calls stand in code blocks.
  bool inCode = false;
  for (const QString &line : section) {
    if (line.startsWith(QStringLiteral("```")))
      inCode = !inCode;
    if (inCode)
      continue;
    for (const QRegularExpressionMatch &match : option.globalMatch(line))
      if (!names.contains(match.captured()))
        names.append(match.captured());
  }
  names.sort();
  return names;
}

class TCliDocumentsTest : public ::testing::Test {
protected:
  TCliDocumentsTest() {
    Environment.insert(QStringLiteral("PAVENA_DIR"), Data.Path());
    Environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    // Wide enough that no line of the synopsis is broken.
    Environment.insert(QStringLiteral("MANWIDTH"), QStringLiteral("200"));
    Environment.remove(QStringLiteral("MAN_KEEP_FORMATTING"));
    const QString help = RunProgram(QStringLiteral(PAVENA_CLI), {QStringLiteral("--help")}, Environment).Out;
    for (const QString &line : LinesAfter(help, QStringLiteral("Użycie:"), IsBlank))
      Usage.append(line.trimmed());
    static const QRegularExpression command(QStringLiteral(R"(^  (\S+(?: \S+)?)  )"));
    for (const QString &line : LinesAfter(help, QStringLiteral("Polecenia:"), IsBlank))
      if (const QRegularExpressionMatch match = command.match(line); match.hasMatch())
        Commands.append(match.captured(1));
    // An option and its value: "--mpp FORMAT", "--csv".
    static const QRegularExpression option(QStringLiteral(R"(^  (--\S+(?: [A-Z][A-Z.-]*)?))"));
    for (const QString &line : LinesAfter(help, QStringLiteral("Opcje:"), IsBlank))
      if (const QRegularExpressionMatch match = option.match(line); match.hasMatch())
        Options.append(match.captured(1));
  }

  // The calls of the commands, without those of --help and --version.
  QStringList CommandCalls() const {
    QStringList calls = Usage;
    calls.removeIf([](const QString &call) {
      return call.endsWith(QStringLiteral("--help")) || call.endsWith(QStringLiteral("--version"));
    });
    return calls;
  }
  QStringList OptionNames() const {
    QStringList names;
    for (const QString &option : Options)
      names.append(option.section(u' ', 0, 0));
    names.sort();
    return names;
  }

  TTempDir Data;
  QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment();
  QStringList Usage;
  QStringList Commands;
  QStringList Options;
};

TEST_F(TCliDocumentsTest, HelpNamesEveryCommandAndOption) {
  EXPECT_EQ(Commands,
            (QStringList{QStringLiteral("faktura"), QStringLiteral("paczka"), QStringLiteral("videotel"),
                         QStringLiteral("pdf"), QStringLiteral("wyslij"), QStringLiteral("biala-lista wczytaj"),
                         QStringLiteral("biala-lista pobierz"), QStringLiteral("biala-lista sprawdz"),
                         QStringLiteral("historia"), QStringLiteral("ksef pobierz"), QStringLiteral("ksef lista"),
                         QStringLiteral("do-zaplaty")}));
  EXPECT_EQ(OptionNames(), (QStringList{QStringLiteral("--bez-mpp"),
                                        QStringLiteral("--certyfikat"),
                                        QStringLiteral("--cofnij"),
                                        QStringLiteral("--csv"),
                                        QStringLiteral("--data"),
                                        QStringLiteral("--do"),
                                        QStringLiteral("--help"),
                                        QStringLiteral("--klucz"),
                                        QStringLiteral("--ksef"),
                                        QStringLiteral("--mpp"),
                                        QStringLiteral("--notatka"),
                                        QStringLiteral("--od"),
                                        QStringLiteral("--oznacz-zaplacona"),
                                        QStringLiteral("--przywroc"),
                                        QStringLiteral("--referencja"),
                                        QStringLiteral("--scisle"),
                                        QStringLiteral("--srodowisko"),
                                        QStringLiteral("--status"),
                                        QStringLiteral("--szukaj"),
                                        QStringLiteral("--termin-do"),
                                        QStringLiteral("--token-plik"),
                                        QStringLiteral("--utworz"),
                                        QStringLiteral("--version"),
                                        QStringLiteral("--wycofaj")}));
  EXPECT_EQ(Usage.size(), 19);
}

// The page the package installs, as man shows it, says what --help says.
TEST_F(TCliDocumentsTest, TheManualPageSaysWhatHelpSays) {
  const QString page = QStringLiteral(PAVENA_PACKAGING_DIR "/pavena-cli.1");
  const QString roff = ReadText(page);

  const TOutput shown =
      RunProgram(QStringLiteral("man"), {QStringLiteral("--warnings"), QStringLiteral("-l"), page}, Environment);

  EXPECT_EQ(shown.Err, QString());
  QStringList synopsis;
  for (const QString &line : LinesAfter(shown.Out, QStringLiteral("SKŁADNIA"), IsRenderedHeading))
    if (!line.trimmed().isEmpty())
      synopsis.append(line.trimmed());
  EXPECT_EQ(synopsis, Usage);
  EXPECT_EQ(Tags(LinesAfter(roff, QStringLiteral(".SH POLECENIA"), IsManHeading)), Commands);
  EXPECT_EQ(Tags(LinesAfter(roff, QStringLiteral(".SH OPCJE"), IsManHeading)), Options);
}

// README's section "Command line" and the manual's chapter on pavena-cli quote every call
// as --help gives it, and name no option that the program does not have.
TEST_F(TCliDocumentsTest, ReadmeAndManualQuoteEveryCall) {
  const struct {
    QString File;
    QString Heading;
  } documents[] = {
      {QStringLiteral(PAVENA_SOURCE_DIR "/README.md"), QStringLiteral("## Command line")},
      {QStringLiteral(PAVENA_SOURCE_DIR "/docs/OpisPrzelewyISO20022.md"),
       QStringLiteral("## 14. Wiersz poleceń: pavena-cli")},
  };
  for (const auto &document : documents) {
    SCOPED_TRACE(document.File.toStdString());
    const QStringList section = LinesAfter(ReadText(document.File), document.Heading, IsMarkdownHeading);

    EXPECT_EQ(QuotedCalls(section), CommandCalls());
    EXPECT_EQ(OptionsNamed(section), OptionNames());
  }
}

} // namespace
