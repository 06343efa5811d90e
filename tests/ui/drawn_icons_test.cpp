#include "ui/drawn_icons.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <set>

namespace kelmor::test {
namespace {

int paintedPixels(const QImage& image) {
    int painted = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            painted += qAlpha(image.pixel(x, y)) != 0 ? 1 : 0;
    return painted;
}

class DrawnIconSizeTest : public ::testing::TestWithParam<int> {};

// Every picture fills the size a tab or tool bar asks for, is not blank, has a
// greyed disabled form, and no two pictures are the same.
TEST_P(DrawnIconSizeTest, EveryPictureIsDrawnAtTheSizeAskedAndDiffers) {
    const int side = GetParam();
    std::set<QByteArray> seen;
    for (int kind = 0; kind <= static_cast<int>(DrawnIcon::Last); ++kind) {
        const QIcon icon = drawnIcon(static_cast<DrawnIcon>(kind));
        const QImage normal = icon.pixmap(QSize(side, side)).toImage();
        ASSERT_EQ(normal.size(), QSize(side, side)) << kind;
        EXPECT_EQ(icon.actualSize(QSize(side, side + 8)), QSize(side, side)) << kind;
        EXPECT_GT(paintedPixels(normal), side * side / 10) << kind;
        EXPECT_NE(icon.pixmap(QSize(side, side), QIcon::Disabled).toImage(), normal) << kind;
        const QByteArray bits(reinterpret_cast<const char*>(normal.constBits()),
                              static_cast<qsizetype>(normal.sizeInBytes()));
        EXPECT_TRUE(seen.insert(bits).second) << "picture " << kind << " repeats another";
    }
}

INSTANTIATE_TEST_SUITE_P(TabAndToolBarSizes, DrawnIconSizeTest, ::testing::Values(16, 32));

TEST(DrawnIconTest, PaintCentresThePictureInTheRectangle) {
    QImage canvas(40, 40, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    {
        QPainter painter(&canvas);
        drawnIcon(DrawnIcon::Save).paint(&painter, QRect(8, 4, 24, 16));
    }
    // The 16-pixel picture sits in the middle of the 24 by 16 rectangle: x 12 to 27.
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if (qAlpha(canvas.pixel(x, y)) != 0) {
                EXPECT_TRUE(x >= 12 && x < 28 && y >= 4 && y < 20) << x << "," << y;
            }
    EXPECT_GT(paintedPixels(canvas), 0);
}

} // namespace
} // namespace kelmor::test
