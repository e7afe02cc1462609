#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Secrets (a KSeF token, a key's passphrase, a PKCS#12 password) are asked for when needed and
// kept only in memory, unless the user lets the desktop's keyring remember them. Both seams
// are injected so that tests answer them.

// A question for a secret: the window shows it as a password dialog, its input not echoed.
struct TSecretQuestion {
  QString Title;
  QString Text;
};

struct TSecretAnswer {
  QByteArray Secret;
  // The user ticked "Zapamiętaj w pęku kluczy".
  bool Remember = false;
};

class ISecretPrompt {
public:
  virtual ~ISecretPrompt() = default;
  // Nothing when the user cancelled.
  virtual std::optional<TSecretAnswer> Ask(const TSecretQuestion &question) = 0;
};

// The desktop's keyring (the Secret Service on Linux). A keyring that does not answer fails
// with an Exception saying so in Polish.
class IKeyring {
public:
  virtual ~IKeyring() = default;
  // Nothing when no secret is kept under `key`.
  virtual std::optional<QByteArray> Read(const QString &key) = 0;
  virtual void Write(const QString &key, const QByteArray &secret) = 0;
  // Forgets what is kept under `key`; nothing kept there is no fault.
  virtual void Remove(const QString &key) = 0;
};
