#pragma once

// The picture holder of every image control: one picture of any format of the codec table
// (picture_codecs.h), loaded by the file's extension and saved in its own format.

#include "imaging/bitmap.h"
#include "imaging/codec_icon.h"
#include "imaging/gif_decode.h"
#include "imaging/gif_image.h"
#include "imaging/image_limits.h"
#include "imaging/picture_codecs.h"
#include "imaging/rgba_image.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace kelmor {

// A save dialog's filter for a picture of this format in the "Description|pattern"
// form, such as "GIF Image (*.gif)|*.gif", and its default extension ("gif").
// Both are empty for PictureFormat::None.
std::string pictureSaveFilter(PictureFormat format);
std::string pictureDefaultExtension(PictureFormat format);

// An open dialog's filter offering every format of the table: all of them together
// first, then one entry per format.
std::string pictureOpenFilter();

// Text after the last dot of a path's file name, "" when there is none.
std::string fileExtension(std::string_view path);

// The format a path's extension loads, ignoring case; PictureFormat::None for
// an extension no format of the table has.
PictureFormat pictureFormatOf(std::string_view path);

// The first frame of the bytes of a file of RGBA pixels (PNG, WebP, SVG; see
// PictureCodec::rgbaPixels) as RGBA, decoded within `limits` (an SVG rendered at its own size,
// its references resolved from `path`). Errors: the reader's own; "Object type not supported"
// for any other format.
RgbaImage decodeFirstFrame(PictureFormat format, std::string_view bytes, const std::string& path,
                           const ImageLimits& limits = {});

// The bytes of a file that the picture holder would write back as they are, read and checked
// for structure without decoding a pixel (checkPngStructure, a WebP's headers and frames):
// a PNG or a WebP. Nothing for a format whose file is checked only by decoding it. Errors:
// "Cannot open file PATH", the reader's own.
std::optional<std::string> readVerbatimPicture(PictureFormat format, const std::string& path);

class Picture {
public:
    // Decodes the bytes of an icon file into a bitmap. The core has no icon
    // reader; the Qt layer installs one (see picture_qt.h).
    using IconDecoder = kelmor::IconDecoder;
    static void setIconDecoder(IconDecoder decoder);
    static bool hasIconDecoder();

    Picture() = default;
    explicit Picture(GifImage image);
    explicit Picture(Bitmap bitmap);

    // Empties the holder, then loads the file by its extension, ignoring case:
    // "gif", "bmp", "jpg"/"jpeg", "png", "webp", "svg", and "ico" when an icon decoder is
    // installed.
    // Errors: "Unknown picture file extension (.EXT)", "Cannot open file PATH",
    // the reader's own message; the holder then stays empty. `gifFrames` says
    // how much of a GIF or an animated WebP is decoded (a caller that draws only
    // its first picture needs no more). The decode's memory, with the bitmap made
    // beside it, is held to the command's budget ("Image too large").
    void loadFromFile(const std::string& path, GifFrames gifFrames = GifFrames::All);
    // Reads a file's bytes as the given format (a conversion reads a GIF or a
    // BMP whatever its name says). `path` is where an SVG's references resolve.
    void loadFromBytes(PictureFormat format, std::string bytes,
                       GifFrames gifFrames = GifFrames::All, const std::string& path = {});

    // Writes the picture in its own format whatever the name's extension: a GIF
    // anew from its frames, a bitmap as a BMP of its pixel format, a JPEG, icon,
    // PNG, WebP or SVG byte for byte as it was read. Writes nothing when empty. The file is
    // replaced through a temporary file: "Cannot create file PATH".
    void saveToFile(const std::string& path) const;
    // The bytes saveToFile writes ("" when empty).
    std::string encoded() const;

    void clear();
    bool empty() const { return format_ == PictureFormat::None; }
    PictureFormat format() const { return format_; }

    // Pixel size: a GIF's logical screen, a bitmap's or a decoded JPEG's size.
    int width() const;
    int height() const;

    // The GIF image (nullptr unless the picture is a GIF).
    const GifImage* gif() const { return gif_.get(); }
    // The pixels to show for a BMP, JPEG, icon, PNG, WebP or SVG picture (nullptr for a
    // GIF or none): 32 bits with an alpha mask for the last three when not opaque; a WebP's
    // first frame.
    const Bitmap* bitmap() const { return bitmap_.get(); }
    // Every frame of an animated WebP (nullptr for any other picture).
    const RgbaAnimation* animation() const { return animation_.get(); }
    // The file bytes kept for a JPEG, icon, PNG, WebP or SVG picture.
    const std::string& fileBytes() const;
    // The picture's pixels as RGBA: a GIF's first frame at its logical screen size, with its
    // transparent pixels transparent; empty for no picture.
    RgbaImage rgba() const;

private:
    Picture(PictureFormat format, DecodedPicture decoded, std::string bytes);

    PictureFormat format_ = PictureFormat::None;
    // Shared, never modified once loaded: copying a picture between controls is cheap.
    std::shared_ptr<const GifImage> gif_;
    std::shared_ptr<const Bitmap> bitmap_;
    std::shared_ptr<const std::string> fileBytes_;
    std::shared_ptr<const RgbaAnimation> animation_;
};

} // namespace kelmor
