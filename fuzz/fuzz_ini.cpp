// Feeds arbitrary bytes to the INI reader as a preference or style file. Reading never fails
// nor throws; a style is either loaded or refused with an Error; a key written is read back as
// written, and every other value read before the write reads the same after it.

#include "base/error.h"
#include "designer/button_style.h"
#include "prefs/ini_file.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

// In memory where the system has such a folder: every write syncs the file it replaces.
const std::string& folder() {
    static const std::string made = [] {
        char name[] = "/dev/shm/fuzz-ini.XXXXXX";
        char fallback[] = "/tmp/fuzz-ini.XXXXXX";
        if (access("/dev/shm", W_OK) == 0 && mkdtemp(name) != nullptr)
            return std::string(name);
        if (mkdtemp(fallback) == nullptr)
            std::abort();
        return std::string(fallback);
    }();
    return made;
}

// Sections and keys of the preference file and the style files, and one of neither.
constexpr std::array<std::string_view, 4> kSections = {"STYLE", "Kelmor", "Pics", "x"};
constexpr std::array<std::string_view, 5> kKeys = {"Fill", "Font", "Width", "Shape", "k"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = folder() + "/file.ini";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0)
        std::abort();

    kelmor::IniFile ini(folder(), "file.ini");
    std::string before[kSections.size()][kKeys.size()];
    for (std::size_t s = 0; s < kSections.size(); ++s)
        for (std::size_t k = 0; k < kKeys.size(); ++k)
            before[s][k] = ini.readString(kSections[s], kKeys[k], "\x01");
    try {
        kelmor::loadStyle(path);
    } catch (const kelmor::Error&) {
    }

    try {
        ini.writeString("x", "k", "written");
    } catch (const kelmor::Error&) {
        return 0; // a file too large to rewrite keeps its bytes
    }
    if (ini.readString("x", "k", "") != "written")
        std::abort();
    for (std::size_t s = 0; s < kSections.size(); ++s)
        for (std::size_t k = 0; k < kKeys.size(); ++k)
            if ((s != 3 || k != 4) &&
                ini.readString(kSections[s], kKeys[k], "\x01") != before[s][k])
                std::abort();
    return 0;
}
