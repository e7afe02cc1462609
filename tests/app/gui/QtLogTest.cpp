#include "app/gui/QtLog.h"

#include "GuiTestSupport.h"
#include "TestSupport.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <memory>

namespace {

class TQtLogTest : public ::testing::Test {
protected:
  void SetUp() override {
    for (const char *name : {"MemoLog", "MemoTech"}) {
      Views.emplace_back(TQtLog::NewView(QString::fromLatin1(name)));
      Views.back()->resize(300, 120);
      Views.back()->show();
    }
  }

  std::vector<std::unique_ptr<QPlainTextEdit>> Views;
};

TEST_F(TQtLogTest, ViewStartsWithItsNameAndNoScrollBar) {
  EXPECT_EQ(Views[0]->objectName(), QStringLiteral("MemoLog"));
  EXPECT_EQ(Views[0]->toPlainText(), QStringLiteral("MemoLog"));
  EXPECT_EQ(Views[0]->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  EXPECT_FALSE(Views[0]->isReadOnly());
}

TEST_F(TQtLogTest, EachEntryLeavesEveryLogShowingItsEnd) {
  TQtLog log({Views[0].get(), Views[1].get()});

  for (int entry = 1; entry <= 60; ++entry) {
    log.AppendLog(QStringLiteral("wpis %1").arg(entry), entry % 2 == 0);
    for (const auto &view : Views) {
      ASSERT_TRUE(view->textCursor().atEnd());
      ASSERT_EQ(view->verticalScrollBar()->value(), view->verticalScrollBar()->maximum()) << entry;
    }
  }

  for (const auto &view : Views) {
    EXPECT_EQ(view->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_GT(view->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(view->blockCount(), 1 + 60 + 30);
  }
}

TEST_F(TQtLogTest, EntryAfterTheUserMovedTheCaretStillGoesToTheEnd) {
  TQtLog log({Views[0].get()});
  log.AppendLog(QStringLiteral("pierwszy"), false);
  Views[0]->moveCursor(QTextCursor::Start);

  log.AppendLog(QStringLiteral("drugi"), false);

  EXPECT_EQ(Views[0]->toPlainText(), QStringLiteral("MemoLog\npierwszy\ndrugi"));
  EXPECT_TRUE(Views[0]->textCursor().atEnd());
}

} // namespace
