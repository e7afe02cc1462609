#pragma once

#include "journal/JournalRecords.h"

#include <QAbstractTableModel>
#include <vector>

// The payments of the page "Historia", newest first: Data, Odbiorca, NIP, Numer faktury,
// Numer KSeF, Kwota, Waluta, Plik, Wycofany (the day its file was withdrawn). Read only.
class THistoryTableModel : public QAbstractTableModel {
  Q_OBJECT

public:
  enum class TColumn { Date, Payee, NIP, Invoice, Ksef, Amount, Currency, File, Withdrawn };
  static constexpr int ColumnCount = 9;
  // The column's number, as Qt's views and indexes take it.
  static constexpr int Index(TColumn column) { return static_cast<int>(column); }

  explicit THistoryTableModel(QObject *parent = nullptr);

  void SetEntries(std::vector<THistoryEntry> entries);
  const std::vector<THistoryEntry> &Entries() const { return FEntries; }

  int rowCount(const QModelIndex &parent = {}) const override;
  int columnCount(const QModelIndex &parent = {}) const override;
  QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
  std::vector<THistoryEntry> FEntries;
};
