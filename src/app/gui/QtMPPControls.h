#pragma once

#include "app/commands/Host.h"

#include <exception>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QGroupBox;

// The check box "MPP" and the radio group "Format MPP" seen by the split-payment settings.
// A change runs the control's handler whoever makes it: the user's click or a setter. An error
// of a handler run by a setter travels on to the setter's caller, as if the handler had been
// called directly; an error of a handler run by a click ends in the default error box.
class TQtMPPControls : public IMPPControls {
public:
  // `items` holds the group's radio buttons with the ids 0, 1, 2, ... in item order.
  TQtMPPControls(QCheckBox &check, QGroupBox &group, QButtonGroup &items);

  void OnChanges(std::function<void()> checkChanged, std::function<void()> groupChanged, IDialogs &errorDialogs);

  bool MPPChecked() const override;
  void SetMPPChecked(bool checked) override;
  void SetFormatGroupEnabled(bool enabled) override;
  int FormatIndex() const override;
  // An index that names no item clears the selection.
  void SetFormatIndex(int index) override;

private:
  void RunHandler(const std::function<void()> &handler);
  void ClearSelection();
  // Runs a change made by the program and passes the first error of the handlers it ran on to
  // its caller.
  void ChangeFromProgram(const std::function<void()> &change);

  QCheckBox &FCheck;
  QGroupBox &FGroup;
  QButtonGroup &FItems;
  std::function<void()> FCheckChanged;
  std::function<void()> FGroupChanged;
  IDialogs *FErrorDialogs = nullptr;
  int FProgramChanges = 0;
  std::exception_ptr FHandlerError;
};
