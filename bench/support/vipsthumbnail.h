#pragma once

// vipsthumbnail, the baseline of the thumbnail benchmarks, started as a program.

#include <chrono>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace kelmor::bench {

// One run of `vipsthumbnail -s 128` over the files, writing into the folder given (which must
// exist): its seconds, or a negative number when it fails.
inline double runVipsthumbnail(const std::vector<std::filesystem::path>& files,
                               const std::filesystem::path& output) {
    std::vector<std::string> arguments = {"vipsthumbnail", "-s", "128", "-o",
                                          (output / "tn_%s.jpg").string()};
    for (const std::filesystem::path& file : files)
        arguments.push_back(file.string());
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    int status = 0;
    if (::posix_spawnp(&child, "vipsthumbnail", nullptr, nullptr, argv.data(), environ) != 0 ||
        ::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace kelmor::bench
