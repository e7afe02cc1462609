#include "app/commands/BankRegister.h"

#include "app/commands/PayerDataCheck.h"

#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "model/Text.h"

#include <exception>

namespace {

const QString ProgramSection = QStringLiteral("Program");
const QString LastBankKey = QStringLiteral("LastBank");
const QString SectionPrefix = QStringLiteral("Konto");

QString SectionOfEntry(qsizetype index) { return SectionPrefix + QString::number(index + 1); }

// The entry that LastBank names: "Konto<n>" is entry n - 1, a number that does not read as
// one counts as 1; any other text, and any position outside the list, is the first entry.
int RememberedEntry(const QString &lastBank, int count) {
  if (count == 0)
    return -1;
  int index = 0;
  if (lastBank.startsWith(SectionPrefix, Qt::CaseSensitive)) {
    bool isNumber = false;
    const int n = lastBank.mid(SectionPrefix.size()).toInt(&isNumber, 10);
    index = (isNumber ? n : 1) - 1;
  }
  return index >= 0 && index < count ? index : 0;
}

} // namespace

const QString TBankRegister::HelpText = QStringLiteral(
    "Po wybraniu wiersza w tablicy powyżej użyj prawego przycisku myszki, w ten sposób uzyskasz dostęp do menu "
    "pomocniczego.\r\rBędziesz mógł dokonać korekty podświetlonego wiersza\r\ra także bedziesz mógł wykasować "
    "ostatni wiersz tablicy. ");

TBankRegister::TBankRegister(THost &host, IPayerFields &payer, IBankCombo &combo, IBankGrid &grid, IBankDialog &dialog)
    : FHost(host), FPayer(payer), FCombo(combo), FGrid(grid), FDialog(dialog) {}

QString TBankRegister::BankFile() const { return FHost.Paths.BankFile(); }

QString TBankRegister::SettingsFile() const { return FHost.Paths.SettingsFile(); }

void TBankRegister::Start() {
  FRows.clear();
  ShowTable(-1);
  // The table must mirror the register even when the list could not remember its choice
  // (settings.ini refused the write): a later save rewrites BANKI.INI from the table.
  std::exception_ptr failure;
  try {
    FillBankCombo();
  } catch (...) {
    failure = std::current_exception();
  }
  LoadBankTable();
  if (failure)
    std::rethrow_exception(failure);
}

QStringList TBankRegister::ReadBankComboItems() const {
  const TIniFile bank(BankFile());
  QStringList items;
  for (const QString &section : bank.ReadSections()) {
    const bool hasOpis = bank.ReadKeys(section).contains(QStringLiteral("Opis"), Qt::CaseInsensitive);
    items.append(hasOpis ? bank.ReadString(section, QStringLiteral("Opis")) : section);
  }
  return items;
}

void TBankRegister::FillBankCombo() {
  const QStringList items = ReadBankComboItems();
  FCombo.SetItems(items);
  FCombo.SetCurrentIndex(RememberedEntry(ReadLastBank(), int(items.size())));
  CmbBankChange();
}

void TBankRegister::RefreshBankComboItems() {
  const int current = FCombo.CurrentIndex();
  FCombo.SetItems(ReadBankComboItems());
  FCombo.SetCurrentIndex(current);
}

void TBankRegister::ShowPayingAccount() {
  const TCompanyData shown = FPayer.PayerData();
  const TCompanyData paying = TSettings::LoadCompany(SettingsFile());
  const bool same = Trim(shown.Name) == Trim(paying.Name) && Trim(shown.NIP) == Trim(paying.NIP) &&
                    NormalisedIban(shown.IBAN) == NormalisedIban(paying.IBAN) && Trim(shown.BIC) == Trim(paying.BIC);
  if (same)
    FPayer.ShowPayingAccount(QString());
  else if (NormalisedIban(paying.IBAN).isEmpty())
    FPayer.ShowPayingAccount(QStringLiteral("Przelewy nie mają jeszcze rachunku Płatnika: dane powyżej zaczną "
                                            "obowiązywać po naciśnięciu „Zapisz dane Płatnika”."));
  else
    FPayer.ShowPayingAccount(QStringLiteral("Przelewy są zlecane z rachunku %1 (%2) zapisanego w settings.ini, nie "
                                            "z danych powyżej, dopóki nie naciśniesz „Zapisz dane Płatnika”.")
                                 .arg(NormalisedIban(paying.IBAN), Trim(paying.Name)));
}

