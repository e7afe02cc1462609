#include "mail/MailSender.h"

#include "SmtpTestServer.h"
#include "TestSupport.h"

#include <QJsonArray>
#include <gtest/gtest.h>
#include <exception>
#include <memory>
#include <thread>

namespace {

const QString User = QStringLiteral("autor");
const QString Password = QStringLiteral("Ab12cd");
const QString Address = QStringLiteral("autor@example.test");
const QString Body = QStringLiteral("Firma Źdźbło Sp. z o.o. 5260001246");

// Bytes a careless encoder would spoil: a line that is a lone dot (the SMTP end of data), CR LF
// and bare LF, a NUL, and bytes that are no UTF-8.
const char RawFile[] = "<?xml version=\"1.0\"?>\r\n.\r\n..\nfaktura\0\xff\xfe\x80 koniec";
const QByteArray FileBytes(RawFile, sizeof RawFile - 1);

class MailSenderTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    Certificates = std::make_unique<TTempDir>();
    Trusted = MakeCertificate(*Certificates, "trusted", "IP:127.0.0.1");
    Stranger = MakeCertificate(*Certificates, "stranger", "IP:127.0.0.1");
    OtherHost = MakeCertificate(*Certificates, "other-host", "DNS:mail.invalid");
    Expired = MakeExpiredCertificate(*Certificates, "expired", "IP:127.0.0.1");
  }
  static void TearDownTestSuite() { Certificates.reset(); }

  // The server's options for STARTTLS with `certificate` and AUTH LOGIN for the test's account.
  static QStringList StartTls(const TTestCertificate &certificate) {
    return {"--mode", "starttls",   "--cert", certificate.CertFile, "--key", certificate.KeyFile, "--user",
            User,     "--password", Password};
  }

  // Settings for the test server, trusting the test's own certificate. The time limits stay the
  // program's own: a busy machine may keep the server from answering for a few seconds, and
  // only the silent server is meant to run into them.
  static TMailServer SettingsFor(int port) {
    TMailServer server;
    server.Host = QStringLiteral("127.0.0.1");
    server.Port = port;
    server.User = User;
    server.Password = Password;
    server.Address = Address;
    server.CAFile = Trusted.CertFile;
    return server;
  }

  QString WriteFile(const QString &name) const {
    Files.WriteBytes(name, FileBytes);
    return Files.File(name);
  }

  TTempDir Files;

public:
  // Made once for the suite; the cases below name them before they are made.
  static inline std::unique_ptr<TTempDir> Certificates;
  static inline TTestCertificate Trusted, Stranger, OtherHost, Expired;
};

QStringList Strings(const QJsonValue &array) { return array.toVariant().toStringList(); }

// The message as a mail client shows it: sender, recipient, subject, text and attachment.
void ExpectDelivered(const QJsonObject &message, const QString &fileName, const QString &body = Body) {
  EXPECT_EQ(message["mail_from"].toString(), Address);
  EXPECT_EQ(Strings(message["rcpt_tos"]), QStringList{Address});
  EXPECT_EQ(message["from"].toString(), Address);
  EXPECT_EQ(message["to"].toString(), Address);
  EXPECT_EQ(message["subject"].toString(), QStringLiteral("Plik z programu pavena.exe"));
  EXPECT_TRUE(message["has_date"].toBool());
  EXPECT_EQ(message["body"].toString(), body);
  EXPECT_EQ(message["body_charset"].toString(), QStringLiteral("utf-8"));
  EXPECT_EQ(Strings(message["defects"]), QStringList{});
  EXPECT_EQ(Strings(message["overlong_lines"]), QStringList{});
  const QJsonArray attachments = message["attachments"].toArray();
  ASSERT_EQ(attachments.size(), 1);
  const QJsonObject attachment = attachments[0].toObject();
  EXPECT_EQ(Strings(attachment["long_header_lines"]), QStringList{});
  EXPECT_EQ(attachment["filename"].toString(), fileName);
  EXPECT_EQ(attachment["content_type_name"].toString(), fileName);
  EXPECT_EQ(QByteArray::fromBase64(attachment["data"].toString().toLatin1()), FileBytes);
}

struct TDeliveryCase {
  const char *FileName;
  const char *Body;
};

void PrintTo(const TDeliveryCase &delivery, std::ostream *os) { *os << delivery.FileName; }

class DeliveryTest : public MailSenderTest, public ::testing::WithParamInterface<TDeliveryCase> {};

