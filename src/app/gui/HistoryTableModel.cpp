#include "app/gui/HistoryTableModel.h"

#include "journal/HistoryText.h"
#include "model/PolishNumbers.h"

THistoryTableModel::THistoryTableModel(QObject *parent) : QAbstractTableModel(parent) {}

void THistoryTableModel::SetEntries(std::vector<THistoryEntry> entries, bool more) {
  beginResetModel();
  FEntries = std::move(entries);
  FMore = more;
  FFetching = false;
  endResetModel();
}

void THistoryTableModel::Append(const std::vector<THistoryEntry> &entries, bool more) {
  FMore = more;
  FFetching = false;
  if (entries.empty())
    return;
  beginInsertRows({}, int(FEntries.size()), int(FEntries.size() + entries.size()) - 1);
  FEntries.insert(FEntries.end(), entries.begin(), entries.end());
  endInsertRows();
}

int THistoryTableModel::rowCount(const QModelIndex &parent) const {
  return parent.isValid() ? 0 : int(FEntries.size());
}

int THistoryTableModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant THistoryTableModel::data(const QModelIndex &index, int role) const {
  if (!index.isValid() || index.row() >= int(FEntries.size()))
    return {};
  if (role == Qt::TextAlignmentRole && index.column() == Index(TColumn::Amount))
    return QVariant(Qt::AlignRight | Qt::AlignVCenter);
  if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
    return {};
  const THistoryEntry &entry = FEntries[std::size_t(index.row())];
  switch (static_cast<TColumn>(index.column())) {
  case TColumn::Date: return entry.WrittenAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
  case TColumn::Payee: return entry.PayeeName;
  case TColumn::NIP: return entry.PayeeNIP;
  case TColumn::Invoice: return entry.InvoiceNumber;
  case TColumn::Ksef: return entry.KsefNumber;
  case TColumn::Amount: return PolishAmount(entry.Amount);
  case TColumn::Currency: return entry.Currency;
  // The column is sized to what the screen shows: a text cut there is read whole in the tip.
  case TColumn::File: return role == Qt::ToolTipRole ? entry.ArchivePath : entry.ArchivePath.section(u'/', -1);
  case TColumn::Withdrawn: return HistoryWithdrawnDate(entry);
  }
  return {};
}

QVariant THistoryTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
    return {};
  static const char *const Titles[ColumnCount] = {"Data",  "Odbiorca", "NIP",  "Numer faktury", "Numer KSeF",
                                                  "Kwota", "Waluta",   "Plik", "Wycofany"};
  return section >= 0 && section < ColumnCount ? QString::fromUtf8(Titles[section]) : QVariant();
}

bool THistoryTableModel::canFetchMore(const QModelIndex &parent) const {
  return !parent.isValid() && FMore && !FFetching && !FEntries.empty();
}

void THistoryTableModel::fetchMore(const QModelIndex &parent) {
  if (!canFetchMore(parent))
    return;
  FFetching = true;
  emit MoreWanted(FEntries.back().Id);
}
