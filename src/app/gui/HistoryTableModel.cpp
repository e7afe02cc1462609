#include "app/gui/HistoryTableModel.h"

#include "journal/HistoryText.h"

THistoryTableModel::THistoryTableModel(QObject *parent) : QAbstractTableModel(parent) {}

void THistoryTableModel::SetEntries(std::vector<THistoryEntry> entries) {
  beginResetModel();
  FEntries = std::move(entries);
  endResetModel();
}

int THistoryTableModel::rowCount(const QModelIndex &parent) const {
  return parent.isValid() ? 0 : int(FEntries.size());
}

int THistoryTableModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant THistoryTableModel::data(const QModelIndex &index, int role) const {
  if (!index.isValid() || index.row() >= int(FEntries.size()))
    return {};
  if (role == Qt::TextAlignmentRole && index.column() == colAmount)
    return QVariant(Qt::AlignRight | Qt::AlignVCenter);
  if (role != Qt::DisplayRole)
    return {};
  const THistoryEntry &entry = FEntries[std::size_t(index.row())];
  switch (index.column()) {
  case colDate: return entry.WrittenAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
  case colPayee: return entry.PayeeName;
  case colNIP: return entry.PayeeNIP;
  case colInvoice: return entry.InvoiceNumber;
  case colKsef: return entry.KsefNumber;
  case colAmount: return PolishAmount(entry.Amount);
  case colCurrency: return entry.Currency;
  case colFile: return entry.ArchivePath.section(u'/', -1);
  default: return {};
  }
}

QVariant THistoryTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
    return {};
  static const char *const Titles[ColumnCount] = {"Data",       "Odbiorca", "NIP",    "Numer faktury",
                                                  "Numer KSeF", "Kwota",    "Waluta", "Plik"};
  return section >= 0 && section < ColumnCount ? QString::fromUtf8(Titles[section]) : QVariant();
}
