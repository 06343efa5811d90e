#include "cli_command.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <iostream>

namespace kelmor::cli {

std::vector<Command>& commands() {
    static std::vector<Command> all;
    return all;
}

} // namespace kelmor::cli

namespace {

void printHelp(std::ostream& out) {
    out << "kelmor-cli: Kelmor's command-line companion for building pages and checking "
           "pictures from scripts.\n\nUsage:\n";
    auto sorted = kelmor::cli::commands();
    std::sort(sorted.begin(), sorted.end(),
              [](const auto& a, const auto& b) { return std::strcmp(a.name, b.name) < 0; });
    for (const auto& command : sorted)
        out << command.usage << '\n';
    out << "  kelmor-cli --help\n      Shows this text.\n\n"
           "An output file given as - means standard output. A command refuses to write over\n"
           "one of its own inputs. Messages go to standard error. Exit status: 0 success,\n"
           "1 failure (page: 2 when the button count is outside 1 to 10).\n";
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        printHelp(argc < 2 ? std::cerr : std::cout);
        return argc < 2 ? 1 : 0;
    }
    for (const auto& command : kelmor::cli::commands()) {
        if (std::strcmp(argv[1], command.name) != 0)
            continue;
        // A failing command prints the message a window would show, and fails.
        try {
            return command.run(std::vector<std::string>(argv + 2, argv + argc));
        } catch (const std::exception& error) {
            std::cout.flush();
            std::cerr << error.what() << '\n';
            return 1;
        }
    }
    std::cerr << "kelmor-cli: unknown command '" << argv[1] << "' (try kelmor-cli --help)\n";
    return 1;
}
