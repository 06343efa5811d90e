#include "imaging/gif_bitmap.h"

#include "base/error.h"
#include "base/messages.h"
#include "imaging/gif_palette.h"

#include <algorithm>

namespace kelmor {

int appendFrame(GifImage& image, const Bitmap& bitmap) {
    const int bpp = bitmap.bitsPerPixel();
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        throw Error(msg::kObjectTypeNotSupported);
    GifFrame f;
    f.hasImage = true;
    f.width = static_cast<std::uint16_t>(bitmap.width());
    f.height = static_cast<std::uint16_t>(bitmap.height());
    const int w = bitmap.width();
    const int h = bitmap.height();
    f.pixels.resize(std::size_t(w) * h);
    std::uint8_t* out = f.pixels.data();
    if (bpp <= 8) {
        const std::size_t kept = std::min<std::size_t>(bitmap.palette.size(), 256);
        f.localColorTable.colors.assign(bitmap.palette.begin(), bitmap.palette.begin() + kept);
        for (int y = 0; y < h; ++y, out += w) {
            if (bpp == 8)
                std::copy_n(bitmap.row(y), w, out);
            else
                for (int x = 0; x < w; ++x)
                    out[x] = static_cast<std::uint8_t>(bitmap.index(x, y));
        }
    } else {
        f.localColorTable.colors = webSafePalette();
        mapToWebSafePalette(bitmap, out);
    }
    GifHeader& header = image.header();
    header.width = std::max(header.width, f.width);
    header.height = std::max(header.height, f.height);
    image.frames().push_back(std::move(f));
    return image.frameCount() - 1;
}

GifImage gifFromBitmap(const Bitmap& bitmap) {
    GifImage image;
    appendFrame(image, bitmap);
    return image;
}

Bitmap frameBitmap(const GifImage& image, int index) {
    const GifFrame& f = image.frame(index);
    if (!f.hasImage)
        return Bitmap();
    const GifColorTable& table = image.activeColorTable(index);
    if (table.empty())
        throw Error(msg::kNoColorTable);
    Bitmap bitmap(f.width, f.height, 8);
    bitmap.palette = table.colors;
    if (f.pixels.size() >= std::size_t(f.width) * f.height)
        for (int y = 0; y < f.height; ++y)
            std::copy_n(f.pixels.data() + std::size_t(y) * f.width, f.width, bitmap.row(y));
    return bitmap;
}

Bitmap toBitmap(const GifImage& image) {
    const std::vector<GifFrame>& frames = image.frames();
    auto first =
        std::find_if(frames.begin(), frames.end(), [](const GifFrame& f) { return f.hasImage; });
    if (first == frames.end())
        return Bitmap();
    const int index = static_cast<int>(first - frames.begin());
    const GifHeader& header = image.header();
    const GifFrame& f = *first;
    if (f.left == 0 && f.top == 0 && f.width == header.width && f.height == header.height)
        return frameBitmap(image, index);
    const GifColorTable& table = image.activeColorTable(index);
    if (table.empty())
        throw Error(msg::kNoColorTable);
    Bitmap bitmap(header.width, header.height, 32);
    bitmap.palette = header.colorTable.colors;
    const GifGraphicControlExtension* gce = f.transparent() ? f.graphicControl() : nullptr;
    const int x1 = std::min<int>(f.left + f.width, header.width);
    const int y1 = std::min<int>(f.top + f.height, header.height);
    if (f.pixels.size() < std::size_t(f.width) * f.height)
        return bitmap;
    for (int y = f.top; y < y1; ++y) {
        for (int x = f.left; x < x1; ++x) {
            unsigned p = f.pixel(x - f.left, y - f.top);
            if (gce && p == gce->transparentColorIndex)
                continue;
            if (p < table.colors.size())
                bitmap.setColor(x, y, table.colors[p]);
        }
    }
    return bitmap;
}

} // namespace kelmor