TEST_P(DeliveryTest, ArrivesOverStartTlsAfterLogin) {
  const QString name = QString::fromUtf8(GetParam().FileName);
  const QString body = QString::fromUtf8(GetParam().Body);
  TSmtpTestServer smtp(StartTls(Trusted));

  TMailSender::SendFile(SettingsFor(smtp.Port()), body, WriteFile(name));

  const QList<QJsonObject> messages = smtp.Messages();
  ASSERT_EQ(messages.size(), 1);
  // The server would take TLS 1.3 too.
  EXPECT_EQ(messages[0]["tls"].toString(), QStringLiteral("TLSv1.2"));
  EXPECT_EQ(messages[0]["login"].toString(), User);
  ExpectDelivered(messages[0], name, body);
  EXPECT_EQ(smtp.Events(), (QStringList{"connect", "auth LOGIN", "quit"}));
}

INSTANTIATE_TEST_SUITE_P(FileNames, DeliveryTest,
                         ::testing::Values(TDeliveryCase{"faktura.xml", "Firma 5260001246"},
                                           TDeliveryCase{"faktura żółć.xml", "Firma Źdźbło Sp. z o.o. 5260001246"},
                                           // Empty payer fields: the text is one blank, which must not be lost.
                                           TDeliveryCase{"Przelewy \"pilne\" \\ maj.imp", " "},
                                           TDeliveryCase{
                                               "Zażółć gęślą jaźń — faktura korygująca nr 17 z dnia 30.04.2024 "
                                               "dla Przedsiębiorstwa Usługowo-Handlowego Łęczyca.xml",
                                               "Łęczyca"}));

// Anyone on the way could strip STARTTLS from the server's answer: the file stays home.
TEST_F(MailSenderTest, ServerWithoutStartTlsGetsNothing) {
  TSmtpTestServer smtp({"--mode", "plain", "--user", User, "--password", Password});

  EXPECT_THROW_MESSAGE(TMailSender::SendFile(SettingsFor(smtp.Port()), Body, WriteFile("a.xml")),
                       QStringLiteral("Serwer pocztowy 127.0.0.1:%1 nie oferuje szyfrowania połączenia (STARTTLS). "
                                      "Plik nie został wysłany, bo bez szyfrowania każdy po drodze mógłby go odczytać.")
                           .arg(smtp.Port()));
  EXPECT_TRUE(smtp.Messages().isEmpty());
  EXPECT_EQ(smtp.Events(), QStringList{"connect"});
}

TEST_F(MailSenderTest, ServerWithoutStartTlsGetsTheMessageWithoutLoginWhereClearTextIsAllowed) {
  // The server offers AUTH LOGIN in clear text; the password must stay home all the same.
  TSmtpTestServer smtp({"--mode", "plain", "--user", User, "--password", Password});
  TMailServer settings = SettingsFor(smtp.Port());
  settings.AllowPlain = true;

  TMailSender::SendFile(settings, Body, WriteFile("faktura żółć.xml"));

  const QList<QJsonObject> messages = smtp.Messages();
  ASSERT_EQ(messages.size(), 1);
  EXPECT_TRUE(messages[0]["tls"].isNull());
  EXPECT_TRUE(messages[0]["login"].isNull());
  ExpectDelivered(messages[0], "faktura żółć.xml");
  EXPECT_FALSE(smtp.Events().contains("auth LOGIN"));
}

TEST_F(MailSenderTest, ServerWithoutStartTlsThatDemandsLoginRefusesTheSender) {
  TSmtpTestServer smtp({"--mode", "plain", "--user", User, "--password", Password, "--require-auth"});
  TMailServer settings = SettingsFor(smtp.Port());
  settings.AllowPlain = true;

  EXPECT_THROW_MESSAGE(TMailSender::SendFile(settings, Body, WriteFile("a.xml")),
                       "Serwer pocztowy odrzucił nadawcę autor@example.test: 530 5.7.0 Authentication required");
  EXPECT_FALSE(smtp.Events().contains("auth LOGIN"));
  EXPECT_TRUE(smtp.Messages().isEmpty());
}

TEST_F(MailSenderTest, ServerWithoutLoginMechanismGetsTheMessageEncryptedWithoutLogin) {
  TSmtpTestServer smtp(StartTls(Trusted) + QStringList{"--without-login-mechanism"});

  TMailSender::SendFile(SettingsFor(smtp.Port()), Body, WriteFile("a.xml"));

  const QList<QJsonObject> messages = smtp.Messages();
  ASSERT_EQ(messages.size(), 1);
  EXPECT_EQ(messages[0]["tls"].toString(), QStringLiteral("TLSv1.2"));
  EXPECT_TRUE(messages[0]["login"].isNull());
  ExpectDelivered(messages[0], "a.xml");
}

