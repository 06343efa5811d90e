// kelmor-cli page: writes the rollover page of a project file, byte for byte as Build does.
#include "base/atomic_file.h"
#include "base/error.h"
#include "base/messages.h"
#include "base/shown_value.h"
#include "cli_command.h"
#include "cli_files.h"
#include "generator/page_references.h"
#include "generator/page_target.h"
#include "generator/page_writer.h"
#include "project/button_columns.h"
#include "project/project_file.h"

#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitButtonCount = 2;

// The kinds --kind takes, one a line, with what each page is.
std::string kindLines() {
    std::string lines;
    for (kelmor::PageKind kind : kelmor::pageKinds())
        lines += "\n        " + std::string(kind.name()) + ": " + std::string(kind.caption());
    return lines;
}

const std::string kUsage =
    "  kelmor-cli page [--sound] [--separator TEXT] [--html5] [--kind NAME] [--] PROJECT.kxq\n"
    "      [OUT.html]\n"
    "      Writes the rollover page for the project's data rows (1 to 10 buttons), the same\n"
    "      bytes as Build. The page settings come from row 1 (BG, BG Color, Page Title,\n"
    "      Target Page); the page goes to the Target Page, or to OUT.html when given (- for\n"
    "      standard output). A Target Page must end in .htm, .html, .xhtml, .shtml, .php,\n"
    "      .asp, .aspx or .jsp and lie inside the project file's folder; one elsewhere is\n"
    "      written only when named as OUT. No page replaces the project's pictures or sounds.\n"
    "      On the HTML5 page a BG Color that is no CSS colour is left out, with a warning.\n"
    "      --sound writes the sound page; --html5 writes the HTML5 page of that kind, as\n"
    "      Build does with \"HTML5 page\" ticked; --kind NAME writes the page of that kind\n"
    "      (listed below), without --sound or --html5; --separator puts TEXT before every\n"
    "      button (for example \"<br>\" or \"&nbsp;  \"). Exit status: 0 written, 1 file or\n"
    "      usage error, 2 button count outside 1 to 10. Pictures the page names that are\n"
    "      not there, from the page's folder, are listed on standard error (exit status 0).\n"
    "      The page kinds:" +
    kindLines();

struct PageOptions {
    kelmor::PageTraits traits;            // --sound, --html5
    std::optional<kelmor::PageKind> kind; // --kind
    std::string separator;
    std::string project;
    std::optional<std::string> out;
    bool help = false;
};

int usageError(const std::string& problem) {
    std::cerr << "kelmor-cli page: " << problem << "\nUsage:\n" << kUsage << '\n';
    return kExitFailure;
}

// Parses the arguments; returns an error text, or nothing when they are sound.
std::optional<std::string> parse(const std::vector<std::string>& args, PageOptions& options) {
    std::vector<std::string> positional;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded) {
            positional.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--sound") {
            options.traits.sounds = true;
        } else if (arg == "--html5") {
            options.traits.html5 = true;
        } else if (arg == "--kind") {
            if (++i == args.size())
                return "--kind needs a NAME";
            options.kind =
                kelmor::cli::labelErrors(arg, [&] { return kelmor::pageKindNamed(args[i]); });
        } else if (arg == "--separator") {
            if (++i == args.size())
                return "--separator needs a TEXT";
            options.separator = args[i];
        } else if (arg.size() > 1 && arg[0] == '-') {
            return "unknown option " + kelmor::shownValue(arg);
        } else {
            positional.push_back(arg);
        }
    }
    if (options.help)
        return std::nullopt;
    if (options.kind && (options.traits.sounds || options.traits.html5))
        return std::string("--kind chooses the page kind alone, without --sound or --html5");
    if (positional.empty())
        return std::string("a PROJECT.kxq file is needed");
    if (positional.size() > 2)
        return "too many arguments (" + kelmor::shownValue(positional[2]) + ")";
    options.project = positional[0];
    if (positional.size() == 2)
        options.out = positional[1];
    return std::nullopt;
}

// Where the page goes: OUT as given, or the project's Target Page once it passes the checks; a
// Target Page outside the project's folder is written only when named as OUT. Neither may
// replace the project file or one of its pictures or sounds.
kelmor::cli::Output pageOutput(const PageOptions& options, const kelmor::StringGrid& grid) {
    kelmor::PageFiles files{options.out.value_or(grid.cell(kelmor::ButtonColumn::TargetPage, 1)),
                            kelmor::projectFolderOf(options.project),
                            kelmor::pageInputNames(grid),
                            {}};
    kelmor::checkPathName(files.page, kelmor::msg::kTargetPageNotAWebPage);
    if (!options.out) {
        // Only an OUT argument of "-" means standard output: a Target Page of "-" is refused
        // here as no web page.
        if (kelmor::checkTargetPage(files) == kelmor::PagePlace::OutsideProject)
            throw kelmor::Error(kelmor::format(kelmor::msg::kTargetPageOutsideProject,
                                               kelmor::absolutePagePath(files.page)));
    }
    std::vector<std::string> inputs = kelmor::pageInputFiles(files);
    inputs.insert(inputs.begin(), options.project);
    return kelmor::cli::Output(files.page, inputs);
}

int runPage(const std::vector<std::string>& args) {
    PageOptions options;
    if (auto problem = parse(args, options))
        return usageError(*problem);
    if (options.help) {
        std::cout << kUsage << '\n';
        return 0;
    }
    kelmor::StringGrid grid = kelmor::newButtonList();
    kelmor::cli::labelErrors(options.project,
                             [&] { kelmor::readProjectFile(options.project, grid); });
    const int count = grid.rowCount() - 1;
    try {
        kelmor::checkPageButtonCount(count);
    } catch (const kelmor::Error& error) {
        std::cerr << error.what() << '\n';
        return kExitButtonCount;
    }
    using kelmor::ButtonColumn;
    const kelmor::PageSettings settings{grid.cell(ButtonColumn::PageTitle, 1),
                                        grid.cell(ButtonColumn::BgColor, 1),
                                        grid.cell(ButtonColumn::BgImage, 1), options.separator};
    const std::vector<kelmor::PageButton> buttons = kelmor::pageButtons(grid, count);
    const kelmor::PageKind kind = options.kind.value_or(kelmor::pageKindWith(options.traits));
    const std::string text = kelmor::pageText(kind, buttons, settings);
    const kelmor::cli::Output output = pageOutput(options, grid);
    if (kelmor::dropsBgColor(kind, settings))
        std::cerr << "kelmor-cli page: warning: " << kelmor::msg::kBgColorNotCssColour << '\n';
    output.write(text);
    // Looked up from the page's folder once it is written; the page stands as it is.
    const std::string missing = kelmor::missingPicturesLine(
        kelmor::missingPictures(kelmor::pagePictureNames(buttons, settings.bgImage),
                                options.out.value_or(grid.cell(ButtonColumn::TargetPage, 1))));
    if (!missing.empty())
        std::cerr << "kelmor-cli page: " << missing << '\n';
    return 0;
}

const kelmor::cli::Registration registration({"page", kUsage.c_str(), runPage});

} // namespace
