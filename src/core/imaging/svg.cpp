#include "imaging/svg.h"

#include "base/error.h"
#include "base/messages.h"
#include "imaging/cairo_pointers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <librsvg/rsvg.h>
#include <memory>
#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kelmor {
namespace {

// Physical units become pixels at 96 per inch, as on the web.
constexpr double kPixelsPerInch = 96.0;
// Lengths are rounded up after conversion; a length a rounding error above a whole number of
// pixels (2.54cm) stays that number.
constexpr double kRoundingSlack = 1e-6;

struct GErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};
using ErrorPointer = std::unique_ptr<GError, GErrorFree>;
using HandlePointer = std::unique_ptr<RsvgHandle, GObjectUnref>;

[[noreturn]] void throwNotValid(GError* error) {
    const ErrorPointer owned(error);
    const std::string reason = owned ? owned->message : "unknown error";
    // librsvg's drawing stops with this when a surface it needs cannot be had.
    if (reason.find("NoMemory") != std::string::npos)
        throw Error(msg::kImageTooLarge);
    throw Error(format(msg::kSvgNotValid, reason));
}

// Parses the document without a base file: librsvg then resolves no reference outside the
// document (only data: URIs load). The XML parser keeps its safety limits.
HandlePointer parse(std::string_view bytes) {
    const std::unique_ptr<GInputStream, GObjectUnref> stream(g_memory_input_stream_new_from_data(
        bytes.data(), static_cast<gssize>(bytes.size()), nullptr));
    GError* error = nullptr;
    HandlePointer handle(rsvg_handle_new_from_stream_sync(stream.get(), nullptr,
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

// Straight values from premultiplied ones are value * 255 / alpha rounded to the nearest, as
// cairo's PNG writer rounds them. In single precision this is exact with a little more than a
// half added: the true quotient is a multiple of 1 / alpha, which the rounding error of a
// product of at most 255 never comes near.
constexpr float kHalf = 0.501f;

float straightScale(std::uint32_t alpha) {
    return 255.0f / static_cast<float>(std::max<std::uint32_t>(alpha, 1));
}

// Turns cairo's premultiplied native-endian ARGB words into straight RGBA bytes, in place; four
// pixels at a time where SSE2 is there.
void unpremultiply(std::uint8_t* p, std::size_t count) {
    // The factor of each alpha, looked up rather than divided for every pixel.
    static const std::array<float, 256> scales = [] {
        std::array<float, 256> table{};
        for (std::uint32_t alpha = 0; alpha < 256; ++alpha)
            table[alpha] = straightScale(alpha);
        return table;
    }();
#if defined(__SSE2__)
    const __m128i byte = _mm_set1_epi32(0xFF);
    const __m128i zero = _mm_setzero_si128();
    const __m128i greenAlpha = _mm_set1_epi32(static_cast<int>(0xFF00FF00u));
    const __m128 half = _mm_set1_ps(kHalf);
    for (; count >= 4; count -= 4, p += 16) {
        const __m128i words = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i alpha = _mm_srli_epi32(words, 24);
        // Four transparent pixels are already zero; four opaque ones only swap red and blue.
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(words, zero)) == 0xFFFF)
            continue;
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(alpha, byte)) == 0xFFFF) {
            const __m128i swapped =
                _mm_or_si128(_mm_and_si128(words, greenAlpha),
                             _mm_or_si128(_mm_and_si128(_mm_srli_epi32(words, 16), byte),
                                          _mm_slli_epi32(_mm_and_si128(words, byte), 16)));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p), swapped);
            continue;
        }
        const __m128 scale = _mm_setr_ps(scales[p[3]], scales[p[7]], scales[p[11]], scales[p[15]]);
        const auto channel = [&](int shift) {
            const __m128 value = _mm_cvtepi32_ps(_mm_and_si128(_mm_srli_epi32(words, shift), byte));
            return _mm_cvttps_epi32(_mm_add_ps(_mm_mul_ps(value, scale), half));
        };
        // Little-endian words whose bytes are R, G, B, A.
        const __m128i rgba =
            _mm_or_si128(_mm_or_si128(channel(16), _mm_slli_epi32(channel(8), 8)),
                         _mm_or_si128(_mm_slli_epi32(channel(0), 16), _mm_slli_epi32(alpha, 24)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p), rgba);
    }