void TBankRegister::CmbBankChange() {
  const int index = FCombo.CurrentIndex();
  if (index < 0) {
    ShowPayingAccount();
    return;
  }
  WriteLastBank();
  // The list position decides the section, whatever the sections are called.
  const TIniFile bank(BankFile());
  const QString section = SectionOfEntry(index);
  TCompanyData payer;
  payer.NIP = bank.ReadString(section, QStringLiteral("NIP"));
  payer.Name = bank.ReadString(section, QStringLiteral("Name"));
  payer.IBAN = bank.ReadString(section, QStringLiteral("IBAN"));
  payer.BIC = bank.ReadString(section, QStringLiteral("BIC"));
  FPayer.SetPayerData(payer);
  ShowPayingAccount();
}

QString TBankRegister::ReadLastBank() const {
  return TIniFile(SettingsFile()).ReadString(ProgramSection, LastBankKey, QStringLiteral("Konto1"));
}

void TBankRegister::WriteLastBank() {
  TIniFile settings(SettingsFile());
  settings.WriteString(ProgramSection, LastBankKey, SectionOfEntry(FCombo.CurrentIndex()));
  settings.Save();
}

void TBankRegister::LoadBankTable() {
  const TIniFile bank(BankFile());
  FRows.clear();
  for (const QString &section : bank.ReadSections()) {
    TBankRow row;
    row.konto = section;
    row.Opis = bank.ReadString(section, QStringLiteral("Opis"));
    row.NIP = bank.ReadString(section, QStringLiteral("NIP"));
    row.Name = bank.ReadString(section, QStringLiteral("Name"));
    row.IBAN = bank.ReadString(section, QStringLiteral("IBAN"));
    row.BIC = bank.ReadString(section, QStringLiteral("BIC"));
    FRows.push_back(row);
  }
  // As after appending, the row read last is the current one.
  ShowTable(int(FRows.size()) - 1);
}

void TBankRegister::SaveBankTable() {
  // The whole new register is built in memory and replaces the file in one step, so a
  // refused write leaves the previous register whole instead of a half-erased one.
  TIniFile bank(BankFile());
  for (const QString &section : bank.ReadSections())
    bank.EraseSection(section);
  for (std::size_t i = 0; i < FRows.size(); ++i) {
    const TBankRow &row = FRows[i];
    const QString section = SectionOfEntry(qsizetype(i));
    bank.WriteString(section, QStringLiteral("Opis"), row.Opis);
    bank.WriteString(section, QStringLiteral("NIP"), row.NIP);
    bank.WriteString(section, QStringLiteral("Name"), row.Name);
    bank.WriteString(section, QStringLiteral("IBAN"), row.IBAN);
    bank.WriteString(section, QStringLiteral("BIC"), row.BIC);
  }
  bank.Save();
}

void TBankRegister::AddBank() {
  FRows.push_back(TBankRow{});
  ShowTable(int(FRows.size()) - 1);
  EditBankRow();
}

void TBankRegister::EditBankRow() {
  const int current = FGrid.CurrentRow();
  if (current < 0 || current >= int(FRows.size()))
    return;
  TBankRow edited = FRows[std::size_t(current)];
  if (!FDialog.EditBankRecord(edited))
    return;
  FRows[std::size_t(current)] = edited;
  ShowTable(current);
  SaveBankTable();
  RefreshBankComboItems();
  FHost.Log.AppendLog(QStringLiteral("Skorygowano zapis w tablicy banków."), false);
  FHost.Desktop.PlaySound(FHost.Paths.AppFilePath(QStringLiteral("file4.wav")));
}

void TBankRegister::DeleteLastBankRow() {
  if (FRows.empty())
    return;
  if (FGrid.CurrentRow() + 1 != int(FRows.size())) {
    FHost.Dialogs.ShowInformation(
        QStringLiteral("Sorry Batory ... ale można wykasować tylko ostatni wiersz w tabeli\r\r"));
    return;
  }
  if (!FHost.Dialogs.Confirm(QStringLiteral("Czy napewno chcesz wykasować ostatni wiersz tabeli ")))
    return;
  FRows.pop_back();
  ShowTable(int(FRows.size()) - 1);
  SaveBankTable();
  RefreshBankComboItems();
}

void TBankRegister::SavePayerData() {
  TCompanyData payer = FPayer.PayerData();
  payer.IBAN = NormalisedIban(payer.IBAN);
  FPayer.SetPayerData(payer);
  if (!ConfirmSavingDespiteProblems(FHost.Dialogs, CheckPayerData(payer)))
    return;
  TSettings::SaveCompany(SettingsFile(), payer);
  ShowPayingAccount();
  FHost.Log.AppendLog(QStringLiteral("Dane Płatnika zapisane w pliku [%1]").arg(SettingsFile()), false);
}

void TBankRegister::ShowHelp() { FHost.Dialogs.ShowInformation(HelpText); }

void TBankRegister::ShowTable(int currentRow) {
  FGrid.ShowRows(FRows);
  FGrid.SetCurrentRow(currentRow);
}
