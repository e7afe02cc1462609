#include "app/commands/SplitPaymentSettings.h"

#include "settings/Settings.h"

#include <iterator>

namespace {

// The items of the group "Format MPP" in their order: "Bez Struktury", "Struktura", "Both",
// "Standard bankowy (/VAT/…/IDC/…/INV/…/TXT/…)".
constexpr TMPPFormat FormatOfItem[] = {TMPPFormat::Ustrd, TMPPFormat::Structured, TMPPFormat::Both,
                                       TMPPFormat::Standard};

} // namespace

const QString TSplitPaymentSettings::HelpText = QStringLiteral(
    "Pole „MPP” włącza mechanizm podzielonej płatności dla przelewów faktur (pojedynczych i paczek). Grupa „Format "
    "MPP” wybiera, jak przelew podaje kwotę VAT i NIP dostawcy:\r\r"
    "Bez Struktury: tytuł /VAT/230.00/IDC/numer faktury/TXT/NIP dostawcy (układ wcześniejszych plików programu: "
    "kropka w kwocie, numer faktury po /IDC/).\r\r"
    "Struktura: pola strukturalne ISO 20022: NIP dostawcy, numer KSeF faktury, kwota VAT i dopisek „Płatność "
    "podzielona”.\r\r"
    "Both: oba powyższe naraz; w polach strukturalnych zamiast numeru KSeF jest numer faktury.\r\r"
    "Standard bankowy: tytuł /VAT/230,00/IDC/NIP dostawcy/INV/numer KSeF faktury/TXT/numer faktury, w postaci "
    "formularzy przelewu banków; bez numeru KSeF w /INV/ stoi numer faktury, a w /TXT/ dodatkowa referencja. Ten "
    "tytuł banki odczytują jako przelew w mechanizmie podzielonej płatności; inny format wybierz tylko wtedy, gdy "
    "Twój bank go wymaga.");

TSplitPaymentSettings::TSplitPaymentSettings(IMPPControls &controls, const QString &settingsFile)
    : FControls(controls), FSettingsFile(settingsFile) {}

void TSplitPaymentSettings::Load() {
  FCurrent = TSettings::LoadMPP(FSettingsFile);
  // The controls start cleared and unselected, so these changes run the handlers, and the
  // selection always changes: every start writes the choice back once.
  FControls.SetMPPChecked(FCurrent.Enabled);
  FControls.SetFormatGroupEnabled(FControls.MPPChecked());
  FControls.SetFormatIndex(IndexOfFormat(FCurrent.Format));
}

void TSplitPaymentSettings::CheckChanged() {
  FControls.SetFormatGroupEnabled(FControls.MPPChecked());
  FControls.SetFormatIndex(IndexOfFormat(FCurrent.Format));
  Save();
}

void TSplitPaymentSettings::GroupChanged() { Save(); }

void TSplitPaymentSettings::Save() {
  FCurrent = FromControls();
  TSettings::SaveMPP(FSettingsFile, FCurrent);
}

TMPPSettings TSplitPaymentSettings::FromControls() const {
  TMPPSettings mpp;
  mpp.Enabled = FControls.MPPChecked();
  mpp.Format = FormatOfIndex(FControls.FormatIndex());
  return mpp;
}

void TSplitPaymentSettings::SwitchOff() {
  FControls.SetMPPChecked(false);
  FCurrent = FromControls();
}

TMPPSettings TSplitPaymentSettings::AsShown(TMPPSettings stored) {
  stored.Format = FormatOfIndex(IndexOfFormat(stored.Format));
  return stored;
}

int TSplitPaymentSettings::IndexOfFormat(TMPPFormat format) {
  for (int index = 0; index < int(std::size(FormatOfItem)); ++index)
    if (FormatOfItem[index] == format)
      return index;
  // A format without an item of its own is shown as "Bez Struktury".
  return 0;
}

TMPPFormat TSplitPaymentSettings::FormatOfIndex(int index) {
  return index >= 0 && index < int(std::size(FormatOfItem)) ? FormatOfItem[index] : TMPPFormat::None;
}
