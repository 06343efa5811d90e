// The Gifs Options file: what each stored text reads as. What is written, and an unwritable
// file, are checked through the dialog's OK button in gifs_tab_test.cpp.
#include "animation/gif_preferences.h"
#include "support/temp_folder.h"

namespace kelmor {
namespace {

using GifPreferencesFile = test::TempFolderTest;

TEST_F(GifPreferencesFile, SwitchesReadAsIntegersAndWordsOrAMissingFileCountAsTicked) {
    const struct {
        const char* text; // nullptr: no file
        const char *loops, *speed;
        bool crop, merge, palette;
    } cases[] = {
        {nullptr, "", "", true, true, true},
        {"[PREFERENCES]\nLoops=4\nSpeed= 5x \nCrop=yes\nMerge=0x0\nPalette=0\n", "4", "5x", true,
         false, false},
        {"[preferences]\nmerge=-2\nPalette=0X10\n", "", "", true, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text ? c.text : "no file");
        if (c.text)
            writeFile(GifPreferences::kFileName, c.text);
        const GifPreferences loaded = loadGifPreferences(folder_.string());
        EXPECT_EQ(loaded.loops, c.loops);
        EXPECT_EQ(loaded.speed, c.speed);
        EXPECT_EQ(std::tuple(loaded.crop, loaded.merge, loaded.palette),
                  std::tuple(c.crop, c.merge, c.palette));
    }
}

} // namespace
} // namespace kelmor
