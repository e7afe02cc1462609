#pragma once

class QAbstractItemModel;
class QTableView;

// Shows `model` in `grid` as a list of records: whole rows selected one at a time, nothing edited
// in place, no row numbers, the last column stretched, and columns sized to the rows on the
// screen only, however many have been read.
void ShowAsRowTable(QTableView &grid, QAbstractItemModel *model);
