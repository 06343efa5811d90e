// kelmor-cli page: writes the rollover page of a project file, byte for byte as Build does.
#include "base/atomic_file.h"
#include "base/error.h"
#include "base/messages.h"
#include "cli_command.h"
#include "cli_files.h"
#include "generator/page_kinds.h"
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

constexpr int kExitButtonCount = 2;

// The description, ending with the kinds --kind takes, one a line, with what each page is.
std::string description() {
    std::string text =
        "      Writes the rollover page for the project's data rows (1 to 10 buttons), the same\n"
        "      bytes as Build. The page settings come from row 1 (BG, BG Color, Page Title,\n"
        "      Target Page); the page goes to the Target Page, or to OUT.html when given (- for\n"
        "      standard output). A Target Page must end in .htm, .html, .xhtml, .shtml, .php,\n"
        "      .asp, .aspx or .jsp and lie inside the project file's folder; one elsewhere is\n"
        "      written only when named as OUT. No page replaces the project's pictures or sounds.\n"
        "      On the HTML5 page a BG Color that is no CSS colour is left out, with a warning.\n"
        "      Exit status: 0 written, 1 file or usage error, 2 button count outside 1 to 10.\n"
        "      Pictures the page names that are not there, from the page's folder, are listed on\n"
        "      standard error (exit status 0).\n"
        "      The menu page writes its links and pictures from the page's folder, and writes\n"
        "      the menu's sprite pictures beside the first button's picture as kelmor-cli menu.\n"
        "      The page kinds:";
    for (kelmor::PageKind kind : kelmor::pageKinds())
        text += "\n        " + std::string(kind.name()) + ": " + std::string(kind.caption());
    return text;
}

const std::string kDescription = description();

const kelmor::cli::Syntax kSyntax{
    .command = "page",
    .options = {{"--sound", "", "writes the sound page"},
                {"--separator", "TEXT", "puts TEXT before every button (\"<br>\", \"&nbsp;  \")"},
                {"--html5", "", "writes the HTML5 page of that kind, as Build with \"HTML5 page\""},
                {"--kind", "NAME",
                 "writes the page of that kind (below), without --sound or --html5"}},
    .operands = "[--] PROJECT.kxq [OUT.html]",
    .minOperands = 1,
    .maxOperands = 2,
    .operandsNeeded = "a PROJECT.kxq file is needed",
    .description = kDescription};

struct PageOptions {
    kelmor::PageKind kind = kelmor::pageKindWith({});
    std::string separator;
    std::string project;
    std::optional<std::string> out;
};

PageOptions pageOptions(const kelmor::cli::Arguments& arguments) {
    PageOptions options;
    const kelmor::PageTraits traits{arguments.has("--sound"), arguments.has("--html5")};
    if (const std::optional<std::string> name = arguments.value("--kind")) {
        if (traits.sounds || traits.html5)
            throw kelmor::cli::UsageError(
                "--kind chooses the page kind alone, without --sound or --html5");
        options.kind =
            kelmor::cli::labelErrors("--kind", [&] { return kelmor::pageKindNamed(*name); });
    } else {
        options.kind = kelmor::pageKindWith(traits);
    }
    options.separator = arguments.value("--separator").value_or("");
    const std::vector<std::string>& operands = arguments.operands();
    options.project = operands[0];
    if (operands.size() == 2)
        options.out = operands[1];
    return options;
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

int runPage(const kelmor::cli::Arguments& arguments) {
    const PageOptions options = pageOptions(arguments);
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
    const std::string page = options.out.value_or(grid.cell(ButtonColumn::TargetPage, 1));
    // The folder and the page matter to a page that writes its paths from its own folder; on
    // standard output the page stands where index.html of the project's folder would.
    const kelmor::PageSettings settings{.title = grid.cell(ButtonColumn::PageTitle, 1),
                                        .bgColor = grid.cell(ButtonColumn::BgColor, 1),
                                        .bgImage = grid.cell(ButtonColumn::BgImage, 1),
                                        .separator = options.separator,
                                        .folder = kelmor::projectFolderOf(options.project),
                                        .page = page == kelmor::cli::kStandardOutput ? "" : page};
    const std::vector<kelmor::PageButton> buttons = kelmor::pageButtons(grid, count);
    // The output is checked first: a page that writes pictures of its own writes them only
    // when the page itself may be written.
    const kelmor::cli::Output output = pageOutput(options, grid);
    const std::string text = kelmor::pageText(options.kind, buttons, settings);
    if (kelmor::dropsBgColor(options.kind, settings))
        std::cerr << "kelmor-cli page: warning: " << kelmor::msg::kBgColorNotCssColour << '\n';
    output.write(text);
    // Looked up once the page is written; the page stands as it is.
    const std::string missing = kelmor::missingPicturesLine(
        kelmor::missingPictures(kelmor::pagePictureNames(buttons, settings.bgImage),
                                kelmor::pictureLookupPage(options.kind, settings, page)));
    if (!missing.empty())
        std::cerr << "kelmor-cli page: " << missing << '\n';
    return 0;
}

const kelmor::cli::Registration registration(kSyntax, runPage);

} // namespace
