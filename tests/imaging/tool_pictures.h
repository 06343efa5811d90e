#pragma once

// Pictures read by libwebp's command-line tools, the references the WebP and SVG codecs are
// checked against, and the helpers their tests share.

#include "imaging/rgba_image.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace kelmor::test {

// Runs a shell command, its output discarded; false when it fails.
bool runTool(const std::string& command);

// The pixels `dwebp -pam` decodes from a WebP file; a PNG file is first made lossless WebP by
// `cwebp -lossless -exact`, which keeps every value. Empty when a tool fails.
RgbaImage toolPixels(const std::string& path);

// Whether two pictures have the same size and alpha, and the same colour wherever alpha is not 0,
// every channel within `tolerance`.
::testing::AssertionResult sameVisiblePixels(const RgbaImage& actual, const RgbaImage& expected,
                                             int tolerance = 0);

// The message of the kelmor::Error the action throws, "(no error)" when it throws none.
std::string errorOf(const std::function<void()>& action);

} // namespace kelmor::test
