#pragma once

// What the WebP and SVG codec tests share: libwebp's command-line tools as the reference
// decoder, and pixel comparison.

#include "base/error.h"
#include "base/read_file.h"
#include "imaging/rgba_image.h"

#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>

namespace kelmor::test {

// Runs a shell command, its output discarded; false when it fails.
inline bool runTool(const std::string& command) {
    return std::system(("(" + command + ") >/dev/null 2>&1").c_str()) == 0;
}

// The pixels `dwebp -pam` decodes from a WebP file; a PNG file is first made lossless WebP by
// `cwebp -lossless -exact`, which keeps every value. `scratch` names a file for the tools to
// write. Empty when a tool fails.
inline RgbaImage toolPixels(const std::string& path, const std::string& scratch) {
    const std::string webp = path.ends_with(".png") ? scratch + ".webp" : path;
    if ((webp != path && !runTool("cwebp -lossless -exact '" + path + "' -o '" + webp + "'")) ||
        !runTool("dwebp -pam '" + webp + "' -o '" + scratch + ".pam'"))
        return {};
    const std::string pam = readWholeFile(scratch + ".pam");
    const std::size_t data = pam.find("ENDHDR\n") + 7;
    std::istringstream header(pam.substr(0, data));
    RgbaImage image;
    for (std::string key; header >> key;) {
        if (key == "WIDTH" || key == "HEIGHT")
            header >> (key == "WIDTH" ? image.width : image.height);
    }
    image.pixels.assign(pam.begin() + static_cast<std::ptrdiff_t>(data), pam.end());
    return image;
}

// Whether the pictures have the same size and alpha, and the same colour where alpha is not 0,
// each channel within `tolerance`.
inline ::testing::AssertionResult sameVisiblePixels(const RgbaImage& actual,
                                                    const RgbaImage& expected, int tolerance = 0) {
    if (actual.width != expected.width || actual.height != expected.height ||
        actual.pixels.size() != expected.pixels.size())
        return ::testing::AssertionFailure() << "size " << actual.width << "x" << actual.height;
    for (std::size_t i = 0; i < actual.pixels.size(); ++i) {
        if ((i % 4 == 3 || expected.pixels[i | 3] != 0) &&
            std::abs(actual.pixels[i] - expected.pixels[i]) > tolerance)
            return ::testing::AssertionFailure() << "byte " << i << ": " << int(actual.pixels[i])
                                                 << ", expected " << int(expected.pixels[i]);
    }
    return ::testing::AssertionSuccess();
}

// The message of the kelmor::Error the action throws, "(no error)" when it throws none.
inline std::string errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error& e) {
        return e.what();
    }
    return "(no error)";
}

} // namespace kelmor::test
