#include "cli_files.h"

#include "base/atomic_file.h"
#include "base/messages.h"

#include <iostream>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace kelmor::cli {
namespace {

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

void checkNotAnInput(const std::string& output, std::span<const std::string> inputs) {
    struct stat target {};
    const bool exists = output == kStandardOutput ? ::fstat(STDOUT_FILENO, &target) == 0
                                                  : ::stat(output.c_str(), &target) == 0;
    if (!exists)
        return;
    for (const std::string& input : inputs) {
        struct stat source {};
        if (::stat(input.c_str(), &source) == 0 && sameFile(source, target))
            throw Error(format(msg::kOutputIsAnInput, input));
    }
}

} // namespace

std::string labelled(const std::string& label, const std::string& message) {
    if (message == format(msg::kCannotOpenFile, label) || message == msg::fileNotFound(label) ||
        message == format(msg::kFileTooLarge, label) || message == format(msg::kSvgNotValid, label))
        return message;
    return shownValue(label) + ": " + message;
}

Output::Output(std::string name, std::span<const std::string> inputs) : name_(std::move(name)) {
    checkPathName(name_, msg::kCannotCreateFile);
    checkNotAnInput(name_, inputs);
}

void Output::write(std::string_view bytes) const {
    if (name_ != kStandardOutput) {
        writeFileReplacing(name_, bytes);
        return;
    }
    std::cout.flush();
    if (!writeAllBytes(STDOUT_FILENO, bytes))
        throw Error(format(msg::kUnableToWrite, "standard output"));
}

} // namespace kelmor::cli
