#include "app/gui/KsefPage.h"

#include "FakeHost.h"
#include "GuiTestSupport.h"
#include "KsefStandIn.h"
#include "TestSupport.h"
#include "journal/PaymentJournal.h"
#include "model/Exception.h"

#include <QDir>
#include <QLabel>
#include <QMainWindow>
#include <QMap>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QThread>
#include <QVBoxLayout>
#include <deque>

namespace {

const QString Nip = QStringLiteral("1234563218");
const QByteArray Token = "20261211-EC-5A0F2C3B00-77E1D0A9B4-3C|nip-1234563218|a1b2c3d4e5f6";
const QString KeyringEntry = QStringLiteral("token testowe 1234563218");

// The user at the password dialog: the answers given in order; none left is a cancel.
class TFakePrompt : public ISecretPrompt {
public:
  std::optional<TSecretAnswer> Ask(const TSecretQuestion &question) override {
    Questions << question.Title + QStringLiteral(": ") + question.Text;
    if (Answers.empty())
      return std::nullopt;
    const TSecretAnswer answer = Answers.front();
    Answers.pop_front();
    return answer;
  }
  std::deque<TSecretAnswer> Answers;
  QStringList Questions;
};

// A keyring that keeps its secrets in memory, or one that does not answer.
class TFakeKeyring : public IKeyring {
public:
  std::optional<QByteArray> Read(const QString &key) override {
    Answer();
    return Secrets.contains(key) ? std::optional<QByteArray>(Secrets.value(key)) : std::nullopt;
  }
  void Write(const QString &key, const QByteArray &secret) override {
    Answer();
    Secrets.insert(key, secret);
  }
  void Remove(const QString &key) override {
    Answer();
    Secrets.remove(key);
  }
  QMap<QString, QByteArray> Secrets;
  bool Answers = true;

private:
  void Answer() const {
    if (!Answers)
      throw Exception(QStringLiteral("Pęk kluczy pulpitu nie odpowiada"));
  }
};

// The waits of the login and the export pass at once. The wait of a 429 presses "Anuluj" in
// the window when the test asks for it, and goes on only once the window has cancelled.
class TTestWaiter : public IKsefWaiter {
public:
  explicit TTestWaiter(QMainWindow &window) : FWindow(window) {}
  void Wait(int seconds, const IKsefProgress &progress) override {
    Waits << seconds;
    if (!CancelLongWait || seconds == 1)
      return;
    QMetaObject::invokeMethod(
        &FWindow, [this] { Control<QPushButton>(FWindow, QStringLiteral("BtnAnuluj")).click(); }, Qt::QueuedConnection);
    while (!progress.Cancelled())
      QThread::yieldCurrentThread();
    TKsefSleeper().Wait(seconds, progress);
  }
  QList<int> Waits;
  bool CancelLongWait = false;

private:
  QMainWindow &FWindow;
};

// The page in a window of its own, with the window's background work as main() sets it up,
// downloading from the stand-in as the payer 1234563218 in the environment "testowe".
class TKsefPageTest : public ::testing::Test {
protected:
  TKsefPageTest() {
    EnsureApplication();
    Host.Clock = QDateTime(QDate(2026, 12, 1), QTime(0, 0), Qt::UTC);
  }

  void Open(const TKsefStandIn &server, const QByteArray &login) {
    App.WriteBytes(QStringLiteral("settings.ini"),
                   "[COMPANY]\r\nNIP=" + Nip.toLatin1() + "\r\n[KSeF]\r\nSrodowisko=testowe\r\nAdres=" +
                       server.Base().toLatin1() + "\r\nPlikCA=" + server.CaFile().toLatin1() + "\r\n" + login);
    auto *central = new QWidget;
    Page = new TKsefPage(Host.Host(), Background, Prompt, Keyring, Waiter);
    (new QVBoxLayout(central))->addWidget(Page);
    Window.setCentralWidget(central);
    Background.ShowIn(Window);
    Window.show();
  }

  void Download() {
    int finished = 0;
    const auto connection = QObject::connect(Page, &TKsefPage::Finished, [&] { ++finished; });
    Control<QPushButton>(Window, QStringLiteral("BtnKsefPobierz")).click();
    QObject::disconnect(connection);
    EXPECT_EQ(finished, 1);
  }

  QStringList LogLines() const {
    QStringList lines;
    for (const TLogEntry &entry : Host.LogEntries)
      lines << entry.Text;
    return lines;
  }
  QList<QStringList> Rows() const {
    const auto &grid = Control<QTableWidget>(Window, QStringLiteral("GridKsef"));
    QList<QStringList> rows;
    for (int row = 0; row < grid.rowCount(); ++row) {
      QStringList cells;
      for (int column = 0; column < grid.columnCount(); ++column)
        cells << grid.item(row, column)->text();
      rows << cells;
    }
    return rows;
  }
  QString StartText() const { return Control<QLabel>(Window, QStringLiteral("LblKsefStart")).text(); }

