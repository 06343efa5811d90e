#include "base/error.h"
#include "base/messages.h"
#include "base/shown_value.h"
#include "cli_command.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <iostream>
#include <string>
#include <unistd.h>

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
              [](const auto& a, const auto& b) { return a.syntax->command < b.syntax->command; });
    for (const auto& command : sorted)
        out << kelmor::cli::usageText(*command.syntax) << '\n';
    out << "  kelmor-cli --help\n      Shows this text.\n\n"
           "An output file given as - means standard output. A command refuses to write over\n"
           "one of its own inputs. Messages go to standard error. Exit status: 0 success,\n"
           "1 failure (page: 2 when the button count is outside 1 to 10).\n";
}

// A standard stream the program was started without is held open on /dev/null the wrong way
// round (standard input for writing, the outputs for reading), so the files a command opens
// cannot take its number: output meant for the terminal never lands in a file, and writing to
// the stream fails as it would on the closed one.
void holdClosedStandardStreams() {
    for (int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        // The lowest free number: `fd` itself, as the streams before it are open by now.
        const int placeholder = ::open("/dev/null", fd == STDIN_FILENO ? O_WRONLY : O_RDONLY);
        if (placeholder >= 0 && placeholder != fd)
            ::close(placeholder);
    }
}

// Reads the arguments and runs the command; a wrong call prints its problem and the usage, a
// failure the message a window would show, and both fail.
int runCommand(const kelmor::cli::Command& command, const std::vector<std::string>& args,
               std::string& failure) {
    const kelmor::cli::Syntax& syntax = *command.syntax;
    try {
        const kelmor::cli::Arguments arguments = kelmor::cli::parseArguments(syntax, args);
        if (!arguments.help())
            return command.run(arguments);
        std::cout << kelmor::cli::usageText(syntax) << '\n';
        return 0;
    } catch (const kelmor::cli::UsageError& error) {
        std::cout.flush();
        std::cerr << "kelmor-cli " << syntax.command << ": " << error.what() << "\nUsage:\n"
                  << kelmor::cli::usageText(syntax) << '\n';
        return 1;
    } catch (const std::exception& error) {
        std::cout.flush();
        failure = error.what();
        std::cerr << failure << '\n';
        return 1;
    }
}

// The exit status once everything printed has been handed to standard output: a command whose
// output could not be written (closed, a full disk) fails, whatever it returned.
int withOutputWritten(int status, const std::string& failure) {
    if (std::cout.flush())
        return status;
    const std::string message = kelmor::format(kelmor::msg::kUnableToWrite, "standard output");
    if (failure != message)
        std::cerr << message << '\n';
    return status == 0 ? 1 : status;
}

} // namespace

int main(int argc, char** argv) {
    holdClosedStandardStreams();
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        printHelp(argc < 2 ? std::cerr : std::cout);
        return withOutputWritten(argc < 2 ? 1 : 0, {});
    }
    for (const auto& command : kelmor::cli::commands()) {
        if (argv[1] != command.syntax->command)
            continue;
        std::string failure;
        const int status =
            runCommand(command, std::vector<std::string>(argv + 2, argv + argc), failure);
        return withOutputWritten(status, failure);
    }
    std::cerr << "kelmor-cli: unknown command '" << kelmor::shownValue(argv[1])
              << "' (try kelmor-cli --help)\n";
    return 1;
}
