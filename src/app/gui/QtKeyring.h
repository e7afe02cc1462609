#pragma once

#include "app/commands/Keyring.h"

// The desktop's keyring through QtKeychain (the Secret Service, KWallet), its secrets under the
// service "Pavena KSeF". Each call waits for the keyring's answer in an event loop of its own,
// so that the window keeps drawing meanwhile.
class TQtKeyring : public IKeyring {
public:
  std::optional<QByteArray> Read(const QString &key) override;
  void Write(const QString &key, const QByteArray &secret) override;
  void Remove(const QString &key) override;
};
