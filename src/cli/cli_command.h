#pragma once

#include "cli_options.h"

#include <vector>

namespace kelmor::cli {

// One subcommand of kelmor-cli. Its arguments are read by its syntax first: --help prints the
// usage, a UsageError prints the problem and the usage on stderr with exit status 1. `run` gets
// the arguments read and returns the exit status; another exception it throws ends it with its
// message on stderr and exit status 1.
struct Command {
    const Syntax* syntax;
    int (*run)(const Arguments& args);
};

std::vector<Command>& commands();

// A subcommand's file registers it with a static `Registration`, defined after its syntax.
struct Registration {
    Registration(const Syntax& syntax, int (*run)(const Arguments&)) {
        commands().push_back({&syntax, run});
    }
};

} // namespace kelmor::cli
