#pragma once

#include "app/gui/BankTableModel.h"

#include <QTableView>
#include <QTest>

// Double-clicks a row of the bank grid as a user does. The view reports a double click only
// after a press on the same cell, so the click comes first.
inline void DoubleClickRow(QTableView &grid, int row) {
  const QPoint cell =
      grid.visualRect(grid.model()->index(row, TBankTableModel::Index(TBankTableModel::TColumn::Opis))).center();
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell);
  QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, cell);
}
