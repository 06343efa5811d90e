#include "base/error.h"
#include "imaging/bmp.h"
#include "imaging/picture_view.h"
#include "support/temp_folder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <optional>

namespace kelmor {
namespace {

// Runs the event loop until `done` holds or `timeoutMs` passes.
bool waitUntil(const std::function<bool()>& done, int timeoutMs = 3000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QTest::qWait(5);
    }
    return true;
}

Bitmap filled(int width, int height, Rgb colour) {
    Bitmap b(width, height, 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            b.setColor(x, y, colour);
    return b;
}

// An animation of single-colour 4 x 3 frames (red, green, blue, ...) with the
// given delays, a loop extension when `loops` is set, and the first frame's
// index 3 transparent.
Picture animation(const std::vector<int>& delays, std::optional<int> loops) {
    GifImage image;
    image.header().width = 4;
    image.header().height = 3;
    image.header().colorTable.colors = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {9, 9, 9}};
    for (std::size_t i = 0; i < delays.size(); ++i) {
        GifFrame frame;
        frame.hasImage = true;
        frame.width = 4;
        frame.height = 3;
        frame.pixels.assign(12, static_cast<std::uint8_t>(i % 3));
        GifGraphicControlExtension control;
        control.delayTime = static_cast<std::uint16_t>(delays[i]);
        if (i == 0) {
            frame.pixels[0] = 3;
            control.setTransparent(true);
            control.transparentColorIndex = 3;
        }
        frame.extensions.emplace_back(control);
        image.frames().push_back(frame);
    }
    if (loops) {
        GifLoopExtension loop;
        loop.loopCount = static_cast<std::uint16_t>(*loops);
        image.frames().front().extensions.insert(image.frames().front().extensions.begin(), loop);
    }
    return Picture(std::move(image));
}

QRgb centre(const PictureView& view) {
    return view.image().pixel(2, 1);
}

TEST(PictureView, SizesItselfToItsPictureAndKeepsItsSizeWhenCleared) {
    PictureView view;
    view.setPicture(Picture(filled(7, 5, {1, 2, 3})));
    EXPECT_EQ(view.size(), QSize(7, 5));
    EXPECT_EQ(view.image().pixel(6, 4), qRgb(1, 2, 3));
    view.setPicture(animation({10, 10}, 0));
    EXPECT_EQ(view.size(), QSize(4, 3));
    view.setPicture(view.picture()); // showing its own picture again keeps it
    EXPECT_EQ(view.picture().format(), PictureFormat::Gif);
    view.clear();
    EXPECT_TRUE(view.picture().empty());
    EXPECT_TRUE(view.image().isNull());
    EXPECT_EQ(view.size(), QSize(4, 3));
}

TEST(PictureView, StretchedViewKeepsItsOwnSizeAndFillsIt) {
    PictureView view;
    view.setAutoSize(false);
    view.setStretch(true);
    view.resize(50, 50);
    view.setPicture(Picture(filled(7, 5, {200, 10, 10})));
    EXPECT_EQ(view.size(), QSize(50, 50));
    const QImage shown = view.grab().toImage();
    EXPECT_EQ(shown.pixel(0, 0), qRgb(200, 10, 10));
    EXPECT_EQ(shown.pixel(49, 49), qRgb(200, 10, 10));
}

TEST(PictureView, SingleFrameGifIsShownStill) {
    PictureView view;
    view.setPicture(animation({10}, 0));
    EXPECT_FALSE(view.animating());
    EXPECT_EQ(view.currentFrame(), 0);
    EXPECT_EQ(centre(view), qRgb(255, 0, 0));
    EXPECT_EQ(qAlpha(view.image().pixel(0, 0)), 0); // the transparent pixel
}

TEST(PictureView, WithoutLoopExtensionPlaysOnceAndStopsOnTheLastFrame) {
    PictureView view;
    view.setPicture(animation({3, 3, 3}, std::nullopt));
    EXPECT_TRUE(view.animating());
    EXPECT_EQ(view.currentFrame(), 0);
    ASSERT_TRUE(waitUntil([&] { return !view.animating(); }));
    EXPECT_EQ(view.currentFrame(), 2);
    EXPECT_EQ(centre(view), qRgb(0, 0, 255));
}

TEST(PictureView, LoopCountZeroGoesOnUntilCleared) {
    PictureView view;
    view.setPicture(animation({3, 3}, 0));
    int wraps = 0;
    int last = view.currentFrame();
    ASSERT_TRUE(waitUntil([&] {
        if (view.currentFrame() < last)
            ++wraps;
        last = view.currentFrame();
        return wraps >= 3;
    }));
    EXPECT_TRUE(view.animating());
    view.clear();
    EXPECT_FALSE(view.animating());
    EXPECT_EQ(view.currentFrame(), -1);
    QTest::qWait(100);
    EXPECT_TRUE(view.image().isNull());
}

TEST(PictureView, AFrameStaysAtLeastItsDisplayDelay) {
    PictureView view;
    QElapsedTimer clock;
    clock.start();
    view.setPicture(animation({10, 10}, std::nullopt)); // 120 ms per frame
    ASSERT_TRUE(waitUntil([&] { return view.currentFrame() == 1; }));
    EXPECT_GE(clock.elapsed(), 110);
}

TEST(PictureView, ANewPictureReplacesTheAnimation) {
    PictureView view;
    view.setPicture(animation({3, 3}, 0));
    view.setPicture(Picture(filled(2, 2, {5, 5, 5})));
    EXPECT_FALSE(view.animating());
    QTest::qWait(60);
    EXPECT_EQ(view.image().pixel(1, 1), qRgb(5, 5, 5));
}

// A widget side stops at QWIDGETSIZE_MAX pixels; up to it a long thin picture is drawn whole.
TEST(PictureView, DrawsALongThinGifWhole) {
    PictureView view;
    view.loadFromFile(std::string(KELMOR_TEST_DATA) +
                      "/corpora/pygif-gif-test-suite/max-height.gif");
    EXPECT_EQ(view.size(), QSize(1, 65535));
    EXPECT_EQ(view.image().size(), QSize(1, 65535));
    EXPECT_TRUE(view.notice().isEmpty());
    const QImage bottom = view.grab(QRect(0, 65530, 1, 5)).toImage();
    EXPECT_EQ(bottom.pixel(0, 4), view.image().pixel(0, 65534));
}

// Past it the picture is kept but not drawn, and the view says so.
TEST(PictureView, SaysSoWhenASideIsTooLongToShow) {
    Bitmap line(QWIDGETSIZE_MAX + 1, 1, 1);
    line.palette = {{0, 0, 0}, {255, 255, 255}};
    PictureView view;
    view.setPicture(Picture(std::move(line)));
    EXPECT_EQ(view.picture().width(), QWIDGETSIZE_MAX + 1);
    EXPECT_TRUE(view.image().isNull());
    EXPECT_EQ(view.notice(), QStringLiteral("This picture has a side longer than 16777215 pixels "
                                            "and cannot be shown"));
    EXPECT_GE(view.width(), view.fontMetrics().horizontalAdvance(view.notice()));
    view.clear();
    EXPECT_TRUE(view.notice().isEmpty());
}

class PictureViewFiles : public test::TempFolderTest {};

TEST_F(PictureViewFiles, AFailedLoadLeavesTheViewEmpty) {
    PictureView view;
    view.setPicture(animation({3, 3}, 0));
    EXPECT_THROW(view.loadFromFile(writeFile("bad.bmp", "BMbroken")), Error);
    EXPECT_TRUE(view.picture().empty());
    EXPECT_FALSE(view.animating());

    view.loadFromFile(writeFile("good.bmp", writeBmp(filled(3, 2, {1, 1, 1}))));
    EXPECT_EQ(view.size(), QSize(3, 2));
}

// Red, green and blue 4 x 3 frames (the first with a transparent top-left pixel) of 30, 150 and
// 30 ms, made into a WebP playing twice by img2webp.
TEST_F(PictureViewFiles, AnAnimatedWebpPlaysItsFramesForItsDurationsAndLoopCount) {
    const QRgb colours[] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};
    const QString animated = QString::fromStdString(path("animated.webp"));
    QStringList arguments{QStringLiteral("-loop"), QStringLiteral("2"), QStringLiteral("-lossless"),
                          QStringLiteral("-o"), animated};
    for (int i = 0; i < 3; ++i) {
        QImage frame(4, 3, QImage::Format_ARGB32);
        frame.fill(colours[i]);
        frame.setPixel(0, 0, i == 0 ? qRgba(0, 0, 0, 0) : colours[i]);
        arguments << QStringLiteral("-d") << QString::number(i == 1 ? 150 : 30)
                  << QString::fromStdString(path("frame" + std::to_string(i) + ".png"));
        ASSERT_TRUE(frame.save(arguments.last()));
    }
    ASSERT_EQ(QProcess::execute(QStringLiteral("img2webp"), arguments), 0);

    PictureView view;
    QElapsedTimer clock;
    clock.start();
    view.loadFromFile(animated.toStdString());
    EXPECT_EQ(centre(view), colours[0]);
    EXPECT_EQ(qAlpha(view.image().pixel(0, 0)), 0);
    ASSERT_TRUE(waitUntil([&] { return view.currentFrame() == 2; }));
    EXPECT_GE(clock.elapsed(), 30 + 150 - 10);
    int wraps = 0;
    for (int last = 2; view.animating(); QTest::qWait(5)) {
        wraps += view.currentFrame() < last ? 1 : 0;
        last = view.currentFrame();
    }
    EXPECT_EQ(wraps, 1) << "two passes";
    EXPECT_EQ(centre(view), colours[2]);
    view.loadFromFile(animated.toStdString());
    view.clear();
    EXPECT_FALSE(view.animating());
}

} // namespace
} // namespace kelmor
