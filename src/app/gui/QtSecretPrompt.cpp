#include "app/gui/QtSecretPrompt.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

std::optional<TSecretAnswer> TQtSecretPrompt::Ask(const TSecretQuestion &question) {
  QDialog dialog(FOwner);
  dialog.setObjectName(QStringLiteral("DlgSekret"));
  dialog.setWindowTitle(question.Title);
  auto *text = new QLabel(question.Text);
  text->setTextFormat(Qt::PlainText);
  text->setWordWrap(true);
  auto *field = new QLineEdit;
  field->setObjectName(QStringLiteral("EdtSekret"));
  field->setEchoMode(QLineEdit::Password);
  text->setBuddy(field);
  auto *remember = new QCheckBox(QStringLiteral("Zapamiętaj w pęku kluczy"));
  remember->setObjectName(QStringLiteral("ChkZapamietaj"));
  auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Anuluj"));
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  auto *layout = new QVBoxLayout(&dialog);
  layout->addWidget(text);
  layout->addWidget(field);
  layout->addWidget(remember);
  layout->addWidget(buttons);
  dialog.setMinimumWidth(420);
  const bool accepted = dialog.exec() == QDialog::Accepted;
  // The field's own copy goes with the dialog; only the answer's copy lives on.
  TSecretAnswer answer{field->text().toUtf8(), remember->isChecked()};
  field->clear();
  if (!accepted)
    return std::nullopt;
  return answer;
}
