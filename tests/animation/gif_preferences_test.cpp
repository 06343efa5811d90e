// The Gifs Options file: what each stored text reads as, and the bytes written.
#include "animation/gif_preferences.h"
#include "base/atomic_file.h"
#include "base/error.h"
#include "base/read_file.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace kelmor {
namespace {

namespace fs = std::filesystem;

class GifPreferencesFile : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("kelmor-gifpref-" +
                   std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string file() const { return (folder_ / "KelGifPref.ini").string(); }
    void store(const std::string& text) const { std::ofstream(file(), std::ios::binary) << text; }

    fs::path folder_;
};

TEST_F(GifPreferencesFile, MissingFileGivesEmptyTextsAndThreeTicks) {
    const GifPreferences loaded = loadGifPreferences(folder_.string());
    EXPECT_EQ(loaded.loops, "");
    EXPECT_EQ(loaded.speed, "");
    EXPECT_TRUE(loaded.crop && loaded.merge && loaded.palette);
}

TEST_F(GifPreferencesFile, SwitchesReadAsIntegersAndWordsCountAsMissing) {
    store("[PREFERENCES]\nLoops=4\nSpeed= 5x \nCrop=yes\nMerge=0x0\nPalette=0\n");
    const GifPreferences loaded = loadGifPreferences(folder_.string());
    EXPECT_EQ(loaded.loops, "4");
    EXPECT_EQ(loaded.speed, "5x");
    EXPECT_TRUE(loaded.crop);
    EXPECT_FALSE(loaded.merge);
    EXPECT_FALSE(loaded.palette);

    store("[preferences]\nmerge=-2\nPalette=0X10\n");
    const GifPreferences other = loadGifPreferences(folder_.string());
    EXPECT_EQ(other.loops, "");
    EXPECT_TRUE(other.crop && other.merge && other.palette);
}

TEST_F(GifPreferencesFile, SaveWritesTheFiveKeysInOrderAndReadsBack) {
    GifPreferences preferences;
    preferences.loops = "abc";
    preferences.speed = "5";
    preferences.crop = false;
    preferences.palette = false;
    saveGifPreferences(folder_.string(), preferences);
    EXPECT_EQ(readWholeFile(file()),
              "[PREFERENCES]\nLoops=abc\nSpeed=5\nCrop=0\nMerge=1\nPalette=0\n");
    const GifPreferences loaded = loadGifPreferences(folder_.string());
    EXPECT_EQ(loaded.loops, "abc");
    EXPECT_EQ(loaded.speed, "5");
    EXPECT_FALSE(loaded.crop);
    EXPECT_TRUE(loaded.merge);
}

TEST_F(GifPreferencesFile, UnwritableFileIsReportedWithItsName) {
    fs::create_directories(file()); // a folder where the file should be
    try {
        saveGifPreferences(folder_.string(), GifPreferences{});
        FAIL() << "saved";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()), "Unable to write to " + file());
    }
}

} // namespace
} // namespace kelmor
