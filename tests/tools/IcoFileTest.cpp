#include "IcoFile.h"
#include "ProgramIcon.h"

#include "TestSupport.h"

#include <QBuffer>
#include <QImageReader>
#include <gtest/gtest.h>

namespace {

TEST(IcoFileTest, WindowsIconReadersFindEverySize) {
  QByteArray bytes = IcoFileBytes({DrawProgramIcon(16), DrawProgramIcon(48), DrawProgramIcon(256)});
  QBuffer buffer(&bytes);
  QImageReader reader(&buffer, "ico");

  ASSERT_EQ(reader.imageCount(), 3) << reader.errorString().toStdString();
  QList<int> widths;
  for (int index = 0; index < reader.imageCount(); ++index) {
    ASSERT_TRUE(reader.jumpToImage(index));
    const QImage image = reader.read();
    EXPECT_EQ(image.width(), image.height());
    widths << image.width();
  }
  EXPECT_EQ(widths, (QList<int>{16, 48, 256}));
}

} // namespace