  // The token in no file of the data directory and no line of the log.
  void ExpectTheTokenNowhere() const {
    for (const QString &name : QDir(App.Path()).entryList(QDir::Files)) {
      QFile file(App.File(name));
      ASSERT_TRUE(file.open(QIODevice::ReadOnly));
      EXPECT_FALSE(file.readAll().contains(Token)) << name.toStdString();
    }
    EXPECT_FALSE(LogLines().join(u'\n').contains(QString::fromLatin1(Token)));
  }

  TTempAppDir App;
  TFakeHost Host{App.Paths()};
  TBackgroundWork Background;
  QMainWindow Window;
  TFakePrompt Prompt;
  TFakeKeyring Keyring;
  TTestWaiter Waiter{Window};
  TKsefPage *Page = nullptr;
};

TEST_F(TKsefPageTest, DownloadsWithATokenAndListsWhatCameIn) {
  const TKsefStandIn server(Nip, {"--token", QString::fromLatin1(Token)});
  Open(server, "Logowanie=token\r\n");
  EXPECT_TRUE(Control<QRadioButton>(Window, QStringLiteral("RbKsefToken")).isChecked());
  EXPECT_EQ(StartText(),
            QStringLiteral("Bez daty „Od” pierwsze pobieranie zacznie się od pierwszego dnia poprzedniego miesiąca: "
                           "01.11.2026."));
  Prompt.Answers.push_back({Token, false});

  Download();

  EXPECT_EQ(Prompt.Questions,
            QStringList{QStringLiteral("Token KSeF: Token KSeF dla NIP 1234563218 (środowisko testowe):")});
  const QStringList numbers = server.InvoiceNumbers();
  ASSERT_EQ(numbers.size(), 3);
  const QList<QStringList> rows = Rows();
  ASSERT_EQ(rows.size(), 3);
  for (int row = 0; row < 3; ++row)
    EXPECT_EQ(rows[row].first(), numbers[row]);
  EXPECT_EQ(rows[0],
            (QStringList{numbers[0], QStringLiteral("Dostawca"), QStringLiteral("FV/%1/2026").arg(numbers[0].right(6)),
                         QStringLiteral("107.01 PLN"), QStringLiteral("nowa")}));
  EXPECT_EQ(LogLines(), QStringList{QStringLiteral("Pobrano z KSeF nowych faktur zakupu: 3.")});
  // The journal keeps them as the command line's download does.
  QStringList recorded;
  TPaymentJournal(App.File(QStringLiteral("historia.sqlite")))
      .ForEachKsefInvoice({}, [&](const TKsefInvoiceRecord &invoice) { recorded.prepend(invoice.KsefNumber); });
  EXPECT_EQ(recorded, numbers);
  EXPECT_EQ(StartText(),
            QStringLiteral("Bez daty „Od” pobieranie zacznie się tam, gdzie skończyło się ostatnie: 30.11.2026 01:00 "
                           "czasu polskiego."));
  EXPECT_FALSE(Control<QPushButton>(Window, QStringLiteral("BtnAnuluj")).isVisible());
  EXPECT_TRUE(Control<QPushButton>(Window, QStringLiteral("BtnKsefPobierz")).isEnabled());
  EXPECT_TRUE(Keyring.Secrets.isEmpty());
  const TKsefPageSettings saved = TKsefPageSettings::Load(App.File(QStringLiteral("settings.ini")));
  EXPECT_EQ(saved.Environment, QStringLiteral("testowe"));
  EXPECT_EQ(saved.Method, TKsefLoginMethod::Token);
  ExpectTheTokenNowhere();
}

struct TKeyringCase {
  const char *Name;
  bool Ticked;
  bool KeyringAnswers;
  // Whether the second download asks again.
  bool AskedAgain;
  const char *Warning;
};

class TKsefPageKeyringTest : public TKsefPageTest, public ::testing::WithParamInterface<TKeyringCase> {};

TEST_P(TKsefPageKeyringTest, RemembersTheTokenOnlyWhenTickedAndWhereAKeyringAnswers) {
  const TKeyringCase &test = GetParam();
  const TKsefStandIn server(Nip, {"--token", QString::fromLatin1(Token)});
  Open(server, "Logowanie=token\r\n");
  Keyring.Answers = test.KeyringAnswers;
  Prompt.Answers.push_back({Token, test.Ticked});
  Prompt.Answers.push_back({Token, false});

  Download();
  Download();

  EXPECT_EQ(Prompt.Questions.size(), test.AskedAgain ? 2 : 1);
  QMap<QString, QByteArray> remembered;
  if (test.Ticked && test.KeyringAnswers)
    remembered.insert(KeyringEntry, Token);
  EXPECT_EQ(Keyring.Secrets, remembered);
  QStringList expected;
  if (*test.Warning)
    expected << QString::fromUtf8(test.Warning);
  expected << QStringLiteral("Pobrano z KSeF nowych faktur zakupu: 3.")
           << QStringLiteral("Brak nowych faktur zakupu w KSeF.");
  EXPECT_EQ(LogLines(), expected);
  ExpectTheTokenNowhere();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TKsefPageKeyringTest,
    ::testing::Values(TKeyringCase{"NotTicked", false, true, true, ""}, TKeyringCase{"Ticked", true, true, false, ""},
                      TKeyringCase{"NoKeyring", true, false, true,
                                   "Uwaga: Pęk kluczy pulpitu nie odpowiada, więc nic w nim nie zapamiętano; przy "
                                   "następnym pobieraniu program zapyta ponownie."}),
    [](const ::testing::TestParamInfo<TKeyringCase> &info) { return std::string(info.param.Name); });

const QString WrongToken = QStringLiteral("Błąd: Logowanie do KSeF nie powiodło się (450): token KSeF jest błędny, "
                                          "nieaktywny albo unieważniony, lub zegar komputera jest źle ustawiony; "
                                          "wygeneruj nowy token w KSeF i sprawdź czas.");

TEST_F(TKsefPageTest, ATokenKsefRefusesIsNeverRememberedThoughTicked) {
  const TKsefStandIn server(Nip, {"--token", QString::fromLatin1(Token)});
  Open(server, "Logowanie=token\r\n");
  Prompt.Answers.push_back({"20261211-EC-zly-token", true});
  Prompt.Answers.push_back({Token, true});

  Download();
  EXPECT_EQ(LogLines(), QStringList{WrongToken});
  EXPECT_TRUE(Keyring.Secrets.isEmpty());

  Download();
  EXPECT_EQ(Prompt.Questions.size(), 2);
  EXPECT_EQ(Keyring.Secrets, (QMap<QString, QByteArray>{{KeyringEntry, Token}}));
  EXPECT_EQ(LogLines().last(), QStringLiteral("Pobrano z KSeF nowych faktur zakupu: 3."));
}

TEST_F(TKsefPageTest, AWrongTokenTheKeyringKeptIsForgottenAndAskedForAgain) {
  const TKsefStandIn server(Nip, {"--token", QString::fromLatin1(Token)});
  Open(server, "Logowanie=token\r\n");
  Keyring.Secrets.insert(KeyringEntry, "20261211-EC-stary-token");
  Prompt.Answers.push_back({Token, false});

  Download();
  EXPECT_TRUE(Prompt.Questions.isEmpty());
  EXPECT_EQ(LogLines(), QStringList{WrongToken});
  EXPECT_TRUE(Keyring.Secrets.isEmpty());

  Download();
  EXPECT_EQ(Prompt.Questions.size(), 1);
  EXPECT_EQ(LogLines().last(), QStringLiteral("Pobrano z KSeF nowych faktur zakupu: 3."));
}

TEST_F(TKsefPageTest, AWrongPassphraseTheKeyringKeptIsForgottenAndAskedForAgain) {
  const TKsefStandIn server(Nip, {});
  const QString certificate = server.File(QStringLiteral("signer-ec.crt"));
  const QString key = server.File(QStringLiteral("signer-ec.key"));
  Open(server, "Certyfikat=" + certificate.toUtf8() + "\r\nKlucz=" + key.toUtf8() + "\r\n");
  const QString entry = QStringLiteral("klucz ") + key;
  Keyring.Secrets.insert(entry, "stare-haslo");
  Prompt.Answers.push_back({"haslo-klucza", true});

  // Refused before any download starts.
  Control<QPushButton>(Window, QStringLiteral("BtnKsefPobierz")).click();
  EXPECT_EQ(
      Host.ErrorBoxes,
      QStringList{QStringLiteral("Nie można odczytać klucza prywatnego „%1”: hasło jest błędne albo plik nie jest "
                                 "kluczem w formacie PEM.")
                      .arg(key)});
  EXPECT_TRUE(Keyring.Secrets.isEmpty());

  Download();
  EXPECT_EQ(Prompt.Questions.size(), 1);
  EXPECT_EQ(LogLines().last(), QStringLiteral("Pobrano z KSeF nowych faktur zakupu: 3."));
  EXPECT_EQ(Keyring.Secrets, (QMap<QString, QByteArray>{{entry, "haslo-klucza"}}));
}

struct TCertificateCase {
  const char *Certificate;
  const char *Key;
  // The question asked, or none.
  const char *Question;
  const char *Secret;
};

class TKsefPageCertificateTest : public TKsefPageTest, public ::testing::WithParamInterface<TCertificateCase> {};

TEST_P(TKsefPageCertificateTest, AsksForThePassphraseOnlyWhereTheFilesNeedOne) {
  const TCertificateCase &test = GetParam();
  const TKsefStandIn server(Nip, {});
  const QString certificate = server.File(QString::fromLatin1(test.Certificate));
  const QString key = *test.Key ? server.File(QString::fromLatin1(test.Key)) : QString();
  Open(server, "Certyfikat=" + certificate.toUtf8() + "\r\nKlucz=" + key.toUtf8() + "\r\n");
  EXPECT_TRUE(Control<QRadioButton>(Window, QStringLiteral("RbKsefCertyfikat")).isChecked());
  if (*test.Question)
    Prompt.Answers.push_back({test.Secret, false});

  Download();

  EXPECT_EQ(Prompt.Questions, *test.Question
                                  ? QStringList{QString::fromUtf8(test.Question).arg(*test.Key ? key : certificate)}
                                  : QStringList());
  EXPECT_EQ(LogLines(), QStringList{QStringLiteral("Pobrano z KSeF nowych faktur zakupu: 3.")});
  EXPECT_EQ(Rows().size(), 3);
  const QByteArray settings = App.ReadBytes(QStringLiteral("settings.ini"));
  EXPECT_FALSE(*test.Secret && settings.contains(test.Secret));
}

INSTANTIATE_TEST_SUITE_P(
    Files, TKsefPageCertificateTest,
    ::testing::Values(TCertificateCase{"signer-rsa.crt", "signer-rsa.key", "", ""},
                      TCertificateCase{"signer-ec.crt", "signer-ec.key",
                                       "Hasło klucza prywatnego: Hasło klucza prywatnego %1:", "haslo-klucza"},
                      TCertificateCase{"signer.p12", "", "Hasło pliku PKCS#12: Hasło pliku %1:", "haslo-p12"}),
    [](const ::testing::TestParamInfo<TCertificateCase> &info) {
      return QString::fromLatin1(info.param.Certificate).remove(u'-').remove(u'.').toStdString();
    });

TEST_F(TKsefPageTest, ALoginFaultIsOneErrorLine) {
  const TKsefStandIn server(Nip, {"--token", QString::fromLatin1(Token), "--fault", "login-415"});
  Open(server, "Logowanie=token\r\n");
  Prompt.Answers.push_back({Token, false});

  Download();

  EXPECT_EQ(LogLines(), QStringList{QStringLiteral(
                            "Błąd: Logowanie do KSeF nie powiodło się (415): certyfikat albo token nie ma prawa do "
                            "faktur tej firmy; nadaj mu w KSeF uprawnienie „InvoiceRead” dla NIP płatnika.")});
  EXPECT_EQ(Host.LogEntries.at(0).Kind, TLogKind::Error);
  EXPECT_TRUE(Rows().isEmpty());
  EXPECT_TRUE(Host.ErrorBoxes.isEmpty());
}

TEST_F(TKsefPageTest, AnulujDuringTheWaitKsefAskedForEndsTheWorkAsCancelled) {
  const TKsefStandIn server(Nip, {"--token", QString::fromLatin1(Token), "--fault", "rate-limit"});
  Open(server, "Logowanie=token\r\n");
  Prompt.Answers.push_back({Token, false});
  Waiter.CancelLongWait = true;

  Download();

  EXPECT_EQ(Waiter.Waits.last(), 7);
  EXPECT_EQ(LogLines(), (QStringList{QStringLiteral("KSeF ogranicza liczbę zapytań: ponowienie za 7 s"),
                                     QStringLiteral("Pobieranie z KSeF przerwano.")}));
  for (const TLogEntry &entry : Host.LogEntries)
    EXPECT_EQ(entry.Kind, TLogKind::Info);
  EXPECT_TRUE(Rows().isEmpty());
  EXPECT_FALSE(Control<QPushButton>(Window, QStringLiteral("BtnAnuluj")).isVisible());
  EXPECT_TRUE(Control<QPushButton>(Window, QStringLiteral("BtnKsefPobierz")).isEnabled());
  EXPECT_EQ(server.Count("POST /v2/invoices/exports"), 1);
}

} // namespace
