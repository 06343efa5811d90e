#include "imaging/tool_pictures.h"

#include "base/error.h"
#include "base/read_file.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace kelmor::test {

bool runTool(const std::string& command) {
    return std::system(("(" + command + ") >/dev/null 2>&1").c_str()) == 0;
}

RgbaImage toolPixels(const std::string& path) {
    std::string webp = path;
    if (path.ends_with(".png") &&
        !runTool("cwebp -lossless -exact '" + path + "' -o '" + (webp = path + ".webp") + "'"))
        return {};
    if (!runTool("dwebp -pam '" + webp + "' -o '" + webp + ".pam'"))
        return {};
    const std::string pam = readWholeFile(webp + ".pam");
    const std::size_t end = pam.find("ENDHDR\n");
    std::istringstream header(pam.substr(0, end));
    RgbaImage image;
    for (std::string key; header >> key;) {
        if (key == "WIDTH" || key == "HEIGHT")
            header >> (key == "WIDTH" ? image.width : image.height);
    }
    if (end == std::string::npos ||
        pam.size() - end - 7 != std::size_t(image.width) * image.height * 4)
        return {};
    image.pixels.assign(pam.begin() + static_cast<std::ptrdiff_t>(end + 7), pam.end());
    return image;
}

::testing::AssertionResult sameVisiblePixels(const RgbaImage& actual, const RgbaImage& expected,
                                             int tolerance) {
    if (actual.width != expected.width || actual.height != expected.height)
        return ::testing::AssertionFailure()
               << "size " << actual.width << "x" << actual.height << ", expected " << expected.width
               << "x" << expected.height;
    for (std::size_t i = 0; i < actual.pixels.size(); ++i) {
        const bool hidden = i % 4 != 3 && expected.pixels[i | 3] == 0;
        if (!hidden && std::abs(actual.pixels[i] - expected.pixels[i]) > tolerance)
            return ::testing::AssertionFailure()
                   << "pixel " << i / 4 % actual.width << "," << i / 4 / actual.width << " channel "
                   << i % 4 << ": " << int(actual.pixels[i]) << ", expected "
                   << int(expected.pixels[i]);
    }
    return ::testing::AssertionSuccess();
}

std::string errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error& e) {
        return e.what();
    }
    return "(no error)";
}

} // namespace kelmor::test
