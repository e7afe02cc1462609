#include "app/gui/BankTableModel.h"

#include <QFont>

namespace {

struct TColumnLook {
  const char16_t *Title;
  Qt::Alignment TitleAlignment;
  Qt::Alignment CellAlignment;
};

constexpr Qt::Alignment Centred = Qt::AlignCenter;
constexpr Qt::Alignment Left = Qt::AlignLeft | Qt::AlignVCenter;

const TColumnLook Columns[TBankTableModel::ColumnCount] = {
    {u"Konto", Centred, Centred}, {u"Opis konta", Centred, Left}, {u"IBAN", Centred, Centred},
    {u"BIC", Centred, Centred},   {u"NIP", Centred, Centred},     {u"Nazwa Płatnika", Left, Left},
};

const QString &Field(const TBankRow &row, int column) {
  switch (static_cast<TBankTableModel::TColumn>(column)) {
  case TBankTableModel::TColumn::Konto: return row.konto;
  case TBankTableModel::TColumn::Opis: return row.Opis;
  case TBankTableModel::TColumn::IBAN: return row.IBAN;
  case TBankTableModel::TColumn::BIC: return row.BIC;
  case TBankTableModel::TColumn::NIP: return row.NIP;
  default: return row.Name;
  }
}

} // namespace

TBankTableModel::TBankTableModel(QObject *parent) : QAbstractTableModel(parent) {}

void TBankTableModel::SetRows(const std::vector<TBankRow> &rows) {
  beginResetModel();
  FRows = rows;
  endResetModel();
}

int TBankTableModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(FRows.size()); }

int TBankTableModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant TBankTableModel::data(const QModelIndex &index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid))
    return {};
  // The tip gives the whole text of a cell cut to its column's width.
  if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
    return Field(FRows[std::size_t(index.row())], index.column());
  // Item views read an alignment as a plain integer.
  if (role == Qt::TextAlignmentRole)
    return Columns[index.column()].CellAlignment.toInt();
  return {};
}

QVariant TBankTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
    return QAbstractTableModel::headerData(section, orientation, role);
  switch (role) {
  case Qt::DisplayRole: return QString::fromUtf16(Columns[section].Title);
  case Qt::TextAlignmentRole: return Columns[section].TitleAlignment.toInt();
  case Qt::FontRole: {
    QFont bold;
    bold.setBold(true);
    return bold;
  }
  default: return {};
  }
}

Qt::ItemFlags TBankTableModel::flags(const QModelIndex &index) const {
  return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
}
