#include "cli_options.h"

#include "base/messages.h"

#include <algorithm>

namespace kelmor::cli {
namespace {

// The synopsis wraps before this column; its later lines start under the first option.
constexpr std::size_t kSynopsisWidth = 92;
// The options' help starts in one column, unless a name and value reach past it.
constexpr std::size_t kHelpColumn = 28;
constexpr std::string_view kIndent = "      ";

const Option* optionNamed(const Syntax& syntax, std::string_view name) {
    const auto found = std::ranges::find(syntax.options, name, &Option::name);
    return found == syntax.options.end() ? nullptr : &*found;
}

bool isOptionLike(const std::string& arg) {
    return arg.size() > 1 && arg.front() == '-';
}

std::string withValue(const Option& option) {
    std::string text(option.name);
    if (!option.value.empty())
        text.append(" ").append(option.value);
    return text;
}

void checkComplete(const Syntax& syntax, const Arguments& arguments) {
    for (const Option& option : syntax.options)
        if (option.required && !arguments.has(option.name))
            throw UsageError(format(msg::kOptionNeeded, withValue(option)));
    const std::vector<std::string>& operands = arguments.operands();
    if (operands.size() < syntax.minOperands)
        throw UsageError(std::string(syntax.operandsNeeded));
    if (operands.size() > syntax.maxOperands)
        throw UsageError(format(msg::kTooManyArguments, operands[syntax.maxOperands]));
}

std::string synopsis(const Syntax& syntax) {
    std::string text = "  kelmor-cli " + std::string(syntax.command);
    const std::size_t continued = text.size() + 1;
    std::size_t lineStart = 0;
    std::vector<std::string> words;
    for (const Option& option : syntax.options)
        words.push_back(option.required ? withValue(option) : "[" + withValue(option) + "]");
    if (!syntax.operands.empty())
        words.emplace_back(syntax.operands);
    for (const std::string& word : words) {
        if (text.size() - lineStart + 1 + word.size() > kSynopsisWidth &&
            text.size() - lineStart > continued) {
            lineStart = text.size() + 1;
            text += '\n' + std::string(continued - 1, ' ');
        }
        text += ' ' + word;
    }
    return text;
}

} // namespace

bool Arguments::has(std::string_view name) const {
    return std::ranges::any_of(given_,
                               [name](const GivenOption& g) { return g.option->name == name; });
}

std::optional<std::string> Arguments::value(std::string_view name) const {
    for (auto it = given_.rbegin(); it != given_.rend(); ++it)
        if (it->option->name == name)
            return it->value;
    return std::nullopt;
}

Arguments parseArguments(const Syntax& syntax, const std::vector<std::string>& args) {
    Arguments arguments;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") {
            arguments.operands_.insert(arguments.operands_.end(),
                                       args.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                       args.end());
            break;
        }
        if (arg == "--help" || arg == "-h") {
            arguments.help_ = true;
            return arguments;
        }
        if (!isOptionLike(arg)) {
            arguments.operands_.push_back(arg);
            continue;
        }
        const Option* option = optionNamed(syntax, arg);
        if (!option)
            throw UsageError(format(msg::kUnknownOption, arg));
        if (option->value.empty()) {
            arguments.given_.push_back({option, {}});
            continue;
        }
        if (++i == args.size())
            throw UsageError(format(msg::kMissingOptionValue, arg));
        arguments.given_.push_back({option, args[i]});
    }
    checkComplete(syntax, arguments);
    return arguments;
}

std::string usageText(const Syntax& syntax) {
    std::string text = synopsis(syntax);
    if (!syntax.description.empty())
        text.append("\n").append(syntax.description);
    for (const Option& option : syntax.options) {
        const std::string name = withValue(option);
        const std::size_t pad = kHelpColumn > kIndent.size() + name.size() + 1
                                    ? kHelpColumn - kIndent.size() - name.size()
                                    : 2;
        text.append("\n").append(kIndent).append(name).append(pad, ' ').append(option.help);
    }
    return text;
}

} // namespace kelmor::cli
