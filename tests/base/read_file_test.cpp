#include "base/read_file.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace kelmor {
namespace {

class ReadWholeFileTest : public test::TempFolderTest {
protected:
    // The message of the error reading `file` with `limit` raises; "FileTooLarge: " before it
    // when it is the too-large error.
    static std::string failureOf(const std::string& file, std::size_t limit) {
        try {
            readWholeFile(file, limit);
        } catch (const FileTooLarge& e) {
            return std::string("FileTooLarge: ") + e.what();
        } catch (const Error& e) {
            return e.what();
        }
        return "no error";
    }
};

TEST_F(ReadWholeFileTest, ReadsEveryByteUpToTheLimit) {
    const std::string bytes("\0\r\n\xff text", 9);
    EXPECT_EQ(readWholeFile(writeFile("a", bytes), bytes.size()), bytes);
    EXPECT_EQ(readWholeFile(writeFile("empty", ""), 0), "");
    const std::string large(200000, 'x'); // more than one read chunk
    EXPECT_EQ(readWholeFile(writeFile("large", large)), large);
}

TEST_F(ReadWholeFileTest, OneByteOverTheLimitIsTooLarge) {
    const std::string file = writeFile("a", "123456789");
    EXPECT_EQ(failureOf(file, 8), "FileTooLarge: File " + file + " is too large");
    EXPECT_EQ(readWholeFile(file, 9), "123456789");
}

TEST_F(ReadWholeFileTest, MissingFileOrFolderCannotBeOpened) {
    EXPECT_EQ(failureOf(path("missing"), 100), "Cannot open file " + path("missing"));
    EXPECT_EQ(failureOf(folder_.string(), 100), "Cannot open file " + folder_.string());
}

// A device gives no size up front: the read stops one byte past the limit.
TEST_F(ReadWholeFileTest, EndlessDeviceStopsPastTheLimit) {
    EXPECT_EQ(failureOf("/dev/zero", 100000), "FileTooLarge: File /dev/zero is too large");
}

} // namespace
} // namespace kelmor
