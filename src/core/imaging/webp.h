#pragma once

// WebP files through libwebp: still and animated pictures decoded to the RGBA pixel form,
// and lossless still and animated files written.

#include "imaging/image_limits.h"
#include "imaging/picture_size.h"
#include "imaging/rgba_image.h"

#include <string>
#include <string_view>

namespace kelmor {

// Decodes a WebP file held in memory: a still picture as one frame, an animated one as every
// frame composed onto its canvas as libwebp's animation decoder composes it, with each frame's
// duration and the loop count. The canvas size (VP8, VP8L or VP8X header) is checked against
// `limits` before any pixel is decoded, and the frames together against the total limit
// ("Image too large"), and the memory libwebp takes for them, with the frames kept and the
// copies `limits` counts, against its memory ("Image too large"). Damage gives "WebP image is
// not valid".
RgbaAnimation decodeWebp(std::string_view bytes, const ImageLimits& limits = {});

// The first frame alone, as decodeWebp gives it, without decoding the others.
RgbaImage decodeWebpFirstFrame(std::string_view bytes, const ImageLimits& limits = {});
// The canvas size and the pixels of all frames together, from the headers alone.
PictureFileSize measureWebp(std::string_view bytes);
// The number of frames a WebP file holds (1 for a still picture), from its headers. The
// headers are checked as a decode checks them, every frame's header too, so a file whose
// structure is damaged gives "WebP image is not valid".
int webpFrameCount(std::string_view bytes);
// The memory decodeWebpFirstFrame takes for the file, its picture included, from its headers.
std::int64_t webpFirstFrameDecodeBytes(std::string_view bytes);

// A lossless WebP file of the pixels: every pixel that is not fully transparent keeps its
// exact colour.
std::string encodeWebp(const RgbaImage& image);

// A lossless animated WebP file of the frames, all of the first frame's size, each shown for
// its duration (rounded to whole milliseconds), looping `loopCount` times (0: for ever).
std::string encodeAnimatedWebp(const RgbaAnimation& animation);

} // namespace kelmor
