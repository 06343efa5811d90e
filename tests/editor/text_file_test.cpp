#include "base/error.h"
#include "editor/text_file.h"
#include "support/temp_folder.h"

#include <functional>
#include <gtest/gtest.h>

namespace kelmor {
namespace {

class ReadTextFileTest : public test::TempFolderTest {
protected:
    std::string write(const std::string& bytes) const { return writeFile("file.txt", bytes); }
    static std::string messageOf(const std::function<void()>& action) {
        try {
            action();
        } catch (const Error& e) {
            return e.what();
        }
        return "no error";
    }
};

struct LineEndCase {
    const char* file;
    const char* text;
};

class LineEndTest : public ReadTextFileTest, public ::testing::WithParamInterface<LineEndCase> {};

TEST_P(LineEndTest, EveryLoneCarriageReturnOrLineFeedBecomesAPair) {
    EXPECT_EQ(readTextFile(write(GetParam().file)), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Files, LineEndTest,
    ::testing::Values(LineEndCase{"a\rb\r", "a\r\nb\r\n"}, LineEndCase{"a\nb", "a\r\nb"},
                      LineEndCase{"a\r\nb\r\n", "a\r\nb\r\n"}, LineEndCase{"a\n\rb", "a\r\n\r\nb"},
                      LineEndCase{"\r\r\n\n", "\r\n\r\n\r\n"},
                      LineEndCase{"no line end", "no line end"}, LineEndCase{"", ""}));

TEST_F(ReadTextFileTest, KeepsEveryOtherByte) {
    const std::string bytes("\0\xff\xe9\t x", 6);
    EXPECT_EQ(readTextFile(write(bytes)), bytes);
}

TEST_F(ReadTextFileTest, MissingFileOrFolderCannotBeOpened) {
    const std::string missing = path("missing.txt");
    EXPECT_EQ(messageOf([&] { readTextFile(missing); }), "Cannot open file " + missing);
    EXPECT_EQ(messageOf([&] { readTextFile(folder_.string()); }),
              "Cannot open file " + folder_.string());
}

TEST_F(ReadTextFileTest, TextUpToTheCapacityIsRead) {
    EXPECT_EQ(readTextFile(write("12345678"), 8), "12345678");
    EXPECT_EQ(readTextFile(write("1234\r\n78"), 8), "1234\r\n78");
}

TEST_F(ReadTextFileTest, FileLargerThanTheCapacityIsRefused) {
    EXPECT_EQ(messageOf([&] { readTextFile(write("123456789"), 8); }),
              "Text exceeds memo capacity");
}

TEST_F(ReadTextFileTest, TextThatOutgrowsTheCapacityByItsLineEndsIsRefused) {
    EXPECT_EQ(messageOf([&] { readTextFile(write("1\n2\n3\n"), 8); }),
              "Text exceeds memo capacity");
}

} // namespace
} // namespace kelmor
