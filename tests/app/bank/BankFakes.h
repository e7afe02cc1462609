#pragma once

#include "FakeHost.h"
#include "app/commands/BankRegister.h"

#include <functional>

// Stand-ins for what the window shows of the payer data and the register.

struct TFakePayerFields : IPayerFields {
  TCompanyData Fields;
  TCompanyData PayerData() const override { return Fields; }
  void SetPayerData(const TCompanyData &payer) override { Fields = payer; }
  QString PayingAccountNotice;
  void ShowPayingAccount(const QString &notice) override { PayingAccountNotice = notice; }
};

struct TFakeBankCombo : IBankCombo {
  QStringList Items;
  int Index = -1;
  void SetItems(const QStringList &items) override {
    Items = items;
    Index = -1;
  }
  int CurrentIndex() const override { return Index; }
  void SetCurrentIndex(int index) override { Index = index >= 0 && index < Items.size() ? index : -1; }
};

struct TFakeBankGrid : IBankGrid {
  std::vector<TBankRow> Shown;
  int Current = -1;
  void ShowRows(const std::vector<TBankRow> &rows) override {
    Shown = rows;
    Current = -1;
  }
  int CurrentRow() const override { return Current; }
  void SetCurrentRow(int row) override { Current = row >= 0 && row < int(Shown.size()) ? row : -1; }
};

// Answers the correction dialog: `Answer` may change the row and returns true for OK.
struct TFakeBankDialog : IBankDialog {
  std::function<bool(TBankRow &)> Answer = [](TBankRow &) { return false; };
  std::vector<TBankRow> Shown;
  bool EditBankRecord(TBankRow &row) override {
    Shown.push_back(row);
    return Answer(row);
  }
};

// The log entries as lines; an entry followed by the separator line is marked.
inline QStringList LogLines(const TFakeHost &host) {
  QStringList lines;
  for (const TLogEntry &entry : host.LogEntries)
    lines.append(entry.WithSeparator ? entry.Text + QStringLiteral(" +separator") : entry.Text);
  return lines;
}
