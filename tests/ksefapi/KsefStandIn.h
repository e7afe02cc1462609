#pragma once

#include "TestSupport.h"

#include <QProcess>
#include <QString>
#include <QStringList>

// The KSeF stand-in of ksef_standin.py on 127.0.0.1, running while the object lives.
class TKsefStandIn {
public:
  // `options` are the script's own (--fault, --invoices, --token, ...).
  TKsefStandIn(const QString &nip, const QStringList &options);
  ~TKsefStandIn();
  TKsefStandIn(const TKsefStandIn &) = delete;
  TKsefStandIn &operator=(const TKsefStandIn &) = delete;

  // "https://127.0.0.1:<port>/v2".
  QString Base() const { return QStringLiteral("https://127.0.0.1:%1/v2").arg(FPort); }
  // The authority of the server's certificate, for PlikCA=.
  QString CaFile() const { return FDir.File(QStringLiteral("ca.pem")); }
  // A file the server made in its directory: the signing certificates "signer-rsa.crt" and
  // ".key", "signer-ec.crt" and ".key" (passphrase "haslo-klucza"), "signer.p12" (password
  // "haslo-p12"), "stranger.crt" and ".key" from an authority it does not trust.
  QString File(const QString &name) const { return FDir.File(name); }
  // The requests answered so far: "POST /v2/auth/challenge 200".
  QStringList Requests() const;
  // How many answered requests begin with `start` ("POST /v2/invoices/exports 201").
  int Count(const QString &start) const;
  // Every authentication, access and refresh token the server issued so far.
  QList<QByteArray> IssuedTokens() const;
  // The invoices the server holds, by KSeF number.
  QStringList InvoiceNumbers() const;
  QByteArray InvoiceBytes(const QString &number) const;

private:
  TTempDir FDir;
  QProcess FProcess;
  int FPort = 0;
};
