#pragma once

#include "app/commands/Host.h"
#include "model/Types.h"

// The program-wide split-payment choice (CurrentMPPSettings) and the handlers of its two
// controls. Every change of the controls is written to settings.ini at once.
class TSplitPaymentSettings {
public:
  TSplitPaymentSettings(IMPPControls &controls, const QString &settingsFile);

  // Start-up: loads the stored choice and shows it, which writes it back once.
  void Load();
  // Change handlers of the check box and of the radio group.
  void CheckChanged();
  void GroupChanged();
  // SaveMPPSettings: takes the choice from the controls and writes it.
  void Save();

  TMPPSettings FromControls() const;
  const TMPPSettings &Current() const { return FCurrent; }

  // Clears the check box (its handler saves) and takes the controls' choice, so split
  // payment is off. The VideoTel transfer always runs this way.
  void SwitchOff();

  // The help of the group "Format MPP": what each of its formats writes.
  static const QString HelpText;

  // A stored format without an item of its own (TMPPFormat::None) is shown, and so used, as
  // "Bez Struktury" (TMPPFormat::Ustrd).
  static TMPPSettings AsShown(TMPPSettings stored);
  static int IndexOfFormat(TMPPFormat format);
  static TMPPFormat FormatOfIndex(int index);

private:
  IMPPControls &FControls;
  QString FSettingsFile;
  TMPPSettings FCurrent;
};
