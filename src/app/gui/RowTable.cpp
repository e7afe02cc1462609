#include "app/gui/RowTable.h"

#include <QHeaderView>
#include <QTableView>

void ShowAsRowTable(QTableView &grid, QAbstractItemModel *model) {
  grid.setModel(model);
  grid.setSelectionBehavior(QAbstractItemView::SelectRows);
  grid.setSelectionMode(QAbstractItemView::SingleSelection);
  grid.setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid.verticalHeader()->hide();
  grid.horizontalHeader()->setStretchLastSection(true);
  grid.horizontalHeader()->setResizeContentsPrecision(0);
}
