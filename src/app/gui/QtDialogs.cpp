#include "app/gui/QtDialogs.h"

#include "app/gui/ProgramInfo.h"
#include "model/Text.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QStyle>
#include <QVBoxLayout>

namespace {

QMessageBox::StandardButton Ask(QWidget *owner, QMessageBox::Icon icon, const QString &title, const QString &text,
                                QMessageBox::StandardButtons buttons) {
  QMessageBox box(icon, title, WithLineFeeds(text), buttons, owner);
  // File names and error texts are shown as they are, never read as markup.
  box.setTextFormat(Qt::PlainText);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

QString Chosen(QFileDialog &dialog) {
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return QString();
  return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

// A file chooser that starts as `choice` says: to open an existing file or to name one to save.
QString ChooseFileFor(QWidget *owner, const TFileChoice &choice, QFileDialog::AcceptMode mode) {
  QFileDialog dialog(owner, choice.Title, choice.Directory);
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dialog.setNameFilter(choice.Filter);
  if (!choice.Selected.isEmpty())
    dialog.selectFile(choice.Selected);
  return Chosen(dialog);
}

} // namespace

void TQtDialogs::SetOwner(QWidget *owner) { FOwner = owner; }

void TQtDialogs::ShowInformation(const QString &text) {
  Ask(FOwner, QMessageBox::Information, QStringLiteral("Ekran pomocy"), text, QMessageBox::Ok);
}

void TQtDialogs::ShowMessage(const QString &text) {
  Ask(FOwner, QMessageBox::NoIcon, ProgramName(), text, QMessageBox::Ok);
}

void TQtDialogs::ShowAbout(const QList<TAboutLine> &lines) {
  QDialog box(FOwner);
  box.setWindowTitle(QStringLiteral("Informacja o programie"));
  auto *icon = new QLabel;
  icon->setObjectName(QStringLiteral("icon"));
  const int iconSize = box.style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &box);
  icon->setPixmap(box.style()->standardIcon(QStyle::SP_MessageBoxInformation, nullptr, &box).pixmap(iconSize));
  // Labels in one column, values in the next, whatever the font: a form, not padded text.
  auto *form = new QFormLayout;
  for (const TAboutLine &line : lines) {
    auto *value = new QLabel(line.Value);
    value->setTextFormat(Qt::PlainText);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(line.Label + u':', value);
  }
  auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
  auto *content = new QHBoxLayout;
  content->addWidget(icon, 0, Qt::AlignTop);
  content->addLayout(form, 1);
  auto *layout = new QVBoxLayout(&box);
  layout->addLayout(content);
  layout->addWidget(buttons);
  box.exec();
}

bool TQtDialogs::Confirm(const QString &text) {
  return Ask(FOwner, QMessageBox::Question, ProgramName(), text, QMessageBox::Yes | QMessageBox::No) ==
         QMessageBox::Yes;
}

void TQtDialogs::ShowError(const QString &message) {
  Ask(FOwner, QMessageBox::Critical, ProgramName(), message, QMessageBox::Ok);
}

QString TQtDialogs::ChooseFile(const TFileChoice &choice) {
  return ChooseFileFor(FOwner, choice, QFileDialog::AcceptOpen);
}

QString TQtDialogs::ChooseSaveFile(const TFileChoice &choice) {
  return ChooseFileFor(FOwner, choice, QFileDialog::AcceptSave);
}

QString TQtDialogs::ChooseDirectory(const QString &title) {
  QFileDialog dialog(FOwner, title);
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  return Chosen(dialog);
}
