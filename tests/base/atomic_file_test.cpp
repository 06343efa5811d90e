#include "base/atomic_file.h"
#include "base/error.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kelmor {
namespace {

namespace fs = std::filesystem;

enum class User { Any, Unprivileged, Root };

// One way a save meets the file system: `prepare` makes the files in the folder and returns
// the path to save to; `save` runs the save (the writer itself unless the case needs more
// around it) and returns its error message, empty on success; `check` looks at the result.
struct WriterCase {
    const char* name;
    User user;
    std::function<std::string(const fs::path& folder)> prepare;
    std::function<void(const fs::path& folder)> check;
    const char* failure = ""; // "Cannot create file %s", or "" for a save that succeeds
    std::function<std::string(const std::string& path)> save = {};
};

void PrintTo(const WriterCase& c, std::ostream* out) {
    *out << c.name;
}

const std::string kOld = "old bytes";
const std::string kNew = "new bytes, longer than the old ones";

std::string saveAndReport(const std::string& path) {
    try {
        writeFileReplacing(path, kNew);
    } catch (const Error& error) {
        return error.what();
    }
    return {};
}

std::string make(const fs::path& file, const std::string& bytes = kOld) {
    std::ofstream(file, std::ios::binary) << bytes;
    return file.string();
}

std::string contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct stat statOf(const fs::path& file) {
    struct stat info {};
    EXPECT_EQ(::lstat(file.c_str(), &info), 0) << file;
    return info;
}

// The names in the folder: a failed or finished save leaves no temporary file behind.
std::vector<std::string> names(const fs::path& folder) {
    std::vector<std::string> all;
    for (const auto& entry : fs::directory_iterator(folder))
        all.push_back(entry.path().filename().string());
    std::sort(all.begin(), all.end());
    return all;
}

// What a pipe holds now (its reading end is closed).
std::string readAvailable(int fd) {
    ::fcntl(fd, F_SETFL, O_NONBLOCK);
    char got[100];
    const ssize_t n = ::read(fd, got, sizeof got);
    ::close(fd);
    return std::string(got, static_cast<size_t>(std::max<ssize_t>(n, 0)));
}

// A link made as /dev/stdout is. Saving through a copy in the test's folder rather than
// /dev/stdout itself means a writer that replaced links could only harm that folder.
std::string standardOutputLink(const fs::path& folder) {
    fs::create_symlink("/proc/self/fd/1", folder / "stdout");
    return (folder / "stdout").string();
}

// Saves with standard output sent to `fd`, as `kelmor-cli ... /dev/stdout | reader` does.
std::string saveWithStandardOutputOn(int fd, const std::string& path) {
    std::fflush(stdout);
    const int saved = ::dup(STDOUT_FILENO);
    ::dup2(fd, STDOUT_FILENO);
    std::string failure = saveAndReport(path);
    ::dup2(saved, STDOUT_FILENO);
    ::close(saved);
    return failure;
}

const WriterCase kCases[] = {
    {"NewFileTakesTheUmask", User::Any, [](const fs::path& f) { return (f / "new").string(); },
     [](const fs::path& f) {
         const mode_t mask = ::umask(0);
         ::umask(mask);
         EXPECT_EQ(statOf(f / "new").st_mode & 07777, 0666 & ~mask);
         EXPECT_EQ(names(f), std::vector<std::string>{"new"});
     }},
    {"ReplacedFileKeepsItsMode", User::Any,
     [](const fs::path& f) {
         make(f / "script");
         ::chmod((f / "script").c_str(), 0750);
         return (f / "script").string();
     },
     [](const fs::path& f) {
         EXPECT_EQ(statOf(f / "script").st_mode & 07777, 0750u);
         EXPECT_EQ(names(f), std::vector<std::string>{"script"});
     }},
    {"LinkIsFollowedAndStays", User::Any,
     [](const fs::path& f) {
         fs::create_directory(f / "sub");
         make(f / "sub" / "real");
         fs::create_symlink("sub/real", f / "link");
         return (f / "link").string();
     },
     [](const fs::path& f) {
         EXPECT_TRUE(fs::is_symlink(f / "link"));
         EXPECT_EQ(fs::read_symlink(f / "link"), "sub/real");
         EXPECT_EQ(contents(f / "sub" / "real"), kNew);
         EXPECT_EQ(names(f / "sub"), std::vector<std::string>{"real"});
     }},
    {"LinkToAMissingFileCreatesIt", User::Any,
     [](const fs::path& f) {
         fs::create_symlink("missing", f / "link");
         return (f / "link").string();
     },
     [](const fs::path& f) {
         EXPECT_TRUE(fs::is_symlink(f / "link"));
         EXPECT_EQ(contents(f / "missing"), kNew);
     }},
    {"HardLinksStayOneFile", User::Any,
     [](const fs::path& f) {
         make(f / "a");
         fs::create_hard_link(f / "a", f / "b");
         return (f / "a").string();
     },
     [](const fs::path& f) {
         EXPECT_EQ(contents(f / "b"), kNew);
         EXPECT_EQ(statOf(f / "a").st_nlink, 2u);
     }},
    {"LongestNameTheFileSystemTakes", User::Any,
     [](const fs::path& f) { return make(f / std::string(255, 'n')); },
     [](const fs::path& f) { EXPECT_EQ(contents(f / std::string(255, 'n')), kNew); }},
    {"NamedPipeIsWrittenInPlace", User::Any,
     [](const fs::path& f) {
         ::mkfifo((f / "pipe").c_str(), 0600);
         return (f / "pipe").string();
     },
     [](const fs::path& f) { EXPECT_TRUE(fs::is_fifo(f / "pipe")); }, "",
     [](const std::string& path) {
         // The reading end is open before the save, so the save's open does not wait for one.
         const int reader = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
         std::string failure = saveAndReport(path);
         EXPECT_EQ(readAvailable(reader), kNew);
         return failure;
     }},
    {"StandardOutputThatIsAPipe", User::Any, standardOutputLink, [](const fs::path&) {}, "",
     [](const std::string& path) {
         int ends[2];
         EXPECT_EQ(::pipe(ends), 0);
         std::string failure = saveWithStandardOutputOn(ends[1], path);
         ::close(ends[1]);
         EXPECT_EQ(readAvailable(ends[0]), kNew);
         return failure;
     }},
    {"StandardOutputThatIsAFile", User::Any,
     [](const fs::path& f) {
         make(f / "out");
         return standardOutputLink(f);
     },
     [](const fs::path& f) {
         EXPECT_EQ(contents(f / "out"), kNew);
         EXPECT_TRUE(fs::is_symlink(f / "stdout"));
     },
     "",
     [](const std::string& path) {
         const fs::path out = fs::path(path).parent_path() / "out";
         const int fd = ::open(out.c_str(), O_WRONLY);
         std::string failure = saveWithStandardOutputOn(fd, path);
         ::close(fd);
         return failure;
     }},
    {"ReadOnlyFolderWritesInPlace", User::Unprivileged,
     [](const fs::path& f) {
         fs::create_directory(f / "locked");
         make(f / "locked" / "file");
         ::chmod((f / "locked").c_str(), 0555);
         return (f / "locked" / "file").string();
     },
     [](const fs::path& f) {
         EXPECT_EQ(contents(f / "locked" / "file"), kNew);
         ::chmod((f / "locked").c_str(), 0755);
     }},
    {"ReadOnlyFileIsNotReplaced", User::Unprivileged,
     [](const fs::path& f) {
         make(f / "ro");
         ::chmod((f / "ro").c_str(), 0444);
         return (f / "ro").string();
     },
     [](const fs::path& f) {
         EXPECT_EQ(contents(f / "ro"), kOld);
         EXPECT_EQ(names(f), std::vector<std::string>{"ro"});
     },
     "Cannot create file %s"},
    {"OtherUsersFileKeepsItsOwner", User::Root,
     [](const fs::path& f) {
         make(f / "theirs");
         EXPECT_EQ(::chown((f / "theirs").c_str(), 65534, 65534), 0);
         return (f / "theirs").string();
     },
     [](const fs::path& f) {
         EXPECT_EQ(contents(f / "theirs"), kNew);
         EXPECT_EQ(statOf(f / "theirs").st_uid, 65534u);
         EXPECT_EQ(statOf(f / "theirs").st_gid, 65534u);
     }},
    {"FolderIsNotAFile", User::Any, [](const fs::path& f) { return f.string(); },
     [](const fs::path& f) { EXPECT_TRUE(fs::is_empty(f)); }, "Cannot create file %s"},
    {"FailureMidWriteKeepsTheOldFile", User::Any,
     [](const fs::path& f) { return make(f / "file"); },
     [](const fs::path& f) {
         EXPECT_EQ(contents(f / "file"), kOld);
         EXPECT_EQ(names(f), std::vector<std::string>{"file"});
     },
     "Cannot create file %s",
     [](const std::string& path) {
         // The file size limit cuts the write after a few bytes.
         struct rlimit old {};
         ::getrlimit(RLIMIT_FSIZE, &old);
         const auto previous = std::signal(SIGXFSZ, SIG_IGN);
         struct rlimit small = old;
         small.rlim_cur = 10;
         ::setrlimit(RLIMIT_FSIZE, &small);
         std::string failure = saveAndReport(path);
         ::setrlimit(RLIMIT_FSIZE, &old);
         std::signal(SIGXFSZ, previous);
         return failure;
     }},
};

class FileWriter : public test::TempFolderTest, public testing::WithParamInterface<WriterCase> {};

TEST_P(FileWriter, SavesAsTheFileSystemExpects) {
    const WriterCase& c = GetParam();
    const bool root = ::geteuid() == 0;
    if ((c.user == User::Unprivileged && root) || (c.user == User::Root && !root))
        GTEST_SKIP() << "needs " << (root ? "an unprivileged user" : "root");
    const std::string target = c.prepare(folder_);
    const std::string failure = c.save ? c.save(target) : saveAndReport(target);
    EXPECT_EQ(failure, format(c.failure, target));
    c.check(folder_);
}

INSTANTIATE_TEST_SUITE_P(Cases, FileWriter, testing::ValuesIn(kCases),
                         [](const auto& param) { return std::string(param.param.name); });

} // namespace
} // namespace kelmor
