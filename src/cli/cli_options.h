#pragma once

// The one reading of a kelmor-cli command's arguments: the command declares its options and
// operands, and every command then takes --help, refuses an unknown option or a missing value,
// and prints its usage the same way.

#include "base/error.h"

#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelmor::cli {

// An option of a command: a flag ("--bold"), or an option that takes the next argument as its
// value ("--loop N"), even one that starts with "-".
struct Option {
    std::string_view name = {};  // "--loop", "-o"
    std::string_view value = {}; // the value's name in the usage ("N"); empty for a flag
    std::string_view help = {};  // its line in the usage's list of options
    bool required = false;       // the command cannot run without it
};

inline constexpr std::size_t kAnyNumber = std::numeric_limits<std::size_t>::max();

// How a command is called: the usage's first lines are generated from it, the options listed
// after the description.
struct Syntax {
    std::string_view command = {};        // "animate"
    std::vector<Option> options = {};     // in the order the usage lists them
    std::string_view operands = {};       // the synopsis after the options: "[--] FRAME..."
    std::size_t minOperands = 0;          // fewer are refused with `operandsNeeded`
    std::size_t maxOperands = 0;          // more are refused as too many arguments
    std::string_view operandsNeeded = {}; // "IN and OUT are needed"
    std::string_view description = {};    // lines indented by six blanks, no final line end
};

// A wrong call: the command's usage follows the message on standard error, exit status 1.
class UsageError : public Error {
public:
    using Error::Error;
};

// An option as it was given, in the order of the arguments; `value` is empty for a flag.
struct GivenOption {
    const Option* option;
    std::string value;
};

class Arguments {
public:
    // Whether --help or -h came before any problem: the command only prints its usage.
    bool help() const { return help_; }
    bool has(std::string_view name) const;
    // The value of the option's last occurrence.
    std::optional<std::string> value(std::string_view name) const;
    const std::vector<GivenOption>& given() const { return given_; }
    const std::vector<std::string>& operands() const { return operands_; }

private:
    friend Arguments parseArguments(const Syntax& syntax, const std::vector<std::string>& args);

    bool help_ = false;
    std::vector<GivenOption> given_;
    std::vector<std::string> operands_;
};

// Reads the arguments after the command's name. Every argument after "--", and "-" or an empty
// one anywhere, is an operand. Throws UsageError for an unknown option, an option without its
// value, a required option missing, or too few or too many operands.
Arguments parseArguments(const Syntax& syntax, const std::vector<std::string>& args);

// The synopsis (wrapped, continued under the first option), the description, then the options
// one a line with their help.
std::string usageText(const Syntax& syntax);

} // namespace kelmor::cli
