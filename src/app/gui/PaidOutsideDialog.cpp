#include "app/gui/PaidOutsideDialog.h"

#include <QDateEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

std::optional<TPaidOutside> AskPaidOutside(QWidget *parent, const QString &invoice, QDate today) {
  QDialog dialog(parent);
  dialog.setObjectName(QStringLiteral("DlgZaplaconePoza"));
  dialog.setWindowTitle(QStringLiteral("Oznacz jako zapłacone poza programem"));
  auto *paidOn = new QDateEdit(today);
  paidOn->setObjectName(QStringLiteral("DataZaplaty"));
  paidOn->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
  paidOn->setCalendarPopup(true);
  auto *note = new QLineEdit;
  note->setObjectName(QStringLiteral("EdtNotatka"));
  note->setPlaceholderText(QStringLiteral("np. zapłacono kartą firmową"));
  auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Oznacz"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Anuluj"));
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  auto *form = new QFormLayout(&dialog);
  auto *what = new QLabel(invoice);
  what->setWordWrap(true);
  form->addRow(what);
  form->addRow(QStringLiteral("Data zapłaty"), paidOn);
  form->addRow(QStringLiteral("Notatka (niewymagana)"), note);
  form->addRow(buttons);
  if (dialog.exec() != QDialog::Accepted)
    return std::nullopt;
  return TPaidOutside{paidOn->date(), note->text()};
}
