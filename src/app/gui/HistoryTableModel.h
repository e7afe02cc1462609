#pragma once

#include "journal/JournalRecords.h"

#include <QAbstractTableModel>
#include <vector>

// The payments of the page "Historia", newest first: Data, Odbiorca, NIP, Numer faktury,
// Numer KSeF, Kwota, Waluta, Plik, Wycofany (the day its file was withdrawn). Read only. It holds
// the pages read so far; when the view wants more rows it asks for them with MoreWanted, and
// Append brings them.
class THistoryTableModel : public QAbstractTableModel {
  Q_OBJECT

public:
  enum class TColumn { Date, Payee, NIP, Invoice, Ksef, Amount, Currency, File, Withdrawn };
  static constexpr int ColumnCount = 9;
  // The column's number, as Qt's views and indexes take it.
  static constexpr int Index(TColumn column) { return static_cast<int>(column); }

  explicit THistoryTableModel(QObject *parent = nullptr);

  // A listing's first page; `more` says whether more rows may follow.
  void SetEntries(std::vector<THistoryEntry> entries, bool more);
  // Its next page.
  void Append(const std::vector<THistoryEntry> &entries, bool more);
  const THistoryEntry &Entry(int row) const { return FEntries.at(std::size_t(row)); }

  int rowCount(const QModelIndex &parent = {}) const override;
  int columnCount(const QModelIndex &parent = {}) const override;
  QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  bool canFetchMore(const QModelIndex &parent) const override;
  void fetchMore(const QModelIndex &parent) override;

signals:
  // The rows below the payment `below` (its journal Id) are wanted.
  void MoreWanted(std::int64_t below);

private:
  std::vector<THistoryEntry> FEntries;
  bool FMore = false;
  bool FFetching = false;
};
