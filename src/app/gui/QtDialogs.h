#pragma once

#include "app/commands/Host.h"

#include <QPointer>
#include <QWidget>

// The modal dialogs of the program, owned by the main window once it exists.
class TQtDialogs : public IDialogs {
public:
  void SetOwner(QWidget *owner);

  void ShowInformation(const QString &text) override;
  void ShowMessage(const QString &text) override;
  void ShowAbout(const QList<TAboutLine> &lines) override;
  bool Confirm(const QString &text) override;
  void ShowError(const QString &message) override;
  QString ChooseFile(const TFileChoice &choice) override;
  QString ChooseDirectory(const QString &title) override;
  QString ChooseSaveFile(const TFileChoice &choice) override;

private:
  QPointer<QWidget> FOwner;
};
