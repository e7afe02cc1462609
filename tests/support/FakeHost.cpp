#include "FakeHost.h"

#include "app/commands/SplitPaymentSettings.h"
#include "model/Exception.h"

#include <gtest/gtest.h>

namespace {

QString NextAnswer(std::deque<QString> &answers, const QString &question) {
  if (answers.empty()) {
    ADD_FAILURE() << "Unexpected chooser: " << question.toStdString();
    return QString();
  }
  QString answer = answers.front();
  answers.pop_front();
  return answer;
}

} // namespace

TFakeHost::TFakeHost(const TAppPaths &paths)
    : Clock(QDate(2026, 3, 5), QTime(14, 5, 9)), FHost{*this, *this, *this, *this, *this, [this] { return Clock; },
                                                       paths} {}

void TFakeHost::Append(const QString &text, bool withSeparator, TLogKind kind) {
  LogEntries.push_back({text, withSeparator, kind});
}

void TFakeHost::ShowInformation(const QString &text) { InformationBoxes.append(text); }

void TFakeHost::ShowMessage(const QString &text) { MessageBoxes.append(text); }

void TFakeHost::ShowAbout(const QList<TAboutLine> &lines) { AboutBoxes.push_back(lines); }

bool TFakeHost::Confirm(const QString &text) {
  Confirmations.append(text);
  if (ConfirmAnswers.empty()) {
    ADD_FAILURE() << "Unexpected confirmation: " << text.toStdString();
    return false;
  }
  const bool answer = ConfirmAnswers.front();
  ConfirmAnswers.pop_front();
  return answer;
}

void TFakeHost::ShowError(const QString &message) { ErrorBoxes.append(message); }

QString TFakeHost::ChooseFile(const TFileChoice &choice) {
  FileChoices.push_back(choice);
  return NextAnswer(ChooserAnswers, choice.Title);
}

QString TFakeHost::ChooseSaveFile(const TFileChoice &choice) {
  FileChoices.push_back(choice);
  return NextAnswer(ChooserAnswers, choice.Title);
}

QString TFakeHost::ChooseDirectory(const QString &title) {
  DirectoryChoices.append(title);
  return NextAnswer(ChooserAnswers, title);
}

void TFakeHost::OpenWithDefaultApplication(const QString &fileName) { OpenedFiles.append(fileName); }

void TFakeHost::OpenInTextEditor(const QString &argument) { EditorArguments.append(argument); }

void TFakeHost::PlaySound(const QString &fileName) { Sounds.append(fileName); }

void TFakeHost::SendFileToAuthor(const QString &body, const QString &fileName) {
  SentMails.push_back({body, fileName});
  if (MailCancelled)
    throw TCancelled(QStringLiteral("Wysyłanie pliku przerwane przez użytkownika."));
  if (!MailFailure.isEmpty())
    throw Exception(MailFailure, MailFailureDetail);
}

TProcessResult TFakeHost::Run(const QString &program, const QStringList &arguments, int timeoutMs) {
  ProcessCalls.push_back({program, arguments, timeoutMs});
  if (ProcessBehaviour)
    return ProcessBehaviour(ProcessCalls.back());
  TProcessResult ended;
  ended.Started = true;
  return ended;
}
void TFakeHost::TrustLauncher(const QString &fileName) { TrustedLaunchers.append(fileName); }

void TFakeMPPControls::SetMPPChecked(bool checked) {
  if (checked == FChecked)
    return;
  FChecked = checked;
  if (OnCheckChanged)
    OnCheckChanged();
}

void TFakeMPPControls::SetFormatIndex(int index) {
  if (index == FIndex)
    return;
  FIndex = index;
  if (OnGroupChanged)
    OnGroupChanged();
}

void TFakeMPPControls::ConnectTo(TSplitPaymentSettings &settings) {
  OnCheckChanged = [&settings] { settings.CheckChanged(); };
  OnGroupChanged = [&settings] { settings.GroupChanged(); };
}
