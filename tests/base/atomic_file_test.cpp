#include "base/atomic_file.h"
#include "base/error.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <string_view>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kelmor {
namespace {

using namespace std::string_view_literals;

enum class User { Any, Unprivileged, Root };
// Where standard output goes during the save: a save to a link made as /dev/stdout is, kept in
// the test's folder so that a writer that replaced links could harm nothing else.
enum class Output { Unchanged, Pipe, FileOut };
// A file size limit of two bytes: none, one the save fails on, or one that kills the saving
// process (SIGXFSZ) part way; a killed save reports "killed".
enum class Limit { None, Fails, Kills };

// One way a save meets the file system. `setup` and `check` are shell commands run in the test's
// folder; `check` sees what a pipe received in the file "got". The save writes "new".
struct WriterCase {
    const char* name;
    const char* setup;
    std::string_view target; // empty: the longest name a folder takes
    const char* check;
    const char* failure = ""; // "Cannot create file %s", "killed", or "" for a save that succeeds
    User user = User::Any;
    Output output = Output::Unchanged;
    Limit limit = Limit::None;
};

void PrintTo(const WriterCase& c, std::ostream* out) {
    *out << c.name;
}

const WriterCase kCases[] = {
    {"NewFileTakesTheUmask", "", "f", "test $(stat -c %a f) = $(printf %o $((0666 & ~$(umask))))"},
    {"ReplacedFileKeepsItsMode", "echo old >f; chmod 750 f", "f",
     "test $(stat -c %a f) = 750 && test \"$(cat f)\" = new && test \"$(ls -A)\" = f"},
    {"LinkIsFollowedAndStays", "mkdir d; echo old >d/f; ln -s d/f link", "link",
     "test \"$(readlink link)\" = d/f && test \"$(cat d/f)\" = new && test \"$(ls -A d)\" = f"},
    {"LinkToAMissingFileCreatesIt", "ln -s f link", "link", "test -L link && test -f f"},
    {"HardLinksStayOneFile", "echo old >a; ln a b", "a",
     "test \"$(cat b)\" = new && test $(stat -c %h a) = 2 && test $(ls -A | wc -l) = 2"},
    {"HardLinkedLongestName", "echo old >$(printf %0255d 0); ln $(printf %0255d 0) b", "",
     "test \"$(cat b)\" = new && test $(ls -A | wc -l) = 2"},
    {"LongestNameTheFileSystemTakes", "echo old >$(printf %0255d 0)", "",
     "test \"$(cat $(printf %0255d 0))\" = new"},
    {"NamedPipeIsWrittenInPlace", "mkfifo p", "p", "test -p p && test \"$(cat got)\" = new"},
    {"StandardOutputThatIsAPipe", "ln -s /proc/self/fd/1 out", "out", "test \"$(cat got)\" = new",
     "", User::Any, Output::Pipe},
    {"StandardOutputThatIsAFile", "echo old >f; ln -s /proc/self/fd/1 out", "out",
     "test \"$(cat f)\" = new && test -L out", "", User::Any, Output::FileOut},
    {"ReadOnlyFolderWritesInPlace", "mkdir d; echo old >d/f; chmod 555 d", "d/f",
     "test \"$(cat d/f)\" = new", "", User::Unprivileged},
    {"ReadOnlyFileIsNotReplaced", "echo old >f; chmod 444 f", "f",
     "test \"$(cat f)\" = old && test \"$(ls -A)\" = f", "Cannot create file %s",
     User::Unprivileged},
    {"OtherUsersFileKeepsItsOwner", "echo old >f; chown 65534:65534 f", "f",
     "test \"$(cat f)\" = new && test \"$(stat -c %u:%g f)\" = 65534:65534", "", User::Root},
    {"FolderIsNotAFile", "mkdir d", "d", "test -z \"$(ls -A d)\"", "Cannot create file %s"},
    {"FailureMidWriteKeepsTheOldFile", "echo old >f", "f",
     "test \"$(cat f)\" = old && test \"$(ls -A)\" = f", "Cannot create file %s", User::Any,
     Output::Unchanged, Limit::Fails},
    {"FailedInPlaceWriteKeepsTheOldFile", "printf o >f; ln f g", "f",
     "test \"$(cat f)\" = o && test \"$(ls -A | tr '\\n' ' ')\" = 'f g '", "Cannot create file %s",
     User::Any, Output::Unchanged, Limit::Fails},
    {"KilledWriteLeavesNothingBehind", "echo old >f", "f",
     "test \"$(cat f)\" = old && test \"$(ls -A)\" = f", "killed", User::Any, Output::Unchanged,
     Limit::Kills},
    {"KilledInPlaceWriteLeavesACopy", "printf o >f; ln f g", "f",
     "test \"$(cat f)\" = o && test \"$(cat .f.kelmor-backup)\" = o", "killed", User::Any,
     Output::Unchanged, Limit::Kills},
    {"OwnLinkInASharedFolderIsFollowed", "mkdir -m 1777 s; echo old >f; ln -s ../f s/link",
     "s/link", "test -L s/link && test \"$(cat f)\" = new"},
    {"PlantedLinkInASharedFolderIsRefused",
     "mkdir -m 1777 s; echo old >f; ln -s ../f s/link; chown -h 65534 s/link", "s/link",
     "test -L s/link && test \"$(cat f)\" = old", "Cannot create file %s", User::Root},
    {"NameWithANulIsRefused", "echo old >victim", "victim\0.html"sv,
     "test \"$(cat victim)\" = old && test \"$(ls -A)\" = victim", "Cannot create file %s"},
    {"MissingFolderIsRefused", "", "d/f", "test -z \"$(ls -A)\"", "Cannot create file %s"},
    {"LinkIntoAMissingFolderIsRefused", "ln -s d/f link", "link", "test \"$(ls -A)\" = link",
     "Cannot create file %s"},
    {"PlantedLinkToAMissingFileIsRefused",
     "mkdir -m 1777 s; ln -s ../f s/link; chown -h 65534 s/link", "s/link", "test ! -e f",
     "Cannot create file %s", User::Root},
};

// What a pipe holds now; its reading end is closed afterwards.
std::string drain(int fd) {
    char got[100];
    const ssize_t n = ::read(fd, got, sizeof got);
    ::close(fd);
    return std::string(got, static_cast<size_t>(std::max<ssize_t>(n, 0)));
}

class FileWriter : public test::TempFolderTest, public testing::WithParamInterface<WriterCase> {
protected:
    // Saves in a child process that a file size limit of two bytes kills part way.
    static std::string killedSave(const std::string& target) {
        const pid_t child = ::fork();
        if (child == 0) {
            const struct rlimit noCore = {0, 0}, small = {2, 2};
            ::setrlimit(RLIMIT_CORE, &noCore);
            ::setrlimit(RLIMIT_FSIZE, &small);
            std::signal(SIGXFSZ, SIG_DFL);
            try {
                writeFileReplacing(target, "new");
            } catch (const Error&) {
            }
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ ? "killed" : "not killed";
    }
    bool shell(const std::string& command) const {
        return std::system(("cd '" + folder_.string() + "' && " + command).c_str()) == 0;
    }
    // Saves with standard output, the size limit and a pipe's reading end set up as the case
    // asks; returns the error message, empty on success. `refusal` gets checkWritable's message
    // from just before the save.
    std::string save(const WriterCase& c, const std::string& target, std::string& refusal) const {
        if (c.limit == Limit::Kills)
            return killedSave(target);
        int reader = -1, ends[2] = {-1, -1};
        if (std::filesystem::is_fifo(target))
            reader = ::open(target.c_str(), O_RDONLY | O_NONBLOCK);
        if (c.output == Output::Pipe && ::pipe(ends) == 0)
            reader = ends[0];
        const int output =
            c.output == Output::FileOut ? ::open(path("f").c_str(), O_WRONLY) : ends[1];
        std::fflush(stdout);
        const int saved = ::dup(STDOUT_FILENO);
        if (output >= 0)
            ::dup2(output, STDOUT_FILENO);
        struct rlimit old {};
        ::getrlimit(RLIMIT_FSIZE, &old);
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        const struct rlimit small = {c.limit == Limit::Fails ? 2 : old.rlim_cur, old.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &small);
        try {
            checkWritable(target);
        } catch (const Error& error) {
            refusal = error.what();
        }
        std::string failure;
        try {
            writeFileReplacing(target, "new");
        } catch (const Error& error) {
            failure = error.what();
        }
        ::setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, previous);
        ::dup2(saved, STDOUT_FILENO);
        for (const int fd : {saved, output})
            ::close(fd);
        if (reader >= 0)
            writeFile("got", drain(reader));
        return failure;
    }
};

TEST_P(FileWriter, SavesAsTheFileSystemExpects) {
    const WriterCase& c = GetParam();
    const bool root = ::geteuid() == 0;
    if ((c.user == User::Unprivileged && root) || (c.user == User::Root && !root))
        GTEST_SKIP() << "needs " << (root ? "an unprivileged user" : "root");
    // Only a file that has no name while it is written leaves nothing when its writer is killed.
    const int unnamed = ::open(folder_.c_str(), O_TMPFILE | O_WRONLY, 0600);
    if (unnamed >= 0)
        ::close(unnamed);
    else if (c.limit == Limit::Kills)
        GTEST_SKIP() << "the file system offers no unnamed files";
    ASSERT_TRUE(shell(*c.setup ? c.setup : "true"));
    const std::string target =
        path(c.target.empty() ? std::string(255, '0') : std::string(c.target));
    const std::string expected = format(c.failure, target);
    std::string refusal;
    EXPECT_EQ(save(c, target, refusal), expected);
    // The check a command makes before its first write tells what the save meets, where no write
    // fault comes later.
    if (c.limit == Limit::None) {
        EXPECT_EQ(refusal, expected);
    }
    EXPECT_TRUE(shell(c.check)) << c.check;
    shell("chmod -R u+w .");
}

INSTANTIATE_TEST_SUITE_P(Cases, FileWriter, testing::ValuesIn(kCases),
                         [](const auto& param) { return std::string(param.param.name); });

} // namespace
} // namespace kelmor
