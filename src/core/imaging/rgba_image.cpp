#include "imaging/rgba_image.h"

#include "imaging/image_limits.h"

namespace kelmor {

RgbaImage RgbaImage::blank(int width, int height) {
    checkImageSize(width, height);
    RgbaImage image;
    image.width = width;
    image.height = height;
    image.pixels.assign(std::size_t(width) * height * 4, 0);
    return image;
}

bool RgbaImage::opaque() const {
    for (std::size_t i = 3; i < pixels.size(); i += 4) {
        if (pixels[i] != 255)
            return false;
    }
    return true;
}

Bitmap toBitmap(const RgbaImage& image) {
    Bitmap bitmap(image.width, image.height, 32);
    if (!image.opaque())
        bitmap.alphaMask = 0xFF000000u;
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t* in = image.row(y);
        std::uint8_t* out = bitmap.row(y);
        for (int x = 0; x < image.width; ++x, in += 4, out += 4) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
            out[3] = in[3];
        }
    }
    return bitmap;
}

RgbaImage toRgba(const Bitmap& bitmap) {
    RgbaImage image = RgbaImage::blank(bitmap.width(), bitmap.height());
    // Blue, green and red bytes (as every JPEG decodes), or those and alpha (as toBitmap makes
    // them): copied without a lookup per pixel.
    const bool bgra = bitmap.bitsPerPixel() == 32 && bitmap.redMask == 0x00FF0000u &&
                      bitmap.greenMask == 0x0000FF00u && bitmap.blueMask == 0x000000FFu &&
                      (bitmap.alphaMask == 0 || bitmap.alphaMask == 0xFF000000u);
    if (bitmap.bitsPerPixel() == 24 || bgra) {
        const int step = bgra ? 4 : 3;
        const bool alpha = bgra && bitmap.alphaMask != 0;
        for (int y = 0; y < image.height; ++y) {
            const std::uint8_t* in = bitmap.row(y);
            std::uint8_t* out = image.row(y);
            for (int x = 0; x < image.width; ++x, in += step, out += 4) {
                out[0] = in[2];
                out[1] = in[1];
                out[2] = in[0];
                out[3] = alpha ? in[3] : 255;
            }
        }
        return image;
    }
    for (int y = 0; y < image.height; ++y) {
        std::uint8_t* out = image.row(y);
        for (int x = 0; x < image.width; ++x, out += 4) {
            const Rgb color = bitmap.color(x, y);
            out[0] = color.r;
            out[1] = color.g;
            out[2] = color.b;
            out[3] = bitmap.alpha(x, y);
        }
    }
    return image;
}

} // namespace kelmor
