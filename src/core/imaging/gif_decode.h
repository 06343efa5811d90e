#pragma once

// Decoding GIF files: tolerant of the common defects, which only warn, and strict where the
// data cannot be made sense of.

#include "imaging/gif_image.h"
#include "imaging/image_limits.h"

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

namespace kelmor {

// How much of a GIF file a decode reads: every frame, or the frames up to and including the
// first one with an image, which is all that toBitmap draws. Either way the whole file's frame
// descriptors are counted first, so a file that claims too many pixels is refused the same.
enum class GifFrames { All, FirstImage };

// What one decode takes: which frames, how large a picture, and who hears its warnings.
struct GifDecodeOptions {
    GifFrames frames = GifFrames::All;
    ImageLimits limits;
    GifWarningHandler warn;
};

// What a GIF file's blocks announce, read without decoding a frame: the logical screen and the
// pixels of all the frames that the reader would reach.
struct GifExtent {
    std::uint16_t width = 0, height = 0;
    std::int64_t framePixels = 0;
};

// Reads the header and walks the frames, skipping their image data. Throws what a decode
// throws for the header ("Invalid GIF signature", "Invalid GIF data", "Image too large" for
// the screen) and "Image too large" when the frames together claim more than the limits let
// one file hold. A later defect ends the count where a decode would stop.
GifExtent measureGif(std::string_view bytes, const ImageLimits& limits = {});

// Decodes a GIF file. An error is a kelmor::Error with the reader's message; "Image too large"
// for a frame or screen past limits.maxImagePixels, or frames together past
// limits.maxTotalPixels.
GifImage decodeGif(std::string_view bytes, const GifDecodeOptions& options = {});
// Decodes from a stream. On an error the stream is set back to where the image began;
// otherwise it is left right after the bytes the image took.
GifImage decodeGif(std::istream& in, const GifDecodeOptions& options = {});
// Decodes a regular file (see readWholeFile): "Cannot open file PATH" for anything else.
GifImage loadGif(const std::string& path, const GifDecodeOptions& options = {});

} // namespace kelmor
