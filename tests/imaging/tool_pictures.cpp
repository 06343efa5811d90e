#include "imaging/tool_pictures.h"

#include "base/read_file.h"

#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sstream>

namespace kelmor::test {

bool runTool(const std::string& command) {
    return std::system(("(" + command + ") >/dev/null 2>&1").c_str()) == 0;
}

RgbaImage dwebpPixels(const std::string& webpPath) {
    const std::string pamPath = webpPath + ".pam";
    if (!runTool("dwebp -pam '" + webpPath + "' -o '" + pamPath + "'"))
        return {};
    const std::string pam = readWholeFile(pamPath);
    std::remove(pamPath.c_str());
    const std::size_t end = pam.find("ENDHDR\n");
    if (end == std::string::npos)
        return {};
    std::istringstream header(pam.substr(0, end));
    RgbaImage image;
    for (std::string key; header >> key;) {
        if (key == "WIDTH")
            header >> image.width;
        else if (key == "HEIGHT")
            header >> image.height;
    }
    const std::string data = pam.substr(end + 7);
    if (data.size() != std::size_t(image.width) * image.height * 4)
        return {};
    image.pixels.assign(data.begin(), data.end());
    return image;
}

RgbaImage pngPixels(const std::string& pngPath, const std::string& scratch) {
    const std::string webpPath = scratch + "/reference.webp";
    if (!runTool("cwebp -quiet -lossless -exact '" + pngPath + "' -o '" + webpPath + "'"))
        return {};
    return dwebpPixels(webpPath);
}

::testing::AssertionResult sameVisiblePixels(const RgbaImage& actual, const RgbaImage& expected,
                                             int tolerance) {
    if (actual.width != expected.width || actual.height != expected.height)
        return ::testing::AssertionFailure()
               << "size " << actual.width << "x" << actual.height << ", expected " << expected.width
               << "x" << expected.height;
    for (std::size_t i = 0; i < actual.pixels.size(); i += 4) {
        const int alpha = expected.pixels[i + 3];
        for (std::size_t c = 0; c < 4; ++c) {
            if (alpha == 0 && c < 3)
                continue;
            if (std::abs(actual.pixels[i + c] - expected.pixels[i + c]) > tolerance)
                return ::testing::AssertionFailure()
                       << "pixel " << i / 4 % actual.width << "," << i / 4 / actual.width
                       << " channel " << c << ": " << int(actual.pixels[i + c]) << ", expected "
                       << int(expected.pixels[i + c]);
        }
    }
    return ::testing::AssertionSuccess();
}

} // namespace kelmor::test
