#include "app/gui/DueTableModel.h"

#include "model/PolishNumbers.h"
#include "model/Text.h"

#include <QBrush>
#include <QColor>

TDueTableModel::TDueTableModel(QObject *parent) : QAbstractTableModel(parent) {}

void TDueTableModel::SetListing(const TDueListing &listing, QDate today) {
  beginResetModel();
  FListing = listing;
  FToday = today;
  endResetModel();
  emit TicksChanged();
}

const TDueInvoice &TDueTableModel::Invoice(int row) const {
  return FListing.Invoices->at(std::size_t(FListing.Shown.at(std::size_t(row))));
}

std::vector<TDueInvoice> TDueTableModel::Ticked() const {
  std::vector<TDueInvoice> ticked;
  if (FListing.Invoices)
    for (const TDueInvoice &invoice : *FListing.Invoices)
      if (FTicked.contains(invoice.FileName))
        ticked.push_back(invoice);
  return ticked;
}

void TDueTableModel::SetTicked(int row, bool ticked) {
  setData(index(row, Index(TColumn::Tick)), ticked ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
}

int TDueTableModel::rowCount(const QModelIndex &parent) const {
  return parent.isValid() ? 0 : int(FListing.Shown.size());
}

int TDueTableModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : ColumnCount; }

QString TDueTableModel::Text(const TDueInvoice &invoice, TColumn column) const {
  const TPayment &payment = invoice.Payment;
  switch (column) {
  case TColumn::Tick: return {};
  case TColumn::Due: return DueDateText(invoice);
  case TColumn::Seller: return payment.CreditorName;
  case TColumn::NIP: return payment.CreditorNIP;
  case TColumn::Invoice: return payment.InvoiceNumber;
  case TColumn::Ksef: return Trim(payment.nrKsef);
  case TColumn::Issued: return payment.InvoiceDate.date().toString(Qt::ISODate);
  case TColumn::Gross: return PolishAmount(invoice.Gross);
  case TColumn::ToPay: return PolishAmount(invoice.ToPay);
  case TColumn::Currency: return payment.CurrencyCode;
  case TColumn::Account: return payment.CreditorIBAN;
  case TColumn::Status: return DueStatusText(invoice);
  case TColumn::WhiteList: return invoice.WhiteList;
  }
  return {};
}

QVariant TDueTableModel::data(const QModelIndex &index, int role) const {
  if (!index.isValid() || index.row() >= rowCount())
    return {};
  const TDueInvoice &invoice = Invoice(index.row());
  const auto column = static_cast<TColumn>(index.column());
  switch (role) {
  case Qt::DisplayRole: return Text(invoice, column);
  case Qt::CheckStateRole:
    if (column == TColumn::Tick)
      return FTicked.contains(invoice.FileName) ? Qt::Checked : Qt::Unchecked;
    return {};
  case Qt::TextAlignmentRole:
    if (column == TColumn::Gross || column == TColumn::ToPay)
      return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    return {};
  case Qt::ForegroundRole:
    if (IsOverdue(invoice, FToday))
      return QBrush(QColor(0xb0, 0x00, 0x20));
    return {};
  case Qt::ToolTipRole:
    if (IsOverdue(invoice, FToday))
      return QStringLiteral("Po terminie płatności");
    return {};
  default: return {};
  }
}

bool TDueTableModel::setData(const QModelIndex &index, const QVariant &value, int role) {
  if (!index.isValid() || role != Qt::CheckStateRole || index.column() != Index(TColumn::Tick))
    return false;
  const QString file = Invoice(index.row()).FileName;
  if (value.value<Qt::CheckState>() == Qt::Checked)
    FTicked.insert(file);
  else
    FTicked.remove(file);
  emit dataChanged(index, index, {Qt::CheckStateRole});
  emit TicksChanged();
  return true;
}

Qt::ItemFlags TDueTableModel::flags(const QModelIndex &index) const {
  Qt::ItemFlags flags = QAbstractTableModel::flags(index);
  if (index.column() == Index(TColumn::Tick))
    flags |= Qt::ItemIsUserCheckable;
  return flags;
}

QVariant TDueTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
    return {};
  static const char *const titles[ColumnCount] = {
      "",           "Termin",           "Sprzedawca", "Do zapłaty", "Waluta",     "Status", "NIP", "Numer faktury",
      "Numer KSeF", "Data wystawienia", "Brutto",     "Rachunek",   "Biała lista"};
  return section >= 0 && section < ColumnCount ? QString::fromUtf8(titles[section]) : QVariant();
}
