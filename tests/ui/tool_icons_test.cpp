#include "ui/tool_icons.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace kelmor::test {
namespace {

TEST(ToolIconTest, SmallSizesGetTheStylesSmallPicture) {
    const QIcon icon = toolIcon(QStyle::SP_DialogOpenButton);
    const QPixmap small = QApplication::style()->standardPixmap(QStyle::SP_DialogOpenButton);
    ASSERT_FALSE(small.isNull());
    EXPECT_FALSE(icon.isNull());
    EXPECT_EQ(icon.pixmap(small.size()).toImage(), small.toImage());
    EXPECT_EQ(icon.actualSize(QSize(20, 20)), small.size());
}

TEST(ToolIconTest, LargeSizesComeFromTheFullSet) {
    const QIcon icon = toolIcon(QStyle::SP_DialogOpenButton);
    const QSize small = QApplication::style()->standardPixmap(QStyle::SP_DialogOpenButton).size();
    EXPECT_GT(icon.pixmap(QSize(64, 64)).width(), small.width());
}

TEST(ToolIconTest, LargeSizesAreFilledEvenWithoutSuchAPicture) {
    // The style's floppy picture exists only in small sizes; a 32-pixel bar still gets 32.
    EXPECT_EQ(toolIcon(QStyle::SP_DriveFDIcon).pixmap(QSize(32, 32)).size(), QSize(32, 32));
}

TEST(ToolIconTest, NeverLargerThanAsked) {
    // The style's small play picture is 32 pixels; a 16-pixel tab gets it scaled down.
    const QIcon icon = toolIcon(QStyle::SP_MediaPlay);
    EXPECT_EQ(icon.pixmap(QSize(16, 16)).size(), QSize(16, 16));
    EXPECT_EQ(icon.actualSize(QSize(16, 16)), QSize(16, 16));
}

TEST(ToolIconTest, DisabledPictureIsTheStylesGreyedVersion) {
    const QIcon icon = toolIcon(QStyle::SP_DialogSaveButton);
    const QImage normal = icon.pixmap(QSize(16, 16)).toImage();
    const QImage disabled = icon.pixmap(QSize(16, 16), QIcon::Disabled).toImage();
    EXPECT_EQ(disabled.size(), normal.size());
    EXPECT_NE(disabled, normal);
}

TEST(ToolIconTest, PaintCentresThePictureInTheRectangle) {
    QImage canvas(40, 40, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    {
        QPainter painter(&canvas);
        toolIcon(QStyle::SP_DialogSaveButton).paint(&painter, QRect(8, 8, 24, 24));
    }
    // The 16-pixel picture sits in the middle of the 24-pixel rectangle: 12 to 27.
    int drawn = 0;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if (qAlpha(canvas.pixel(x, y)) != 0) {
                ++drawn;
                EXPECT_TRUE(x >= 12 && x < 28 && y >= 12 && y < 28) << x << "," << y;
            }
    EXPECT_GT(drawn, 0);
}

} // namespace
} // namespace kelmor::test
