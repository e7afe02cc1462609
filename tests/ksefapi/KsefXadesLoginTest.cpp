#include "KsefStandIn.h"
#include "TestSupport.h"
#include "app/commands/KsefDownload.h"
#include "ksefapi/KsefAnswers.h"
#include "ksefapi/KsefXadesLogin.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

const QString Nip = QStringLiteral("1234563218");
const QDateTime Now(QDate(2026, 12, 1), QTime(0, 0), Qt::UTC);

class TNoWaits : public IKsefWaiter {
public:
  void Wait(int, const IKsefProgress &) override {}
};

struct TSignerCase {
  const char *Name;
  const char *Certificate;
  // Empty for a PKCS#12 file.
  const char *Key;
  const char *Passphrase;
};

class TKsefXadesLoginTest : public ::testing::TestWithParam<TSignerCase> {
protected:
  TKsefDownloadOutcome Download(const TKsefStandIn &server, IKsefLogin &login) {
    Data.WriteBytes(QStringLiteral("settings.ini"), "[COMPANY]\nNIP=" + Nip.toLatin1() +
                                                        "\n[KSeF]\nAdres=" + server.Base().toLatin1() +
                                                        "\nPlikCA=" + server.CaFile().toLatin1() + "\n");
    TNoProgress progress;
    TNoWaits waits;
    return DownloadKsefInvoices(TAppPaths::InDirectory(Data.Path()), Now, login, {}, progress, waits);
  }

  TTempDir Data;
};

