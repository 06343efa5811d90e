#pragma once

// SVG documents rendered through librsvg at their intrinsic size, to the RGBA pixel form. This is
// the drawing code itself, run in the calling process: the renderer process runs it for every
// document the program did not make (svg_renderer_process.h); the program's own documents, made
// in memory, are drawn here directly.

#include "imaging/image_limits.h"
#include "imaging/picture_size.h"
#include "imaging/rgba_image.h"

#include <cstdint>
#include <functional>
#include <string_view>

namespace kelmor {

// Renders an SVG document held in memory onto a transparent background, pixels
// un-premultiplied. Its size is the intrinsic one: width and height in px, or in in, cm, mm,
// pt or pc at 96 per inch; without them (or as percentages) the viewBox's. The document is drawn
// at that exact size onto a picture rounded up to whole pixels. The document is drawn as a
// browser draws an SVG inside <img>: from memory without a base file, so nothing outside it
// loads (no external pictures, stylesheets, XInclude or <use> targets); data: URIs still do.
// The size is checked against `limits` before rendering ("Image too large"). A document
// that cannot be read gives "SVG image is not valid: " and librsvg's reason; one without a size
// "SVG image has no size".
RgbaImage renderSvg(std::string_view bytes, const ImageLimits& limits = {});

// Renders the document scaled down to fit `edge` x `edge` pixels, keeping its aspect ratio (a
// smaller document is drawn at its own size), for a thumbnail: no pixel of the full size is
// drawn. The intrinsic size in whole pixels goes to `intrinsic`; past the picture limits it
// gives "Image too large", other errors as renderSvg.
RgbaImage renderSvgFitted(std::string_view bytes, int edge, PictureSize* intrinsic = nullptr);

// Memory for a width x height picture, width * height * 4 bytes all zero, asked for once the
// size is known.
using SvgPixelPlace = std::function<std::uint8_t*(int width, int height)>;
// Draws as renderSvg does (`edge` 0) or as renderSvgFitted does into the memory `place` gives,
// instead of a picture of its own, and returns the size drawn: the renderer process draws
// straight into the memory it shares with the program.
PictureSize renderSvgInto(std::string_view bytes, const ImageLimits& limits, int edge,
                          const SvgPixelPlace& place, PictureSize* intrinsic = nullptr);
// The intrinsic size, from parsing the document without rendering it.
PictureFileSize measureSvg(std::string_view bytes);

} // namespace kelmor
