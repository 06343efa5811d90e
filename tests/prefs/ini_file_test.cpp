#include "base/error.h"
#include "prefs/ini_file.h"
#include "support/temp_folder.h"

#include <climits>
#include <filesystem>
#include <gtest/gtest.h>

namespace kelmor {
namespace {

namespace fs = std::filesystem;

class IniFileTest : public test::TempFolderTest {
protected:
    std::string configDir() const { return path("config"); }
    std::string iniPath() const { return configDir() + "/KelmorPref.ini"; }
    IniFile ini() const { return IniFile(configDir(), "KelmorPref.ini"); }

    void writeIni(const std::string& bytes) const {
        fs::create_directories(configDir());
        writeFile("config/KelmorPref.ini", bytes);
    }
    std::string iniBytes() const { return readFile("config/KelmorPref.ini"); }
};

TEST(ProfilePath, BareNameGoesIntoConfigFolderAndPathsStayAsGiven) {
    EXPECT_EQ(profilePath("/home/u/.config/kelmor", "KelmorPref.ini"),
              "/home/u/.config/kelmor/KelmorPref.ini");
    EXPECT_EQ(profilePath("/cfg/", "KelGifPref.ini"), "/cfg/KelGifPref.ini");
    EXPECT_EQ(profilePath("/cfg", "/tmp/other.ini"), "/tmp/other.ini");
}

struct ReadCase {
    const char* name;
    const char* file;
    const char* key;
    const char* expected; // "<default>" when the default must come back
};

void PrintTo(const ReadCase& c, std::ostream* out) {
    *out << '"' << c.name << '"';
}

class IniReadTest : public IniFileTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(IniReadTest, FindsValueInItsOwnSectionOnly) {
    writeIni(GetParam().file);
    EXPECT_EQ(ini().readString("PREFERENCES", GetParam().key, "<default>"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    OddFiles, IniReadTest,
    ::testing::Values(
        ReadCase{"OtherCaseAndBlanks", "  [ preferences ]  \n  gif  =  /pics/a b  \t\n", "Gif",
                 "/pics/a b"},
        ReadCase{"CommentsAndBlankLines",
                 "; head\n\n[PREFERENCES]\n; Gif=/no\n# Gif=/no\n\nGif=/yes\n", "Gif", "/yes"},
        ReadCase{"KeyOnlyInOtherSection", "[OTHER]\nGif=/x\n[PREFERENCES]\nBmp=/b\n", "Gif",
                 "<default>"},
        ReadCase{"KeyInLaterSection", "[PREFERENCES]\nBmp=/b\n[Other]\nGif=/x\n", "Gif",
                 "<default>"},
        ReadCase{"KeyBeforeAnySection", "Gif=/x\n[PREFERENCES]\n", "Gif", "<default>"},
        ReadCase{"CrLfLines", "[PREFERENCES]\r\nGif=/c\r\nBmp=/d\r\n", "Gif", "/c"},
        ReadCase{"NoFinalLineEnd", "[PREFERENCES]\nGif=/last", "Gif", "/last"},
        ReadCase{"FirstOfDuplicateKeys", "[PREFERENCES]\nGif=/1\nGIF=/2\n", "Gif", "/1"},
        ReadCase{"FirstOfDuplicateSections", "[PREFERENCES]\nBmp=1\n[PREFERENCES]\nGif=/2\n", "Gif",
                 "<default>"},
        ReadCase{"EqualsInsideValue", "[PREFERENCES]\nGif=a=b\n", "Gif", "a=b"},
        ReadCase{"EmptyValueIsNotMissing", "[PREFERENCES]\nGif=\n", "Gif", ""},
        ReadCase{"ByteOrderMark", "\xEF\xBB\xBF[PREFERENCES]\nGif=/bom\n", "Gif", "/bom"},
        ReadCase{"EmptyFile", "", "Gif", "<default>"}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(IniFileTest, MissingFileOrFolderGivesDefaults) {
    EXPECT_EQ(ini().readString("PREFERENCES", "Gif", "dflt"), "dflt");
    EXPECT_TRUE(ini().readBool("PREFERENCES", "Html", true));
    fs::create_directories(iniPath());
    EXPECT_EQ(ini().readString("PREFERENCES", "Gif", "dflt"), "dflt");
    EXPECT_FALSE(ini().readBool("PREFERENCES", "Html", false));
}

struct BoolCase {
    const char* stored;
    bool withDefaultTrue;
    bool withDefaultFalse;
};

void PrintTo(const BoolCase& c, std::ostream* out) {
    *out << '"' << c.stored << '"';
}

class IniBoolTest : public IniFileTest, public ::testing::WithParamInterface<BoolCase> {};

TEST_P(IniBoolTest, ReadsIntegerFormsAndFallsBackOnOtherText) {
    writeIni(std::string("[PREFERENCES]\nHtml=") + GetParam().stored + "\n");
    EXPECT_EQ(ini().readBool("PREFERENCES", "html", true), GetParam().withDefaultTrue);
    EXPECT_EQ(ini().readBool("PREFERENCES", "html", false), GetParam().withDefaultFalse);
}

INSTANTIATE_TEST_SUITE_P(
    Values, IniBoolTest,
    ::testing::Values(BoolCase{"1", true, true}, BoolCase{"0", false, false},
                      BoolCase{" 0 ", false, false}, BoolCase{"12", true, true},
                      BoolCase{"-1", true, true}, BoolCase{"0x1", true, true},
                      BoolCase{"0X0", false, false}, BoolCase{"0xfF", true, true},
                      BoolCase{"yes", true, false}, BoolCase{"true", true, false},
                      BoolCase{"", true, false}, BoolCase{"0x", true, false},
                      BoolCase{"1a", true, false}, BoolCase{"99999999999", true, false}));

TEST(ParseProfileInteger, RangeAndSigns) {
    EXPECT_EQ(parseProfileInteger("0x1f"), 31);
    EXPECT_EQ(parseProfileInteger("0xFFFFFFFF"), -1);
    EXPECT_EQ(parseProfileInteger("-0x10"), -16);
    EXPECT_EQ(parseProfileInteger("+7"), 7);
    EXPECT_EQ(parseProfileInteger("2147483647"), INT_MAX);
    EXPECT_EQ(parseProfileInteger("-2147483648"), INT_MIN);
    EXPECT_EQ(parseProfileInteger("2147483648"), std::nullopt);
    EXPECT_EQ(parseProfileInteger("0x100000000"), std::nullopt);
    EXPECT_EQ(parseProfileInteger("-"), std::nullopt);
    EXPECT_EQ(parseProfileInteger("1 2"), std::nullopt);
}

TEST_F(IniFileTest, LongValuesComeBackCutToTheReadBuffer) {
    writeIni("[PREFERENCES]\nA=" + std::string(2100, 'a') + "\nB=" + std::string(2047, 'b') +
             "\nU=" + std::string(2046, 'u') + "\xC3\xA9" + "\nL=" + std::string(2046, 'l') +
             "\xE9\xE9\n");
    EXPECT_EQ(ini().readString("PREFERENCES", "A", ""), std::string(2047, 'a'));
    EXPECT_EQ(ini().readString("PREFERENCES", "B", ""), std::string(2047, 'b'));
    // UTF-8 text is not cut inside a character; 8-bit text is cut at the byte.
    EXPECT_EQ(ini().readString("PREFERENCES", "U", ""), std::string(2046, 'u'));
    EXPECT_EQ(ini().readString("PREFERENCES", "L", ""), std::string(2046, 'l') + "\xE9");
}

TEST_F(IniFileTest, NewFileListsKeysInWrittenOrderInACreatedFolder) {
    IniFile file = ini();
    file.writeString("PREFERENCES", "Image Directory", "/img");
    file.writeString("PREFERENCES", "Sounds Directory", "");
    file.writeBool("PREFERENCES", "Html", false);
    file.writeBool("PREFERENCES", "Image", true);
    file.writeString("PREFERENCES", "image directory", "/img2");
    EXPECT_EQ(iniBytes(), "[PREFERENCES]\nImage Directory=/img2\nSounds Directory=\nHtml=0\n"
                          "Image=1\n");
}

TEST_F(IniFileTest, WriteKeepsCommentsOtherSectionsAndLineEnds) {
    writeIni("; my settings\r\n[Other]\r\nGif=/other\r\n\r\n[preferences]\r\n; folders\r\n"
             "  gif = /old\r\nBmp=/b\r\n\r\n; trailing\r\n[Last]\r\nX=1");
    IniFile file = ini();
    file.writeString("PREFERENCES", "Gif", "/new");
    file.writeString("PREFERENCES", "Jpg", "/j");
    file.writeString("NEWSECTION", "K", "v");
    EXPECT_EQ(iniBytes(), "; my settings\r\n[Other]\r\nGif=/other\r\n\r\n[preferences]\r\n"
                          "; folders\r\ngif=/new\r\nBmp=/b\r\nJpg=/j\r\n\r\n; trailing\r\n"
                          "[Last]\r\nX=1\r\n[NEWSECTION]\r\nK=v\r\n");
    EXPECT_EQ(file.readString("Other", "Gif", ""), "/other");
}

TEST_F(IniFileTest, UnwritableFolderReportsTheFile) {
    writeFile("plain-file", "x");
    IniFile file(path("plain-file/kelmor"), "KelmorPref.ini");
    try {
        file.writeString("PREFERENCES", "Gif", "/g");
        FAIL() << "write into a folder below a file succeeded";
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + file.path());
    }
}

TEST_F(IniFileTest, FailedWriteKeepsEarlierKeysAndTheFileWhole) {
    IniFile file = ini();
    file.writeString("PREFERENCES", "Gif", "/g");
    file.writeString("PREFERENCES", "Bmp", "/b");
    const std::string before = iniBytes();
    EXPECT_THROW(file.writeString("PREFERENCES", "Jpg", "two\nlines"), Error);
    EXPECT_THROW(file.writeString("PREFERENCES", "Key=", "v"), Error);
    EXPECT_EQ(iniBytes(), before);
    EXPECT_EQ(file.readString("PREFERENCES", "Bmp", ""), "/b");

    fs::remove(iniPath());
    fs::create_directories(iniPath());
    EXPECT_THROW(file.writeString("PREFERENCES", "Gif", "/g"), Error);
}

} // namespace
} // namespace kelmor
