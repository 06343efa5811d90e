// Button styles: their files, the shipped styles and the file-safe names of button texts.
#include "base/error.h"
#include "base/read_file.h"
#include "designer/button_style.h"
#include "designer/shipped_styles.h"
#include "imaging/tool_pictures.h"
#include "prefs/ini_file.h"
#include "support/temp_folder.h"
#include "unusual_style.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace kelmor {
namespace {

namespace fs = std::filesystem;
using test::errorOf;

class ButtonStyleFiles : public test::TempFolderTest {};

TEST_F(ButtonStyleFiles, EveryValueSurvivesSavingAndLoading) {
    const ButtonStyle style = test::unusualStyle();
    const std::string file = path("styles/Mine.ini");
    saveStyle(file, style);
    EXPECT_EQ(loadStyle(file), style);
    EXPECT_EQ(IniFile({}, file).readString("style", "shape", ""), "pill");
    EXPECT_EQ(IniFile({}, file).readString("style", "BorderColor", ""), "#ABCDEF");

    saveStyle(file, ButtonStyle{});
    EXPECT_EQ(loadStyle(file), ButtonStyle{});
    EXPECT_EQ(loadStyle(writeFile("partial.ini", "[Style]\nSize=20\n")).fontSize, 20);
}

// Every shipped style the folder lacks arrives, even in a folder the user made, and a user's own
// file of a shipped name is kept.
TEST_F(ButtonStyleFiles, ShippedStylesMatchTheDataFilesAndFillInWhatTheFolderLacks) {
    const std::string folder = stylesFolder(path("config"));
    installShippedStyles(folder);
    const std::vector<std::string> all{"Amber",   "Flat", "Glass",   "Midnight",
                                       "Outline", "Pill", "Rounded", "Soft"};
    EXPECT_EQ(listStyles(folder), all);
    for (const ShippedStyle& style : shippedStyles()) {
        const std::string name = std::string(style.name) + ".ini";
        EXPECT_EQ(readWholeFile(folder + "/" + name), readWholeFile(KELMOR_STYLES "/" + name));
        EXPECT_NO_THROW(loadStyle(folder + "/" + name)) << name;
    }
    fs::remove_all(folder);
    fs::create_directories(folder);
    ButtonStyle mine;
    mine.fontSize = 31;
    saveStyle(folder + "/Flat.ini", mine);
    installShippedStyles(folder);
    EXPECT_EQ(listStyles(folder), all);
    EXPECT_EQ(loadStyle(folder + "/Flat.ini").fontSize, 31);
    EXPECT_EQ(loadStyle(folder + "/Glass.ini").fill.bottom, (Colour{0x1C, 0x4F, 0x8E}));
}

TEST_F(ButtonStyleFiles, AStyleIsANameInTheFolderOrAFile) {
    EXPECT_EQ(styleFile("/s", "Glass"), "/s/Glass.ini");
    EXPECT_EQ(styleFile("/s", "my.INI"), "my.INI");
    EXPECT_EQ(styleFile("/s", "../x"), "../x");
}

TEST_F(ButtonStyleFiles, MissingAndDamagedFilesNameTheFileAndTheKey) {
    const std::string missing = path("none.ini");
    EXPECT_EQ(errorOf([&] { loadStyle(missing); }), "Style file " + missing + " not found");
    const std::string noSection = writeFile("a.ini", "[OTHER]\nSize=12\n");
    EXPECT_EQ(errorOf([&] { loadStyle(noSection); }),
              "Style file " + noSection + " is damaged: it has no [STYLE] section");
    const std::pair<const char*, const char*> bad[] = {
        {"Size=3", "Size: '3' is not a font size from 4 to 200 points"},
        {"Fill=#12345G", "Fill: '#12345G' is not a colour (#RRGGBB)"},
        {"Width=0", "Width: '0' is not a size from 1 to 2000 pixels"},
        {"Padding=2001", "Padding: '2001' is not a size from 0 to 2000 pixels"},
        {"Shape=star", "Shape: 'star' is not a shape (rect, rounded or pill)"},
        {"Bold=yes", "Bold: 'yes' is not 1 or 0"},
    };
    for (const auto& [line, reason] : bad) {
        const std::string file = writeFile("b.ini", std::string("[STYLE]\n") + line + "\n");
        EXPECT_EQ(errorOf([&] { loadStyle(file); }),
                  "Style file " + file + " is damaged: " + reason);
    }
}

TEST(FileSafeName, KeepsLettersAndDropsWhatBreaksFileNamesOrAttributes) {
    const std::pair<const char*, const char*> cases[] = {
        {"About Us", "about-us"},
        {"Café Ünïcode", "café-Ünïcode"},
        {"a/b\\c\"d'e<f>g&h?#%*:|", "abcdefgh"},
        {"Tab\there\x01\x7F", "tab-here"},
        {"bad\xFFutf8", "badutf8"},
        {"Новости", "Новости"},
        {"\xE2\x80\xAEgnp.exe", "gnp.exe"},
        {"a\xE2\x80\x8E"
         "b\xE2\x80\x8F\xD8\x9C\xE2\x81\xA6"
         "c\xE2\x81\xA9\xE2\x80\xAA",
         "abc"},
        {".htaccess", "htaccess"},
        {"..\xE2\x80\xAE.x", "x"},
        {"a.b", "a.b"},
    };
    for (const auto& [text, name] : cases)
        EXPECT_EQ(fileSafeName(text), name) << text;
    EXPECT_EQ(fileSafeName(std::string(300, 'x')).size(), 200u);
    EXPECT_EQ(errorOf([] { fileSafeName(""); }), "A button text is empty");
    EXPECT_EQ(errorOf([] { fileSafeName("<&>"); }), "The button text '<&>' gives no file name");
    EXPECT_EQ(errorOf([] { fileSafeName("."); }), "The button text '.' gives no file name");
}

} // namespace
} // namespace kelmor
