#pragma once

// Pictures made and read by libwebp's and librsvg's command-line tools, the references the WebP
// and SVG codecs are checked against.

#include "imaging/rgba_image.h"

#include <gtest/gtest.h>
#include <string>

namespace kelmor::test {

// Runs a shell command; false when it fails.
bool runTool(const std::string& command);

// The pixels `dwebp -pam` decodes from a WebP file.
RgbaImage dwebpPixels(const std::string& webpPath);

// The pixels of a PNG file, read through `cwebp -lossless -exact` and `dwebp -pam`, which keep
// every value. `scratch` is a folder for the files in between.
RgbaImage pngPixels(const std::string& pngPath, const std::string& scratch);

// Whether two pictures have the same size and alpha everywhere, and the same colour wherever
// alpha is not 0, every channel within `tolerance`.
::testing::AssertionResult sameVisiblePixels(const RgbaImage& actual, const RgbaImage& expected,
                                             int tolerance = 0);

} // namespace kelmor::test
