#pragma once

// The table of picture formats: one row per format with its extensions, its dialog description
// and the functions that measure, decode and write it. The picture holder, the size reader, the
// thumbnailer, the animation assembly, the conversions and kelmor-cli info go through it, so a
// new format is one codec file (codec_NAME.cpp) and one row in picture_codecs.cpp.

#include "imaging/bitmap.h"
#include "imaging/gif_decode.h"
#include "imaging/gif_image.h"
#include "imaging/image_limits.h"
#include "imaging/picture_size.h"
#include "imaging/rgba_image.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelmor {

enum class PictureFormat { None, Gif, Bitmap, Jpeg, Icon, Png, WebP, Svg };

class Picture;

// What the picture holder keeps of a decoded file: a GIF image, or a bitmap to show with every
// frame of an animated picture beside it.
struct DecodedPicture {
    std::shared_ptr<const GifImage> gif;
    std::shared_ptr<const Bitmap> bitmap;
    std::shared_ptr<const RgbaAnimation> animation;
};

// A picture decoded for its thumbnail: as small as the reader can make it while it still covers
// the thumbnail's edge (`fitted` when already inside it), and the picture's own size.
struct ReducedPicture {
    RgbaImage image;
    PictureSize original;
    bool fitted = false;
};

// One format's row. A function left null is a thing the format cannot do: such a picture is
// refused where that is needed, as a file of an unknown extension is.
struct PictureCodec {
    PictureFormat format = PictureFormat::None;
    const char* name = "";        // "PNG", as kelmor-cli info prints it
    const char* description = ""; // "PNG Image", as the file dialogs' filters show it
    // Lower case, without the dot; the first one is the default.
    std::vector<const char*> extensions;

    // Whether the reader is there now (one the Qt layer installs); null: always.
    bool (*available)() = nullptr;
    // The size and decoded pixels from the file's headers (see readPictureFileSize).
    PictureFileSize (*measure)(const std::string& path) = nullptr;
    // The picture holder's load; `frames` says how much of an animation is decoded, `path` is
    // where references resolve. The memory of the bitmap it makes beside the pixels is counted.
    DecodedPicture (*decode)(std::string_view bytes, GifFrames frames,
                             const std::string& path) = nullptr;
    // The first frame as RGBA within `limits`, for a format whose pixels are RGBA: conversions
    // and animation frames take them as they are.
    RgbaImage (*decodeFirstFrame)(std::string_view bytes, const std::string& path,
                                  const ImageLimits& limits) = nullptr;
    // The frames the headers announce (null: one).
    int (*frameCount)(std::string_view bytes) = nullptr;
    // The thumbnail's decode, and the memory it takes from the headers.
    ReducedPicture (*decodeReduced)(std::string_view bytes, const std::string& path,
                                    int edge) = nullptr;
    std::int64_t (*reducedDecodeBytes)(std::string_view bytes, const std::string& path,
                                       int edge) = nullptr;
    // The bytes a save writes; null: the file's bytes as they were read.
    std::string (*encode)(const Picture& picture) = nullptr;
    // Checks a file written back as it is, without decoding a pixel (null: only a decode
    // checks it).
    void (*checkVerbatim)(std::string_view bytes, const std::string& path) = nullptr;
    // The file of an RGBA picture in this format, as a conversion writes it, and the bytes per
    // pixel the writer holds beside the picture, its file included.
    std::string (*encodeRgba)(const RgbaImage& image) = nullptr;
    std::int64_t encodeBytesPerPixel = 0;
    // The title the file holds for itself (see readPictureTitle); null: the format holds none.
    std::optional<std::string> (*title)(std::string_view bytes) = nullptr;
    // Whether a picture of 8 bits or fewer keeps its palette when made a GIF.
    bool paletteKeptInGif = false;

    bool readable() const { return decode != nullptr && (available == nullptr || available()); }
    bool rgbaPixels() const { return decodeFirstFrame != nullptr; }
};

// Every format in the order the dialogs list them: GIF, BMP, JPEG, icon, PNG, WebP, SVG.
const std::vector<PictureCodec>& pictureCodecs();

// The row of a format, or nullptr for PictureFormat::None.
const PictureCodec* pictureCodec(PictureFormat format);

// Throws Error("Unknown picture file extension (.EXT)") with the format's default extension:
// what a format gives where it has no reader.
[[noreturn]] void refuseFormat(const PictureCodec* codec);

// --- For the codec files ---------------------------------------------------------------------

// The limits of a decode whose first frame the holder shows as a bitmap beside it.
ImageLimits shownBitmapLimits();
// The holder's parts for RGBA frames: the first one as a bitmap, all of them when several.
DecodedPicture decodedFromRgba(RgbaAnimation frames);
// A picture decoded whole, for the thumbnailer to fit.
ReducedPicture reducedFromRgba(RgbaImage image);
// A title as a file holds it, kept when it is valid UTF-8 with more than blanks in it.
std::optional<std::string> pictureTitleText(std::optional<std::string> text);

} // namespace kelmor