TEST_F(MailSenderTest, WrongPasswordIsRefused) {
  TSmtpTestServer smtp(StartTls(Trusted));
  TMailServer settings = SettingsFor(smtp.Port());
  settings.Password = QStringLiteral("zle123");

  EXPECT_THROW_MESSAGE(TMailSender::SendFile(settings, Body, WriteFile("a.xml")),
                       "Serwer pocztowy odrzucił logowanie (nazwa użytkownika lub hasło): "
                       "535 5.7.8 Authentication credentials invalid");
  EXPECT_TRUE(smtp.Messages().isEmpty());
}

TEST_F(MailSenderTest, RefusedRecipient) {
  TSmtpTestServer smtp(StartTls(Trusted) + QStringList{"--refuse-recipient", Address});

  EXPECT_THROW_MESSAGE(TMailSender::SendFile(SettingsFor(smtp.Port()), Body, WriteFile("a.xml")),
                       "Serwer pocztowy odrzucił odbiorcę autor@example.test: 550 5.1.1 Mailbox unavailable");
  EXPECT_TRUE(smtp.Messages().isEmpty());
  EXPECT_EQ(smtp.Events().last(), QStringLiteral("quit"));
}

TEST_F(MailSenderTest, MissingFileFailsAfterLoginWithTheFileError) {
  TSmtpTestServer smtp(StartTls(Trusted));
  const QString missing = Files.File("brak żółć.xml");

  EXPECT_THROW_MESSAGE(TMailSender::SendFile(SettingsFor(smtp.Port()), Body, missing),
                       QStringLiteral("Cannot open file \"%1\". No such file or directory").arg(missing));
  EXPECT_TRUE(smtp.Messages().isEmpty());
  EXPECT_EQ(smtp.Events().mid(0, 2), (QStringList{"connect", "auth LOGIN"}));
}

TEST_F(MailSenderTest, ClosedPort) {
  const int port = ClosedPort();

  EXPECT_THROW_MESSAGE(TMailSender::SendFile(SettingsFor(port), Body, WriteFile("a.xml")),
                       QStringLiteral("Nie można połączyć się z serwerem pocztowym 127.0.0.1:%1").arg(port));
}

// The box says in Polish what is wrong with the certificate; libcurl's words are for the log.
struct TCertificateCase {
  const char *Name;
  const TTestCertificate *Offered;
  const TTestCertificate *Trusted;
  const char *Message;
  const char *Detail;
};

void PrintTo(const TCertificateCase &certificate, std::ostream *os) { *os << certificate.Name; }

class CertificateTest : public MailSenderTest, public ::testing::WithParamInterface<TCertificateCase> {};

TEST_P(CertificateTest, FailsBeforeAnythingIsSent) {
  TSmtpTestServer smtp(StartTls(*GetParam().Offered));
  TMailServer settings = SettingsFor(smtp.Port());
  settings.CAFile = GetParam().Trusted->CertFile;

  try {
    TMailSender::SendFile(settings, Body, WriteFile("a.xml"));
    ADD_FAILURE() << "The send went through";
  } catch (const Exception &error) {
    EXPECT_EQ(error.Message(), QString::fromUtf8(GetParam().Message));
    EXPECT_EQ(error.Detail(), QString::fromUtf8(GetParam().Detail));
  }
  EXPECT_EQ(smtp.Events(), QStringList{"connect"});
}

INSTANTIATE_TEST_SUITE_P(
    Certificates, CertificateTest,
    ::testing::Values(
        TCertificateCase{"AnotherAuthority", &MailSenderTest::Stranger, &MailSenderTest::Trusted,
                         "Certyfikat serwera pocztowego 127.0.0.1 nie jest zaufany: nie potwierdził go żaden zaufany "
                         "urząd certyfikacji. Plik nie został wysłany.",
                         "SSL certificate problem: self-signed certificate"},
        TCertificateCase{"AnotherHost", &MailSenderTest::OtherHost, &MailSenderTest::OtherHost,
                         "Certyfikat serwera pocztowego wystawiono dla innego serwera niż 127.0.0.1. Plik nie został "
                         "wysłany.",
                         "SSL: no alternative certificate subject name matches target host name '127.0.0.1'"},
        TCertificateCase{"Expired", &MailSenderTest::Expired, &MailSenderTest::Expired,
                         "Certyfikat serwera pocztowego 127.0.0.1 wygasł. Plik nie został wysłany.",
                         "SSL certificate problem: certificate has expired"}));

