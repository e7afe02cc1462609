#pragma once

#include "app/commands/Host.h"
#include "app/commands/Keyring.h"
#include "app/commands/KsefDownload.h"
#include "app/commands/KsefPageSettings.h"

#include <QList>
#include <QStringList>
#include <memory>

// The work of the page "KSeF" that is not drawing: where the next download starts, the login
// with the secret it needs (from the keyring, or asked for and remembered there when the user
// ticks it), and what the download's outcome tells the user.
class TKsefPageCommand {
public:
  TKsefPageCommand(THost &host, ISecretPrompt &prompt, IKeyring &keyring);

  // Where a download in `environment` starts when the user gives no date, in a few words.
  QString StartText(const QString &environment) const;

  // Saves the choices and makes their login, asking for the secret it needs; nothing when the
  // user cancelled the question. A missing or unreadable file fails with a Polish sentence; a
  // passphrase that does not open the key is forgotten by the keyring too.
  std::unique_ptr<IKsefLogin> PrepareLogin(const TKsefPageSettings &settings);

  // After the download of the prepared login: the secret the user asked to remember goes to the
  // keyring once KSeF took it, and one KSeF refused leaves the keyring, so that it is asked for
  // again. Before LogOutcome, so that a keyring's warning comes first.
  void SettleSecret(const TKsefDownloadOutcome &outcome);

  // Each notice as a line, then the error ("Błąd: …"), the cancellation or the summary.
  void LogOutcome(const TKsefDownloadOutcome &outcome);

  // The rows of the list of what came in: KSeF number, seller, invoice number, gross amount,
  // "nowa" or "już była".
  static QList<QStringList> InvoiceRows(const TKsefDownloadOutcome &outcome);

private:
  // The secret of the login being prepared, until SettleSecret.
  struct TPendingSecret {
    QString Key;
    QByteArray Secret;
    bool Remember = false;
  };

  std::optional<QByteArray> Secret(const TSecretQuestion &question, const QString &key);
  void ForgetSecret();

  THost &FHost;
  ISecretPrompt &FPrompt;
  IKeyring &FKeyring;
  std::optional<TPendingSecret> FPending;
};