#endif
    for (; count > 0; --count, p += 4) {
        std::uint32_t word;
        std::memcpy(&word, p, 4);
        const float scale = scales[word >> 24];
        for (int c = 0; c < 3; ++c)
            p[c] = static_cast<std::uint8_t>(
                static_cast<float>(word >> (16 - 8 * c) & 0xFF) * scale + kHalf);
        p[3] = static_cast<std::uint8_t>(word >> 24);
    }
}

// Draws the document of `size` scaled by `scale` onto a width x height picture placed by `place`.
PictureSize renderScaled(RsvgHandle* handle, const SvgSize& size, double scale, int width,
                         int height, const SvgPixelPlace& place) {
    // Cairo surfaces have sides of at most 32767 pixels.
    if (width > 32767 || height > 32767)
        throw Error(msg::kImageTooLarge);
    const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, width);
    if (stride != width * 4)
        throw Error(msg::kImageTooLarge);
    std::uint8_t* const pixels = place(width, height);
    // Cairo draws straight into the picture's pixels, which start transparent.
    const CairoSurfacePointer surface(
        cairo_image_surface_create_for_data(pixels, CAIRO_FORMAT_ARGB32, width, height, stride));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
        throw Error(msg::kOutOfMemory);
    {
        const CairoPointer cr(cairo_create(surface.get()));
        // A fraction of a pixel past the drawn size stays partly covered.
        const RsvgRectangle viewport{0, 0, size.width * scale, size.height * scale};
        GError* error = nullptr;
        if (!rsvg_handle_render_document(handle, cr.get(), &viewport, &error))
            throwNotValid(error);
    }
    cairo_surface_flush(surface.get());
    unpremultiply(pixels, std::size_t(width) * height);
    return {width, height};
}

} // namespace

PictureSize renderSvgInto(std::string_view bytes, const ImageLimits& limits, int edge,
                          const SvgPixelPlace& place, PictureSize* intrinsic) {
    const HandlePointer handle = parse(bytes);
    const SvgSize size = checkedSize(handle.get(), limits);
    if (intrinsic != nullptr)
        *intrinsic = size.pixels;
    const double longer = std::max(size.width, size.height);
    const double scale = edge > 0 && longer > edge ? edge / longer : 1.0;
    const auto side = [&](double length) {
        return static_cast<int>(std::clamp(std::round(length * scale), 1.0, double(edge)));
    };
    if (scale < 1.0)
        return renderScaled(handle.get(), size, scale, side(size.width), side(size.height), place);
    return renderScaled(handle.get(), size, 1.0, static_cast<int>(size.pixels.width),
                        static_cast<int>(size.pixels.height), place);
}

RgbaImage renderSvg(std::string_view bytes, const ImageLimits& limits) {
    RgbaImage image;
    renderSvgInto(bytes, limits, 0, [&](int width, int height) {
        image = RgbaImage::blank(width, height);
        return image.pixels.data();
    });
    return image;
}

RgbaImage renderSvgFitted(std::string_view bytes, int edge, PictureSize* intrinsic) {
    RgbaImage image;
    renderSvgInto(
        bytes, {}, edge,
        [&](int width, int height) {
            image = RgbaImage::blank(width, height);
            return image.pixels.data();
        },
        intrinsic);
    return image;
}

PictureFileSize measureSvg(std::string_view bytes) {
    const HandlePointer handle = parse(bytes);
    const PictureSize size = checkedSize(handle.get(), {}).pixels;
    return {size, size.width * size.height};
}

} // namespace kelmor
