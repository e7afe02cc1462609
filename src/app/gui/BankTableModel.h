#pragma once

#include "app/commands/BankTable.h"

#include <QAbstractTableModel>
#include <vector>

// The bank table as the grid of the page "Banki" shows it: one row per account, the columns
// Konto (never shown), Opis konta, IBAN, BIC, NIP, Nazwa Płatnika. Read only.
class TBankTableModel : public QAbstractTableModel {
  Q_OBJECT

public:
  enum class TColumn { Konto, Opis, IBAN, BIC, NIP, Name };
  static constexpr int ColumnCount = 6;
  // The column's number, as Qt's views and indexes take it.
  static constexpr int Index(TColumn column) { return static_cast<int>(column); }

  explicit TBankTableModel(QObject *parent = nullptr);

  void SetRows(const std::vector<TBankRow> &rows);

  int rowCount(const QModelIndex &parent = {}) const override;
  int columnCount(const QModelIndex &parent = {}) const override;
  QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
  std::vector<TBankRow> FRows;
};
