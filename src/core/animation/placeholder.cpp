#include "animation/placeholder.h"

namespace kelmor {

namespace {

void fillWhite(Bitmap& bitmap, int left, int top, int right, int bottom) {
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            bitmap.setIndex(x, y, 1);
}

} // namespace

Bitmap filmFramePlaceholder() {
    constexpr int kSize = 50;
    Bitmap bitmap(kSize, kSize, 1);
    bitmap.palette = {Rgb{0, 0, 0}, Rgb{255, 255, 255}};
    // Six sprocket holes of 5 x 4 pixels down each edge, 8 pixels apart.
    for (int top = 3; top + 4 <= kSize - 2; top += 8) {
        fillWhite(bitmap, 3, top, 8, top + 4);
        fillWhite(bitmap, kSize - 8, top, kSize - 3, top + 4);
    }
    fillWhite(bitmap, 12, 5, kSize - 12, kSize - 5);
    return bitmap;
}

} // namespace kelmor
