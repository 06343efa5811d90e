#pragma once

// Small picture files that claim far more than they hold, made byte by byte: the shapes of the
// files that once cost seconds or gigabytes to open.

#include <string>
#include <vector>

namespace kelmor::test {

// A GIF89a with a two-colour global table, a width x height screen and one frame per entry of
// `frames` (its width and height at 0, 0), each frame's image data being a clear code and an end
// code: no pixel at all, however large the frame.
struct GifFrameSize {
    int width, height;
};
std::string emptyFramesGif(int width, int height, const std::vector<GifFrameSize>& frames);

// A JPEG of width x height and `components` components (1 grey, 3 YCbCr, 4 CMYK) whose scans
// hold no data, so libjpeg decodes it in full with warnings only. A baseline file has one scan;
// a progressive one `scans` DC scans. `beforeFrame` goes right after the start marker.
std::string emptyJpeg(int width, int height, int components, const std::string& beforeFrame = "");
std::string emptyProgressiveJpeg(int width, int height, int components, int scans,
                                 const std::string& beforeFrame = "");

// A JPEG segment: marker, length, payload.
std::string jpegSegment(int marker, const std::string& payload);

// A PNG whose header claims a width x height RGBA picture, with no pixel data after it.
std::string claimingPng(int width, int height);
// A WebP whose extended header claims a width x height canvas, with no picture in it.
std::string claimingWebp(int width, int height);
// An SVG document of width x height pixels holding one rectangle.
std::string claimingSvg(int width, int height);

// A PNG of a width x height RGBA gradient with `bitDepth` bits a sample (8 or 16) whose rows,
// each filtered to the same few bytes, deflate a thousandfold. `afterPixels` goes between the
// pixel data and IEND.
std::string gradientPng(int width, int height, int bitDepth, const std::string& afterPixels = "");
// A zTXt chunk whose text inflates to `size` bytes.
std::string zTxtChunk(int size);
// A 1-bit grey PNG one pixel wide and `height` rows tall.
std::string tallPng(int height);

// A lossless WebP of a width x height picture of one colour: a few bytes of prefix codes that
// each give a single symbol, so no pixel takes a bit.
std::string flatWebp(int width, int height);
// An animated WebP of a width x height canvas and `frames` frames of one colour each, of
// frameWidth x frameHeight at the corner.
std::string flatAnimatedWebp(int width, int height, int frames, int frameWidth, int frameHeight);

// SVG documents that crash librsvg 2.54 or take it far past any bound, all under 1 MB.
// An feConvolveMatrix of order 50 with a kernel of nine values.
std::string convolveOrderSvg();
// Text at font-size 3e6: librsvg panics ("assertion failed: h >= 0.0") and aborts its caller.
std::string hugeFontSvg();
// A path of `points` vertices whose every vertex is marked by the whole path again: the segments
// drawn grow with the square of the file.
std::string selfMarkingPathSvg(int points);
// A side x side square under a Gaussian blur.
std::string blurredSquareSvg(int side);
// `count` different data: PNG pictures of at least 512 x 512 pixels, each a few hundred bytes.
std::string dataPngsSvg(int count);
// A 64 x 64 document showing a data: SVG picture of side x side pixels.
std::string dataSvgPictureSvg(int side);
// `count` paths each covering the whole 2000 x 2000 picture, half transparent.
std::string manyPathsSvg(int count);

} // namespace kelmor::test
