#pragma once

// Small files made to freeze or flood a reader, the kelmor-cli commands to run on them and what
// each command must answer. The suite checks the answers and the memory; the hostile benchmark
// times the same runs.

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace kelmor::test {

// Where a case's standard output goes.
enum class StandardOutput { File, Closed, FullDisk };

// What a command must end in: written (exit 0), refused (exit 1 with a message), or either of
// the two, for a file a command may process within the bounds or refuse.
enum class Outcome { Written, Refused, WrittenOrRefused };

struct HostileCase {
    std::string name;
    std::string arguments; // kelmor-cli's arguments, separated by single blanks
    Outcome outcome = Outcome::Written;
    std::string err = {};       // a regular expression the whole standard error matches
    std::string outHolds = {};  // a text standard output holds
    std::string outLacks = {};  // a text standard output must not hold
    std::string untouched = {}; // a file the command must leave as the corpus made it (or absent)
    StandardOutput output = StandardOutput::File;
};

// Writes the hostile files into `site`, a folder of their own whose parent receives nothing but
// what a faulty command writes through "..".
void writeHostileCorpus(const std::filesystem::path& site);

void PrintTo(const HostileCase& c, std::ostream* out);

// Every case, run with the folder of writeHostileCorpus as the working directory.
std::vector<HostileCase> hostileCases();

struct ChildRun {
    int status = -1; // the exit status; -1 for a child ended by a signal or by the watchdog
    bool timedOut = false;
    double seconds = 0;
    long peakKiB = 0; // the child's largest resident set
    std::string out, err;
};

// Runs `program` with the case's arguments in `site`, its standard output and error in files
// beside `site`. A child still running after `timeoutSeconds` is killed.
ChildRun runCase(const std::string& program, const std::filesystem::path& site,
                 const HostileCase& c, int timeoutSeconds);

} // namespace kelmor::test
