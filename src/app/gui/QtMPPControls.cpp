#include "app/gui/QtMPPControls.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>

TQtMPPControls::TQtMPPControls(QCheckBox &check, QGroupBox &group, QButtonGroup &items)
    : FCheck(check), FGroup(group), FItems(items) {}

void TQtMPPControls::OnChanges(std::function<void()> checkChanged, std::function<void()> groupChanged,
                               IDialogs &errorDialogs) {
  FCheckChanged = std::move(checkChanged);
  FGroupChanged = std::move(groupChanged);
  FErrorDialogs = &errorDialogs;
  QObject::connect(&FCheck, &QCheckBox::toggled, &FCheck, [this] { RunHandler(FCheckChanged); });
  // Of the two toggles of a move between items only the newly checked one is the change.
  QObject::connect(&FItems, &QButtonGroup::idToggled, &FItems, [this](int, bool checked) {
    if (checked)
      RunHandler(FGroupChanged);
  });
}

bool TQtMPPControls::MPPChecked() const { return FCheck.isChecked(); }

void TQtMPPControls::SetMPPChecked(bool checked) {
  ChangeFromProgram([&] { FCheck.setChecked(checked); });
}

void TQtMPPControls::SetFormatGroupEnabled(bool enabled) { FGroup.setEnabled(enabled); }

int TQtMPPControls::FormatIndex() const { return FItems.checkedId(); }

void TQtMPPControls::SetFormatIndex(int index) {
  QAbstractButton *item = FItems.button(index);
  if ((item ? index : -1) == FormatIndex())
    return;
  ChangeFromProgram([&] {
    if (item)
      item->setChecked(true);
    else
      ClearSelection();
  });
}

void TQtMPPControls::ClearSelection() {
  // An exclusive group never unchecks its last checked item, so exclusivity is lifted for the
  // moment it takes; the change to "nothing selected" is a change of the selection too.
  FItems.setExclusive(false);
  FItems.checkedButton()->setChecked(false);
  FItems.setExclusive(true);
  RunHandler(FGroupChanged);
}

void TQtMPPControls::RunHandler(const std::function<void()> &handler) {
  if (!handler)
    return;
  if (FProgramChanges == 0) {
    RunGuarded(*FErrorDialogs, handler);
    return;
  }
  try {
    handler();
  } catch (...) {
    if (!FHandlerError)
      FHandlerError = std::current_exception();
  }
}

void TQtMPPControls::ChangeFromProgram(const std::function<void()> &change) {
  ++FProgramChanges;
  change();
  --FProgramChanges;
  if (FHandlerError)
    std::rethrow_exception(std::exchange(FHandlerError, nullptr));
}