TEST_F(MailSenderTest, ServerWithoutTls12FailsTheHandshake) {
  TSmtpTestServer smtp(StartTls(Trusted) + QStringList{"--tls13-only"});

  EXPECT_THROW_MESSAGE(
      TMailSender::SendFile(SettingsFor(smtp.Port()), Body, WriteFile("a.xml")),
      QStringLiteral("Nie udało się zaszyfrować połączenia z serwerem pocztowym 127.0.0.1:%1.").arg(smtp.Port()));
  EXPECT_EQ(smtp.Events(), QStringList{"connect"});
}

TEST_F(MailSenderTest, UnreadableAuthorityFile) {
  TSmtpTestServer smtp(StartTls(Trusted));
  TMailServer settings = SettingsFor(smtp.Port());
  settings.CAFile = Files.File("brak.pem");

  EXPECT_THROW_MESSAGE(TMailSender::SendFile(settings, Body, WriteFile("a.xml")),
                       "Nie można wczytać zaufanych certyfikatów, którymi program sprawdza serwer pocztowy.");
}

TEST_F(MailSenderTest, SilentServerRunsIntoTheTimeLimit) {
  TSmtpTestServer smtp({"--mode", "silent"});
  TMailServer settings = SettingsFor(smtp.Port());
  settings.StallTimeout = std::chrono::seconds(2);

  EXPECT_THROW_MESSAGE(
      TMailSender::SendFile(settings, Body, WriteFile("a.xml")),
      QStringLiteral("Serwer pocztowy 127.0.0.1:%1 nie odpowiedział w wyznaczonym czasie").arg(smtp.Port()));
  EXPECT_EQ(smtp.Events(), QStringList{"connect"});
}

// "Anuluj" while the server keeps silent ends the send at once, not at the time limit, and a
// cancellation that comes first keeps the program from connecting at all.
TEST_F(MailSenderTest, ACancelledSendEndsWithoutWaitingForTheServer) {
  TSmtpTestServer smtp({"--mode", "silent"});
  const QString file = WriteFile("a.xml");
  TCancellation cancellation;
  std::exception_ptr error;
  std::thread sender([&] {
    try {
      TMailSender::SendFile(SettingsFor(smtp.Port()), Body, file, cancellation);
    } catch (...) {
      error = std::current_exception();
    }
  });
  try {
    smtp.WaitForEvent("connect");
  } catch (...) {
    cancellation.Cancel();
    sender.join();
    throw;
  }
  cancellation.Cancel();
  sender.join();
  ASSERT_TRUE(error);
  EXPECT_THROW_MESSAGE(std::rethrow_exception(error), "Wysyłanie pliku przerwane przez użytkownika.");

  TSmtpTestServer unused({"--mode", "silent"});
  EXPECT_THROW_MESSAGE(TMailSender::SendFile(SettingsFor(unused.Port()), Body, file, cancellation),
                       "Wysyłanie pliku przerwane przez użytkownika.");
  EXPECT_EQ(unused.Events(), QStringList{});
}

TEST_F(MailSenderTest, BuildWithoutSettingsSaysSoBeforeConnecting) {
  EXPECT_THROW_MESSAGE(
      TMailSender::SendFile(TMailServer{}, Body, WriteFile("a.xml")),
      "Program zbudowano bez ustawień serwera pocztowego (brak: serwer, użytkownik, hasło, adres autora)");

  // A server is there to be reached; an incomplete account must not try.
  TSmtpTestServer smtp(StartTls(Trusted));
  TMailServer partial = SettingsFor(smtp.Port());
  partial.Password.clear();
  partial.Port = 0;
  EXPECT_THROW_MESSAGE(TMailSender::SendFile(partial, Body, WriteFile("a.xml")),
                       "Program zbudowano bez ustawień serwera pocztowego (brak: port, hasło)");
  partial.Port = smtp.Port();
  EXPECT_THROW_MESSAGE(TMailSender::SendFile(partial, Body, WriteFile("a.xml")),
                       "Program zbudowano bez ustawień serwera pocztowego (brak: hasło)");
  EXPECT_EQ(smtp.Events(), QStringList{});
}

} // namespace
