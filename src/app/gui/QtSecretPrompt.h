#pragma once

#include "app/commands/Keyring.h"

#include <QPointer>
#include <QWidget>

// The password dialog "DlgSekret": the question, the field "EdtSekret" that shows no
// characters, the box "ChkZapamietaj" ("Zapamiętaj w pęku kluczy"), OK and Anuluj. Modal to
// `owner`.
class TQtSecretPrompt : public ISecretPrompt {
public:
  explicit TQtSecretPrompt(QWidget *owner) : FOwner(owner) {}
  std::optional<TSecretAnswer> Ask(const TSecretQuestion &question) override;

private:
  QPointer<QWidget> FOwner;
};
