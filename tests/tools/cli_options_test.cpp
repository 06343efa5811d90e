// kelmor-cli's option parser on a syntax of its own: what a call gives, the usage problems it
// refuses, and the usage text it prints.
#include "cli_options.h"

#include <gtest/gtest.h>

namespace kelmor::cli {
namespace {

const Syntax kSyntax{.command = "demo",
                     .options = {{"--loop", "N", "the loop count"},
                                 {"--crop", "", "cuts the frames"},
                                 {"-o", "OUT", "the file written", true}},
                     .operands = "[--] FRAME...",
                     .minOperands = 1,
                     .maxOperands = 2,
                     .operandsNeeded = "a FRAME is needed",
                     .description = "      Assembles the frames."};

// "--loop=3" stands for an option given with its value, "--crop" for a flag.
std::vector<std::string> givenOptions(const Arguments& arguments) {
    std::vector<std::string> given;
    for (const GivenOption& option : arguments.given())
        given.push_back(std::string(option.option->name) +
                        (option.option->value.empty() ? "" : "=" + option.value));
    return given;
}

struct GoodCall {
    std::vector<std::string> args;
    std::vector<std::string> given;
    std::vector<std::string> operands;
};

class ParseGoodCall : public ::testing::TestWithParam<GoodCall> {};

TEST_P(ParseGoodCall, GivesTheOptionsInOrderAndTheOperands) {
    const Arguments arguments = parseArguments(kSyntax, GetParam().args);
    EXPECT_FALSE(arguments.help());
    EXPECT_EQ(givenOptions(arguments), GetParam().given);
    EXPECT_EQ(arguments.operands(), GetParam().operands);
}

INSTANTIATE_TEST_SUITE_P(
    Calls, ParseGoodCall,
    ::testing::Values(GoodCall{{"-o", "a.gif", "f1"}, {"-o=a.gif"}, {"f1"}},
                      // Options and operands mix; a value may start with "-".
                      GoodCall{{"f1", "--crop", "-o", "-", "f2"}, {"--crop", "-o=-"}, {"f1", "f2"}},
                      GoodCall{{"--loop", "-5", "-o", "x", "f"}, {"--loop=-5", "-o=x"}, {"f"}},
                      // After "--" everything is an operand, "--help" too; "-" and "" always are.
                      GoodCall{{"-o", "x", "--", "--crop"}, {"-o=x"}, {"--crop"}},
                      GoodCall{{"-o", "x", "--", "--help", "-o"}, {"-o=x"}, {"--help", "-o"}},
                      GoodCall{{"-", "", "-o", "x"}, {"-o=x"}, {"-", ""}},
                      GoodCall{{"--loop", "1", "--loop", "2", "-o", "x", "f"},
                               {"--loop=1", "--loop=2", "-o=x"},
                               {"f"}}));

TEST(ParseArguments, TheLastValueOfAnOptionCounts) {
    const Arguments arguments =
        parseArguments(kSyntax, {"--loop", "1", "-o", "x", "--loop", "2", "f"});
    EXPECT_EQ(arguments.value("--loop"), "2");
    EXPECT_EQ(arguments.value("-o"), "x");
    EXPECT_EQ(arguments.value("--crop"), std::nullopt);
    EXPECT_TRUE(arguments.has("--loop"));
    EXPECT_FALSE(arguments.has("--crop"));
}

class ParseHelp : public ::testing::TestWithParam<std::vector<std::string>> {};

// Help needs nothing else and stops the reading, so what follows it is not checked.
TEST_P(ParseHelp, AsksForTheUsageOnly) {
    EXPECT_TRUE(parseArguments(kSyntax, GetParam()).help());
}

INSTANTIATE_TEST_SUITE_P(Calls, ParseHelp,
                         ::testing::Values(std::vector<std::string>{"--help"},
                                           std::vector<std::string>{"-h"},
                                           std::vector<std::string>{"f", "--help", "--bogus"},
                                           std::vector<std::string>{"--crop", "-h", "--loop"}));

struct BadCall {
    std::vector<std::string> args;
    std::string message;
};

class ParseBadCall : public ::testing::TestWithParam<BadCall> {};

TEST_P(ParseBadCall, IsAUsageErrorWithItsProblem) {
    try {
        parseArguments(kSyntax, GetParam().args);
        ADD_FAILURE() << "accepted";
    } catch (const UsageError& error) {
        EXPECT_EQ(std::string(error.what()), GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Calls, ParseBadCall,
    ::testing::Values(BadCall{{"--bogus", "-o", "x", "f"}, "unknown option --bogus"},
                      BadCall{{"-o", "x", "f", "-x"}, "unknown option -x"},
                      BadCall{{"-o", "x", "f", "--crop=1"}, "unknown option --crop=1"},
                      BadCall{{"-o", "x", "--\x1B[2J"}, "unknown option --\\x1B[2J"},
                      BadCall{{"f", "-o"}, "missing value for -o"},
                      BadCall{{"-o", "x", "f", "--loop"}, "missing value for --loop"},
                      BadCall{{"f"}, "-o OUT is needed"}, BadCall{{"-o", "x"}, "a FRAME is needed"},
                      BadCall{{"-o", "x", "a", "b", "c\x07"}, "too many arguments (c\\x07)"},
                      // The first problem from the left is told.
                      BadCall{{"--bogus", "--loop"}, "unknown option --bogus"}));

TEST(UsageText, GivesTheSynopsisTheDescriptionAndTheOptions) {
    EXPECT_EQ(usageText(kSyntax), "  kelmor-cli demo [--loop N] [--crop] -o OUT [--] FRAME...\n"
                                  "      Assembles the frames.\n"
                                  "      --loop N              the loop count\n"
                                  "      --crop                cuts the frames\n"
                                  "      -o OUT                the file written");
}

TEST(UsageText, WrapsTheSynopsisUnderTheFirstOption) {
    Syntax wide{.command = "wide", .operands = "FILE..."};
    for (const char* name : {"--alpha", "--bravo", "--charlie", "--delta", "--echo", "--foxtrot"})
        wide.options.push_back({name, "VALUE", "x"});
    const std::string usage = usageText(wide);
    const std::string synopsis = usage.substr(0, usage.find("\n      --alpha"));
    EXPECT_EQ(synopsis, "  kelmor-cli wide [--alpha VALUE] [--bravo VALUE] [--charlie VALUE] "
                        "[--delta VALUE]\n"
                        "                  [--echo VALUE] [--foxtrot VALUE] FILE...");
}

TEST(UsageText, KeepsALongOptionApartFromItsHelp) {
    const Syntax syntax{.command = "long",
                        .options = {{"--a-very-long-option", "WITH|LONG|VALUES", "its help"}}};
    EXPECT_EQ(usageText(syntax), "  kelmor-cli long [--a-very-long-option WITH|LONG|VALUES]\n"
                                 "      --a-very-long-option WITH|LONG|VALUES  its help");
}

} // namespace
} // namespace kelmor::cli
