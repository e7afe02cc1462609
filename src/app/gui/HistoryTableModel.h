#pragma once

#include "journal/JournalRecords.h"

#include <QAbstractTableModel>
#include <vector>

// The payments of the page "Historia", newest first: Data, Odbiorca, NIP, Numer faktury,
// Numer KSeF, Kwota, Waluta, Plik. Read only.
class THistoryTableModel : public QAbstractTableModel {
  Q_OBJECT

public:
  enum TColumn { colDate, colPayee, colNIP, colInvoice, colKsef, colAmount, colCurrency, colFile, ColumnCount };

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
