#include "base/read_file.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

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

// Only regular files are read. A named pipe without a writer is refused at once instead of
// waiting for one, and an endless device is refused before any byte is read.
TEST_F(ReadWholeFileTest, AnythingButARegularFileCannotBeOpened) {
    const std::string pipe = path("pipe.gif");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    for (const std::string& file :
         {path("missing"), folder_.string(), pipe, std::string("/dev/zero")})
        EXPECT_EQ(failureOf(file, 100), "Cannot open file " + file);
}

} // namespace
} // namespace kelmor