TEST_P(TKsefXadesLoginTest, ASignatureKsefVerifiesLogsInAndDownloads) {
  const TSignerCase &signer = GetParam();
  const TKsefStandIn server(Nip, {});
  TKsefXadesLogin login({server.File(signer.Certificate), *signer.Key ? server.File(signer.Key) : QString()},
                        signer.Passphrase, [] { return Now; });
  const TKsefDownloadOutcome outcome = Download(server, login);
  EXPECT_EQ(outcome.Error, QString());
  EXPECT_EQ(outcome.Invoices.size(), 3);
  EXPECT_EQ(server.Count("POST /v2/auth/xades-signature 202"), 1);
  if (!*signer.Passphrase)
    return;
  // The passphrase is in no file the run wrote and in no line it shows.
  QDirIterator files(Data.Path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (files.hasNext()) {
    QFile file(files.next());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_FALSE(file.readAll().contains(signer.Passphrase)) << file.fileName().toStdString();
  }
  for (const QString &line : KsefDownloadLines(outcome) + outcome.Notices)
    EXPECT_FALSE(line.contains(QString::fromLatin1(signer.Passphrase))) << line.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Signers, TKsefXadesLoginTest,
                         ::testing::Values(TSignerCase{"RsaPem", "signer-rsa.crt", "signer-rsa.key", ""},
                                           TSignerCase{"EcdsaEncryptedPem", "signer-ec.crt", "signer-ec.key",
                                                       "haslo-klucza"},
                                           TSignerCase{"Pkcs12", "signer.p12", "", "haslo-p12"}),
                         [](const ::testing::TestParamInfo<TSignerCase> &info) { return info.param.Name; });

TEST(TKsefXadesLoginFaultTest, ACertificateKsefDoesNotTrustIsRefusedWithOneLine) {
  const TKsefStandIn server(Nip, {});
  TTempDir data;
  data.WriteBytes(QStringLiteral("settings.ini"), "[COMPANY]\nNIP=" + Nip.toLatin1() +
                                                      "\n[KSeF]\nAdres=" + server.Base().toLatin1() +
                                                      "\nPlikCA=" + server.CaFile().toLatin1() + "\n");
  TKsefXadesLogin login({server.File("stranger.crt"), server.File("stranger.key")}, {}, [] { return Now; });
  TNoProgress progress;
  TNoWaits waits;
  const TKsefDownloadOutcome outcome =
      DownloadKsefInvoices(TAppPaths::InDirectory(data.Path()), Now, login, {}, progress, waits);
  EXPECT_EQ(outcome.Error, QStringLiteral("KSeF uznał podpis logowania za nieprawidłowy (kod 9105); sprawdź, czy "
                                          "klucz pasuje do certyfikatu."));
  EXPECT_EQ(server.Count("POST /v2/auth/xades-signature 400"), 1);
}

TEST(TKsefXadesLoginFaultTest, AWrongPassphraseOrAKeyOfAnotherCertificateIsToldBeforeAnythingIsSent) {
  const TKsefStandIn server(Nip, {});
  const auto now = [] { return Now; };
  EXPECT_THROW_MESSAGE(
      TKsefXadesLogin({server.File("signer-ec.crt"), server.File("signer-ec.key")}, "zle-haslo", now),
      QStringLiteral("Nie można odczytać klucza prywatnego „%1”: hasło jest błędne albo plik nie jest kluczem w "
                     "formacie PEM.")
          .arg(server.File("signer-ec.key")));
  EXPECT_THROW_MESSAGE(TKsefXadesLogin({server.File("signer.p12"), {}}, "zle-haslo", now),
                       QStringLiteral("Nie można otworzyć pliku „%1”: hasło jest błędne albo plik nie jest plikiem "
                                      "PKCS#12 (.p12, .pfx) z certyfikatem i kluczem.")
                           .arg(server.File("signer.p12")));
  EXPECT_THROW_MESSAGE(TKsefXadesLogin({server.File("signer-rsa.crt"), server.File("stranger.key")}, {}, now),
                       QStringLiteral("Klucz prywatny „%1” nie pasuje do certyfikatu „%2”.")
                           .arg(server.File("stranger.key"), server.File("signer-rsa.crt")));
  EXPECT_EQ(server.Requests(), QStringList());
}

TEST(TKsefXadesLoginFaultTest, ASignedRequestChangedAfterwardsFailsKsefsCheck) {
  const TKsefStandIn server(Nip, {});
  const TKsefXadesLogin login({server.File("signer-rsa.crt"), server.File("signer-rsa.key")}, {}, [] { return Now; });
  const QByteArray signedRequest = login.SignedRequest(QStringLiteral("20261211-CR-0000000001-ABCDEF0123-45"), Nip);
  EXPECT_TRUE(signedRequest.contains("<xades:SigningTime>2026-12-01T00:00:00Z</xades:SigningTime>"));
  TTempDir check;
  for (const auto &[name, bytes] :
       {std::pair{"whole", signedRequest},
        std::pair{"other NIP", QByteArray(signedRequest).replace(Nip.toLatin1(), "5260250274")}}) {
    check.WriteBytes(QStringLiteral("signed.xml"), bytes);
    QProcess xmlsec;
    xmlsec.start(QStringLiteral("xmlsec1"),
                 {"--verify", "--id-attr:Id", "http://uri.etsi.org/01903/v1.3.2#:SignedProperties", "--trusted-pem",
                  server.File("xades-ca.pem"), check.File("signed.xml")});
    ASSERT_TRUE(xmlsec.waitForFinished(60000));
    EXPECT_EQ(xmlsec.exitCode() == 0, QByteArray(name) == "whole")
        << name << xmlsec.readAllStandardError().toStdString();
  }
}

TEST(TKsefXadesLoginFaultTest, TheRequestWithoutItsSignatureFollowsKsefsSchema) {
  const TKsefStandIn server(Nip, {});
  const TKsefXadesLogin login({server.File("signer.p12"), {}}, "haslo-p12", [] { return Now; });
  QByteArray request = login.SignedRequest(QStringLiteral("20261211-CR-0000000001-ABCDEF0123-45"), Nip);
  const qsizetype signature = request.indexOf("<ds:Signature");
  ASSERT_GT(signature, 0);
  request.remove(signature, request.indexOf("</ds:Signature>") + 15 - signature);
  TTempDir check;
  check.WriteBytes(QStringLiteral("request.xml"), request);
  // libxml2 knows no "\b" nor "\/" in a pattern; the only ones are those of the IP addresses
  // of AuthorizationPolicy, which this request leaves out, and they are loosened in a copy.
  QFile schema(SharedPath(QStringLiteral("ksef-api/auth/schemy/schemat_auth_v2-0.xsd")));
  ASSERT_TRUE(schema.open(QIODevice::ReadOnly));
  check.WriteBytes(QStringLiteral("auth.xsd"), schema.readAll().replace("\\b", "").replace("\\/", "/"));
  QProcess xmllint;
  xmllint.start(QStringLiteral("xmllint"), {"--noout", "--schema", check.File(QStringLiteral("auth.xsd")),
                                            check.File(QStringLiteral("request.xml"))});
  ASSERT_TRUE(xmllint.waitForFinished(60000));
  EXPECT_EQ(xmllint.exitCode(), 0) << xmllint.readAllStandardError().toStdString();
}

// Signs the request as the certificate login does, then changes what its
// xades:SigningCertificate says of the certificate and signs it anew with the same key: a
// signature right in every digest, of a certificate it does not name.
class TResignedLogin : public IKsefLogin {
public:
  TResignedLogin(const TKsefStandIn &server, std::function<void(QByteArray &)> change)
      : FServer(server), FLogin({server.File("signer-rsa.crt"), server.File("signer-rsa.key")}, {}, [] { return Now; }),
        FChange(std::move(change)) {}

  TKsefAuthStart Start(TKsefSession &session, const TKsefChallenge &challenge, const QString &nip) override {
    QByteArray request = FLogin.SignedRequest(challenge.Challenge, nip);
    FChange(request);
    FDir.WriteBytes(QStringLiteral("changed.xml"), request);
    QProcess xmlsec;
    xmlsec.start(QStringLiteral("xmlsec1"), {"--sign", "--privkey-pem", FServer.File("signer-rsa.key"), "--id-attr:Id",
                                             "http://uri.etsi.org/01903/v1.3.2#:SignedProperties", "--output",
                                             FDir.File("signed.xml"), FDir.File("changed.xml")});
    if (!xmlsec.waitForFinished(60000) || xmlsec.exitCode() != 0)
      ADD_FAILURE() << xmlsec.readAllStandardError().toStdString();
    return ReadAuthStart(session.CallAnonymous("POST", QStringLiteral("/auth/xades-signature"), "application/xml",
                                               FDir.ReadBytes(QStringLiteral("signed.xml")),
                                               QStringLiteral("logowanie certyfikatem")));
  }

private:
  const TKsefStandIn &FServer;
  TKsefXadesLogin FLogin;
  std::function<void(QByteArray &)> FChange;
  TTempDir FDir;
};

// Replaces the text of the first element `name` after `after`.
void ReplaceText(QByteArray &document, const QByteArray &after, const QByteArray &name, const QByteArray &text) {
  const qsizetype start = document.indexOf("<" + name + ">", document.indexOf(after)) + name.size() + 2;
  document.replace(start, document.indexOf("</" + name + ">", start) - start, text);
}

struct TSigningCertificateCase {
  const char *Name;
  std::function<void(QByteArray &, const TKsefStandIn &)> Change;
  bool Accepted;
};

void PrintTo(const TSigningCertificateCase &c, std::ostream *os) { *os << c.Name; }

class TKsefSigningCertificateTest : public ::testing::TestWithParam<TSigningCertificateCase> {};

TEST_P(TKsefSigningCertificateTest, MustNameTheCertificateThatSigned) {
  const TSigningCertificateCase &c = GetParam();
  const TKsefStandIn server(Nip, {});
  TTempDir data;
  data.WriteBytes(QStringLiteral("settings.ini"), "[COMPANY]\nNIP=" + Nip.toLatin1() +
                                                      "\n[KSeF]\nAdres=" + server.Base().toLatin1() +
                                                      "\nPlikCA=" + server.CaFile().toLatin1() + "\n");
  TResignedLogin login(server, [&](QByteArray &document) { c.Change(document, server); });
  TNoProgress progress;
  TNoWaits waits;
  const TKsefDownloadOutcome outcome =
      DownloadKsefInvoices(TAppPaths::InDirectory(data.Path()), Now, login, {}, progress, waits);
  EXPECT_EQ(outcome.Error, c.Accepted ? QString()
                                      : QStringLiteral("KSeF uznał podpis logowania za nieprawidłowy (kod 9105); "
                                                       "sprawdź, czy klucz pasuje do certyfikatu."));
  EXPECT_EQ(server.Count("POST /v2/auth/xades-signature 202"), c.Accepted ? 1 : 0);
}

// The DER of a PEM certificate's first block.
QByteArray CertificateDer(const QString &pemFile) {
  QFile file(pemFile);
  if (!file.open(QIODevice::ReadOnly))
    return {};
  const QByteArray pem = file.readAll();
  const qsizetype begin = pem.indexOf('\n') + 1;
  return QByteArray::fromBase64(pem.mid(begin, pem.indexOf("-----END") - begin));
}

INSTANTIATE_TEST_SUITE_P(
    Changes, TKsefSigningCertificateTest,
    ::testing::Values(
        TSigningCertificateCase{"Unchanged", [](QByteArray &, const TKsefStandIn &) {}, true},
        TSigningCertificateCase{"DigestOfAnotherCertificate",
                                [](QByteArray &document, const TKsefStandIn &server) {
                                  ReplaceText(document, "<xades:CertDigest>", "ds:DigestValue",
                                              QCryptographicHash::hash(CertificateDer(server.File("signer-ec.crt")),
                                                                       QCryptographicHash::Sha256)
                                                  .toBase64());
                                },
                                false},
        TSigningCertificateCase{"AnotherSerialNumber",
                                [](QByteArray &document, const TKsefStandIn &) {
                                  ReplaceText(document, "<xades:IssuerSerial>", "ds:X509SerialNumber", "12345");
                                },
                                false},
        TSigningCertificateCase{"AnotherIssuer",
                                [](QByteArray &document, const TKsefStandIn &) {
                                  ReplaceText(document, "<xades:IssuerSerial>", "ds:X509IssuerName", "CN=Unknown CA");
                                },
                                false}),
    [](const ::testing::TestParamInfo<TSigningCertificateCase> &info) { return info.param.Name; });

} // namespace
