#include "app/gui/BankTableModel.h"
#include "TestSupport.h"

#include <QFont>
#include <QSignalSpy>

namespace {

using TModel = TBankTableModel;
using TColumn = TModel::TColumn;

struct TColumnCase {
  TColumn Column;
  const char *Title;
  Qt::Alignment TitleAlignment;
  Qt::Alignment CellAlignment;
  const char *Cell;
};

const TBankRow Row{
    QStringLiteral("Konto1"),   QStringLiteral("Główne"),     QStringLiteral("PL61109010140000071219812874"),
    QStringLiteral("WBKPPLPP"), QStringLiteral("5260250274"), QStringLiteral("Spółka Złota")};

TEST(BankTableModelTest, ColumnsShowTheRowWithTheirTitlesAndAlignments) {
  TModel model;
  model.SetRows({Row, TBankRow{}});
  ASSERT_EQ(model.rowCount(), 2);
  ASSERT_EQ(model.columnCount(), 6);

  const Qt::Alignment centred = Qt::AlignCenter;
  const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
  const TColumnCase columns[] = {
      {TColumn::Konto, "Konto", centred, centred, "Konto1"},
      {TColumn::Opis, "Opis konta", centred, left, "Główne"},
      {TColumn::IBAN, "IBAN", centred, centred, "PL61109010140000071219812874"},
      {TColumn::BIC, "BIC", centred, centred, "WBKPPLPP"},
      {TColumn::NIP, "NIP", centred, centred, "5260250274"},
      {TColumn::Name, "Nazwa Płatnika", left, left, "Spółka Złota"},
  };
  for (const TColumnCase &column : columns) {
    SCOPED_TRACE(column.Title);
    const int section = TModel::Index(column.Column);
    EXPECT_EQ(model.headerData(section, Qt::Horizontal).toString(), QString::fromUtf8(column.Title));
    EXPECT_TRUE(model.headerData(section, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());
    EXPECT_EQ(Qt::Alignment(model.headerData(section, Qt::Horizontal, Qt::TextAlignmentRole).toInt()),
              column.TitleAlignment);
    const QModelIndex cell = model.index(0, section);
    EXPECT_EQ(model.data(cell).toString(), QString::fromUtf8(column.Cell));
    // A text cut to the column's width is read whole in the tip.
    EXPECT_EQ(model.data(cell, Qt::ToolTipRole).toString(), QString::fromUtf8(column.Cell));
    EXPECT_EQ(Qt::Alignment(model.data(cell, Qt::TextAlignmentRole).toInt()), column.CellAlignment);
    EXPECT_FALSE(model.flags(cell).testFlag(Qt::ItemIsEditable));
    EXPECT_TRUE(model.flags(cell).testFlag(Qt::ItemIsSelectable));
    EXPECT_EQ(model.data(model.index(1, section)).toString(), QString());
  }
}

TEST(BankTableModelTest, NewRowsReplaceTheOldOnesInOneReset) {
  TModel model;
  model.SetRows({Row, Row, Row});
  QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
  TBankRow changed = Row;
  changed.Opis = QStringLiteral("Inne");
  model.SetRows({changed});
  EXPECT_EQ(resets.count(), 1);
  EXPECT_EQ(model.rowCount(), 1);
  EXPECT_EQ(model.data(model.index(0, TModel::Index(TColumn::Opis))).toString(), QStringLiteral("Inne"));
  EXPECT_FALSE(model.index(1, TModel::Index(TColumn::Opis)).isValid());
}

} // namespace
