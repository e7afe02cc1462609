#include "app/gui/BankDialog.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit *AddField(QVBoxLayout &layout, const QString &name, const QString &caption, int width) {
  auto *field = new QLineEdit;
  field->setObjectName(name);
  field->setFixedWidth(width);
  auto *label = new QLabel(caption);
  label->setBuddy(field);
  layout.addWidget(label);
  layout.addWidget(field);
  return field;
}

QPushButton *NewButton(const QString &name, const QString &caption) {
  auto *button = new QPushButton(caption);
  button->setObjectName(name);
  button->setAutoDefault(false);
  button->setDefault(false);
  return button;
}

} // namespace

TForm3::TForm3(QWidget *owner) : QDialog(owner) {
  setObjectName(QStringLiteral("Form3"));
  setWindowTitle(QStringLiteral("Korekta danych konta bankowego"));
  setModal(true);

  auto *layout = new QVBoxLayout(this);
  FOpis = AddField(*layout, QStringLiteral("edtBankOpis"), QStringLiteral("Opis konta"), 260);
  FIBAN = AddField(*layout, QStringLiteral("edtBankIBAN"), QStringLiteral("IBAN konta"), 260);
  FBIC = AddField(*layout, QStringLiteral("edtBankBIC"), QStringLiteral("BIC konta"), 120);
  FNIP = AddField(*layout, QStringLiteral("edtBankNIP"), QStringLiteral("NIP Płatnika"), 120);
  FNazwa = AddField(*layout, QStringLiteral("edtBankNazwa"), QStringLiteral("Nazwa Płatnika"), 520);

  QPushButton *ok = NewButton(QStringLiteral("BtnOK"), QStringLiteral("O&K"));
  QPushButton *cancel = NewButton(QStringLiteral("BtnCancel"), QStringLiteral("&Cancel"));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  auto *buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);

  setTabOrder(FOpis, FIBAN);
  setTabOrder(FIBAN, FBIC);
  setTabOrder(FBIC, FNIP);
  setTabOrder(FNIP, FNazwa);
  setTabOrder(FNazwa, cancel);
  setTabOrder(cancel, ok);
}

void TForm3::LoadRecordBank(const TBankRow &row) {
  FOpis->setText(row.Opis);
  FIBAN->setText(row.IBAN);
  FBIC->setText(row.BIC);
  FNIP->setText(row.NIP);
  FNazwa->setText(row.Name);
}

void TForm3::SaveRecordBank(TBankRow &row) const {
  row.Opis = FOpis->text();
  row.IBAN = FIBAN->text();
  row.BIC = FBIC->text();
  row.NIP = FNIP->text();
  row.Name = FNazwa->text();
}

bool TForm3::EditBankRecord(TBankRow &row) {
  LoadRecordBank(row);
  FOpis->setFocus();
  if (exec() != QDialog::Accepted)
    return false;
  SaveRecordBank(row);
  return true;
}

void TForm3::keyPressEvent(QKeyEvent *event) {
  // QDialog would reject on Escape; this dialog has no button bound to a key.
  if (event->key() == Qt::Key_Escape || event->matches(QKeySequence::Cancel)) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}
