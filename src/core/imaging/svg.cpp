#include "imaging/svg.h"

#include "base/error.h"
#include "base/messages.h"

#include <algorithm>
#include <array>
#include <cairo.h>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <librsvg/rsvg.h>
#include <memory>

namespace kelmor {
namespace {

// Pixels per unit at 96 pixels per inch.
constexpr double kPixelsPerInch = 96.0;
// Lengths are rounded up after conversion; a length a rounding error above a whole number of
// pixels (2.54cm) stays that number.
constexpr double kRoundingSlack = 1e-6;

struct GErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};
struct GObjectUnref {
    void operator()(void* object) const { g_object_unref(object); }
};
struct CairoSurfaceDestroy {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct CairoDestroy {
    void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};
using ErrorPointer = std::unique_ptr<GError, GErrorFree>;
using HandlePointer = std::unique_ptr<RsvgHandle, GObjectUnref>;

[[noreturn]] void throwNotValid(GError* error) {
    const ErrorPointer owned(error);
    throw Error(format(msg::kSvgNotValid, owned ? owned->message : "unknown error"));
}

// Parses the document. References resolve against the file's folder, under librsvg's own
// policy: nothing from the network and nothing outside that folder; with no file, nothing
// outside the document at all. The XML parser keeps its safety limits.
HandlePointer parse(std::string_view bytes, const std::string& path) {
    const std::unique_ptr<GInputStream, GObjectUnref> stream(g_memory_input_stream_new_from_data(
        bytes.data(), static_cast<gssize>(bytes.size()), nullptr));
    const std::unique_ptr<GFile, GObjectUnref> base(
        path.empty() ? nullptr : g_file_new_for_path(path.c_str()));
    GError* error = nullptr;
    HandlePointer handle(rsvg_handle_new_from_stream_sync(stream.get(), base.get(),
                                                          RSVG_HANDLE_FLAGS_NONE, nullptr, &error));
    if (!handle)
        throwNotValid(error);
    if (error)
        g_error_free(error);
    // Physical units are drawn at the same 96 per inch the size is measured at.
    rsvg_handle_set_dpi(handle.get(), kPixelsPerInch);
    return handle;
}

// A length in pixels; 0 for a percentage or a font-relative length, which give no size.
double pixels(const RsvgLength& length) {
    switch (length.unit) {
    case RSVG_UNIT_PX:
        return length.length;
    case RSVG_UNIT_IN:
        return length.length * kPixelsPerInch;
    case RSVG_UNIT_CM:
        return length.length * kPixelsPerInch / 2.54;
    case RSVG_UNIT_MM:
        return length.length * kPixelsPerInch / 25.4;
    case RSVG_UNIT_PT:
        return length.length * kPixelsPerInch / 72.0;
    case RSVG_UNIT_PC:
        return length.length * kPixelsPerInch / 6.0;
    default:
        return 0;
    }
}

// The size the document is drawn at, and the whole pixels that hold it.
struct SvgSize {
    double width = 0;
    double height = 0;
    PictureSize pixels;
};

// Width and height in pixels, each from its own length or, without one, the viewBox's.
SvgSize intrinsicSize(RsvgHandle* handle) {
    gboolean hasWidth = FALSE, hasHeight = FALSE, hasViewBox = FALSE;
    RsvgLength width{}, height{};
    RsvgRectangle viewBox{};
    rsvg_handle_get_intrinsic_dimensions(handle, &hasWidth, &width, &hasHeight, &height,
                                         &hasViewBox, &viewBox);
    SvgSize size;
    size.width = hasWidth ? pixels(width) : 0;
    size.height = hasHeight ? pixels(height) : 0;
    if (hasViewBox) {
        size.width = size.width > 0 ? size.width : viewBox.width;
        size.height = size.height > 0 ? size.height : viewBox.height;
    }
    if (!(size.width > 0 && size.height > 0 && std::isfinite(size.width) &&
          std::isfinite(size.height)))
        throw Error(msg::kSvgNoSize);
    // Past this a length cannot be a picture's side in any case; the limits refuse it.
    constexpr double kLongest = 1e15;
    if (size.width > kLongest || size.height > kLongest)
        throw Error(msg::kImageTooLarge);
    const auto roundedUp = [](double length) {
        return std::max<std::int64_t>(
            1, static_cast<std::int64_t>(std::ceil(length - kRoundingSlack)));
    };
    size.pixels = {roundedUp(size.width), roundedUp(size.height)};
    return size;
}

SvgSize checkedSize(RsvgHandle* handle, const ImageLimits& limits) {
    const SvgSize size = intrinsicSize(handle);
    if (!withinImageLimits(size.pixels.width, size.pixels.height, limits.maxImagePixels))
        throw Error(msg::kImageTooLarge);
    return size;
}

// The straight value of each premultiplied one, rounded as cairo's PNG writer rounds it.
const std::array<std::array<std::uint8_t, 256>, 256>& unpremultiplyTable() {
    static const auto table = [] {
        std::array<std::array<std::uint8_t, 256>, 256> t{};
        for (unsigned alpha = 1; alpha < 256; ++alpha) {
            for (unsigned value = 0; value <= alpha; ++value)
                t[alpha][value] = static_cast<std::uint8_t>((value * 255 + alpha / 2) / alpha);
        }
        return t;
    }();
    return table;
}

// Turns cairo's premultiplied native-endian ARGB words into straight RGBA bytes, in place.
void unpremultiply(RgbaImage& image) {
    const auto& table = unpremultiplyTable();
    std::uint8_t* p = image.pixels.data();
    const std::size_t count = image.pixels.size() / 4;
    for (std::size_t i = 0; i < count; ++i, p += 4) {
        std::uint32_t word;
        std::memcpy(&word, p, 4);
        const unsigned alpha = word >> 24;
        if (alpha == 0) {
            std::memset(p, 0, 4);
            continue;
        }
        const auto& row = table[alpha];
        p[0] = row[(word >> 16) & 0xFF];
        p[1] = row[(word >> 8) & 0xFF];
        p[2] = row[word & 0xFF];
        p[3] = static_cast<std::uint8_t>(alpha);
    }
}

} // namespace

RgbaImage renderSvg(std::string_view bytes, const std::string& path, const ImageLimits& limits) {
    const HandlePointer handle = parse(bytes, path);
    const SvgSize size = checkedSize(handle.get(), limits);
    // Cairo surfaces have sides of at most 32767 pixels.
    if (size.pixels.width > 32767 || size.pixels.height > 32767)
        throw Error(msg::kImageTooLarge);
    RgbaImage image =
        RgbaImage::blank(static_cast<int>(size.pixels.width), static_cast<int>(size.pixels.height));
    const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, image.width);
    if (stride != image.width * 4)
        throw Error(msg::kImageTooLarge);
    // Cairo draws straight into the picture's pixels, which start transparent.
    const std::unique_ptr<cairo_surface_t, CairoSurfaceDestroy> surface(
        cairo_image_surface_create_for_data(image.pixels.data(), CAIRO_FORMAT_ARGB32, image.width,
                                            image.height, stride));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
        throw Error(msg::kOutOfMemory);
    {
        const std::unique_ptr<cairo_t, CairoDestroy> cr(cairo_create(surface.get()));
        // Drawn at its own size: a fraction of a pixel past it stays partly covered.
        const RsvgRectangle viewport{0, 0, size.width, size.height};
        GError* error = nullptr;
        if (!rsvg_handle_render_document(handle.get(), cr.get(), &viewport, &error))
            throwNotValid(error);
    }
    cairo_surface_flush(surface.get());
    unpremultiply(image);
    return image;
}

PictureFileSize measureSvg(std::string_view bytes, const std::string& path) {
    const HandlePointer handle = parse(bytes, path);
    const PictureSize size = checkedSize(handle.get(), {}).pixels;
    return {size, size.width * size.height};
}

} // namespace kelmor
