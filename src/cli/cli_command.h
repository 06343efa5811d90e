#pragma once

#include <string>
#include <vector>

namespace kelmor::cli {

// One subcommand of kelmor-cli. `run` gets the arguments after the subcommand's
// name and returns the exit status; it writes its own usage messages to stderr.
// An exception it throws ends it with its message on stderr and exit status 1.
struct Command {
    const char* name;
    const char* usage; // the lines `kelmor-cli --help` prints for it
    int (*run)(const std::vector<std::string>& args);
};

std::vector<Command>& commands();

// A subcommand's file registers it with a static `Registration`.
struct Registration {
    explicit Registration(const Command& command) { commands().push_back(command); }
};

} // namespace kelmor::cli
