// How messages show the values users give them, through format and the messages built of several
// values.
#include "base/error.h"
#include "base/messages.h"

#include <gtest/gtest.h>
#include <string>

namespace kelmor {
namespace {

struct ShownCase {
    const char* name;
    std::string value;
    std::string shown;
};

void PrintTo(const ShownCase& c, std::ostream* out) {
    *out << c.name;
}

class ShownValue : public testing::TestWithParam<ShownCase> {};

TEST_P(ShownValue, EscapesControlsAndCutsLongValues) {
    const ShownCase& c = GetParam();
    EXPECT_EQ(shownValue(c.value), c.shown);
    EXPECT_EQ(format(msg::kCannotCreateFile, c.value), "Cannot create file " + c.shown);
    EXPECT_EQ(msg::fileNotFound(c.value), "File " + c.shown + " not found");
}

const std::string k200(200, 'a');

std::string repeated(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Values, ShownValue,
    testing::Values(
        ShownCase{"Plain", "index.html", "index.html"},
        ShownCase{"Nul", std::string("index.html\0x", 12), "index.html\\x00x"},
        ShownCase{"LineEndsTabEscapeDel", "a\r\n\tb\x1b[2J\x7F", "a\\x0D\\x0A\\x09b\\x1B[2J\\x7F"},
        ShownCase{"RightToLeftOverride", "\xE2\x80\xAEgpj.exe", "\\xE2\\x80\\xAEgpj.exe"},
        ShownCase{"ArabicLetterMark", "a\xD8\x9C", "a\\xD8\\x9C"},
        ShownCase{"IsolatesAndMarks", "\xE2\x81\xA6x\xE2\x81\xA9\xE2\x80\x8F",
                  "\\xE2\\x81\\xA6x\\xE2\\x81\\xA9\\xE2\\x80\\x8F"},
        ShownCase{"LettersStay", "Caf\xC3\xA9 \xD0\x9D\xE2\x80\x94",
                  "Caf\xC3\xA9 \xD0\x9D\xE2\x80\x94"},
        ShownCase{"NotUtf8Stays", "Caf\xE9", "Caf\xE9"}, ShownCase{"ExactlyTheLimit", k200, k200},
        ShownCase{"OnePast", k200 + "b", k200 + "..."},
        ShownCase{"CountsCharactersNotBytes", "x" + repeated("\xC3\xA9", 250),
                  "x" + repeated("\xC3\xA9", 199) + "..."},
        ShownCase{"StrayBytesCountOne", repeated("\xE9", 201), repeated("\xE9", 200) + "..."},
        ShownCase{"EscapedPastTheLimitIsCut", std::string(300, '\n'),
                  repeated("\\x0A", 200) + "..."}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(ShownValue, MessagesOfSeveralValuesShowEach) {
    EXPECT_EQ(msg::buttonFilesClash("A", "A\x1b over", "a-over.png"),
              "Buttons 'A' and 'A\\x1B over' would both write a-over.png");
    EXPECT_EQ(msg::soundOpenFailed(std::string("a\0.wav", 6), msg::kSoundFileMissing),
              "Cannot open sound file a\\x00.wav: the file does not exist.");
}

} // namespace
} // namespace kelmor
