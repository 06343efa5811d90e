// Every kelmor-cli command on small hostile files, run as a child process: each ends within
// 500 MB with the answer it owes (a page written, or a refusal naming the file), or fails here.
// A command that hangs is killed after a minute. hostile-bench times the same runs.
#include "hostile/hostile_corpus.h"
#include "support/temp_folder.h"

#include <fstream>
#include <regex>

namespace kelmor::test {
namespace {

constexpr int kWatchdogSeconds = 60;

std::string fileOrAbsent(const std::filesystem::path& file) {
    return std::filesystem::exists(file) ? fileBytes(file) : "(absent)";
}

class HostileCorpus : public TempFolderTest, public testing::WithParamInterface<HostileCase> {};

TEST_P(HostileCorpus, EndsWithinBoundsWithItsAnswer) {
    const std::filesystem::path site = folder_ / "site";
    writeHostileCorpus(site);
    const HostileCase& c = GetParam();
    const std::filesystem::path untouched = site / c.untouched;
    const std::string before = c.untouched.empty() ? "" : fileOrAbsent(untouched);

    const ChildRun run = runCase(KELMOR_CLI, site, c, kWatchdogSeconds);

    ASSERT_FALSE(run.timedOut) << c.arguments << " still ran after " << kWatchdogSeconds << " s";
    const bool refused = run.status == 1 && std::regex_match(run.err, std::regex(c.err));
    const bool written = run.status == 0 && std::regex_match(run.err, std::regex(c.err));
    switch (c.outcome) {
    case Outcome::Written:
        EXPECT_TRUE(written) << "status " << run.status << ", stderr: " << run.err;
        break;
    case Outcome::Refused:
        EXPECT_TRUE(refused) << "status " << run.status << ", stderr: " << run.err;
        break;
    case Outcome::WrittenOrRefused:
        EXPECT_TRUE(refused || (run.status == 0 && run.err.empty()))
            << "status " << run.status << ", stderr: " << run.err;
        break;
    }
    EXPECT_NE(run.out.find(c.outHolds), std::string::npos) << run.out.substr(0, 2000);
    if (!c.outLacks.empty()) {
        EXPECT_EQ(run.out.find(c.outLacks), std::string::npos) << run.out.substr(0, 2000);
    }
    if (!c.untouched.empty()) {
        EXPECT_TRUE(fileOrAbsent(untouched) == before) << c.untouched << " was written";
    }
#ifndef KELMOR_SANITIZE
    // The sanitizers' shadow memory and quarantine would count against the program.
    constexpr long kPeakBytes = 500'000'000;
    EXPECT_LT(run.peakKiB * 1024, kPeakBytes) << "peak " << run.peakKiB / 1024 << " MiB";
#endif
}

INSTANTIATE_TEST_SUITE_P(Commands, HostileCorpus, testing::ValuesIn(hostileCases()),
                         [](const auto& param) { return param.param.name; });

} // namespace
} // namespace kelmor::test
