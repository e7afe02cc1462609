#pragma once

#include "app/gui/DueQueries.h"

#include <QAbstractTableModel>
#include <QDate>
#include <QSet>

// The invoices of the page "Do zapłaty", by due date: a tick box, then Termin, Sprzedawca,
// Do zapłaty, Waluta, Status (what the user looks for first), NIP, Numer faktury, Numer KSeF,
// Data wystawienia, Brutto, Rachunek, Biała lista. Overdue rows are marked red. The ticks are kept by invoice file, so
// that they stay while the filter hides a row or the list is read again.
class TDueTableModel : public QAbstractTableModel {
  Q_OBJECT

public:
  enum class TColumn {
    Tick,
    Due,
    Seller,
    ToPay,
    Currency,
    Status,
    NIP,
    Invoice,
    Ksef,
    Issued,
    Gross,
    Account,
    WhiteList
  };
  static constexpr int ColumnCount = 13;
  static constexpr int Index(TColumn column) { return static_cast<int>(column); }

  explicit TDueTableModel(QObject *parent = nullptr);

  // The rows to show; overdue are those due before `today`.
  void SetListing(const TDueListing &listing, QDate today);
  const TDueInvoice &Invoice(int row) const;

  // The ticked invoices of the list read last, in its order, shown or not.
  std::vector<TDueInvoice> Ticked() const;
  void SetTicked(int row, bool ticked);

  int rowCount(const QModelIndex &parent = {}) const override;
  int columnCount(const QModelIndex &parent = {}) const override;
  QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
  bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
  Qt::ItemFlags flags(const QModelIndex &index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
  void TicksChanged();

private:
  QString Text(const TDueInvoice &invoice, TColumn column) const;

  TDueListing FListing;
  QDate FToday;
  QSet<QString> FTicked;
};
