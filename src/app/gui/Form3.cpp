#include "app/gui/Form3.h"

#include "app/commands/PayerDataCheck.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The field `name` under its caption, with the label `name` + "Problem" beside it that says
// what is wrong with its value.
QLineEdit *AddField(QVBoxLayout &layout, QList<QLabel *> &problems, const QString &name, const QString &caption,
                    int width) {
  auto *field = new QLineEdit;
  field->setObjectName(name);
  field->setFixedWidth(width);
  auto *label = new QLabel(caption);
  label->setBuddy(field);
  auto *problem = new QLabel;
  problem->setObjectName(name + QStringLiteral("Problem"));
  QPalette warning = problem->palette();
  warning.setColor(QPalette::WindowText, QColor(0xb0, 0x00, 0x00));
  problem->setPalette(warning);
  problem->setWordWrap(true);
  // What was wrong no longer holds once the value is typed again.
  QObject::connect(field, &QLineEdit::textEdited, problem, &QLabel::clear);
  problems.append(problem);
  auto *row = new QHBoxLayout;
  row->addWidget(field);
  row->addWidget(problem, 1);
  layout.addWidget(label);
  layout.addLayout(row);
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

TForm3::TForm3(IDialogs &dialogs, QWidget *owner) : QDialog(owner), FDialogs(dialogs) {
  setObjectName(QStringLiteral("Form3"));
  setWindowTitle(QStringLiteral("Korekta danych konta bankowego"));
  setModal(true);

  auto *layout = new QVBoxLayout(this);
  FOpis = AddField(*layout, FProblems, QStringLiteral("edtBankOpis"), QStringLiteral("Opis konta"), 260);
  FIBAN = AddField(*layout, FProblems, QStringLiteral("edtBankIBAN"), QStringLiteral("IBAN konta"), 260);
  FBIC = AddField(*layout, FProblems, QStringLiteral("edtBankBIC"), QStringLiteral("BIC konta"), 120);
  FNIP = AddField(*layout, FProblems, QStringLiteral("edtBankNIP"), QStringLiteral("NIP Płatnika"), 120);
  FNazwa = AddField(*layout, FProblems, QStringLiteral("edtBankNazwa"), QStringLiteral("Nazwa Płatnika"), 520);

  QPushButton *ok = NewButton(QStringLiteral("BtnOK"), QStringLiteral("O&K"));
  QPushButton *cancel = NewButton(QStringLiteral("BtnCancel"), QStringLiteral("&Anuluj"));
  connect(ok, &QPushButton::clicked, this, &TForm3::PressOK);
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
  for (QLabel *problem : FProblems)
    problem->clear();
}

void TForm3::SaveRecordBank(TBankRow &row) const {
  row.Opis = FOpis->text();
  row.IBAN = FIBAN->text();
  row.BIC = FBIC->text();
  row.NIP = FNIP->text();
  row.Name = FNazwa->text();
}

void TForm3::PressOK() {
  FIBAN->setText(NormalisedIban(FIBAN->text()));
  TBankRow row;
  SaveRecordBank(row);
  const QList<TFieldCheck> checks = CheckBankRow(row);
  for (qsizetype i = 0; i < checks.size(); ++i)
    FProblems[i]->setText(checks[i].Problem);
  if (ConfirmSavingDespiteProblems(FDialogs, checks))
    accept();
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
