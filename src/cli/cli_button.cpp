// kelmor-cli button: the normal, mouse-over and current pictures of a menu's buttons from their
// texts and a style, as the window's button designer makes them.
#include "base/atomic_file.h"
#include "base/error.h"
#include "base/messages.h"
#include "base/user_folders.h"
#include "cli_command.h"
#include "cli_files.h"
#include "designer/button_contrast.h"
#include "designer/button_picture.h"
#include "designer/button_style.h"
#include "designer/style_keys.h"
#include "project/button_columns.h"
#include "project/button_rows.h"
#include "project/project_file.h"

#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The style options come from the table of style keys, between --style and the others.
kelmor::cli::Syntax buttonSyntax() {
    kelmor::cli::Syntax syntax{
        .command = "button",
        .options = {{"--style", "NAME|FILE", "the style the options change"}},
        .operands = "[--] TEXT[=LINK]...",
        .minOperands = 1,
        .maxOperands = kelmor::cli::kAnyNumber,
        .operandsNeeded = "a TEXT is needed",
        .description =
            "      Writes NAME.EXT, NAME-over.EXT and NAME-current.EXT, the normal, mouse-over\n"
            "      and current page's pictures of a button, for every TEXT into FOLDER (default:\n"
            "      the working folder), NAME being the text made file-safe, and prints one line\n"
            "      for each: every file it wrote and its size, \"NAME.EXT WxH NAME-over.EXT WxH\n"
            "      ...\". Every button of a run has the same size. With scale 2, the default for\n"
            "      png, NAME@2x.EXT, NAME-over@2x.EXT and NAME-current@2x.EXT are written too at\n"
            "      twice the size, for screens of two pixels a CSS pixel; svg needs none.\n"
            "      A gif has no half-transparent pixels: its picture is put onto the page\n"
            "      colour --matte gives (default white), its soft edges and shadow blended into\n"
            "      it, and only wholly transparent pixels stay transparent.\n"
            "      The style is a NAME in $XDG_CONFIG_HOME/kelmor/styles (the shipped styles\n"
            "      missing there are put there when a NAME is used) or a style FILE; the\n"
            "      style options override it.\n"
            "      A state whose text is hard to read on its fill (below the WCAG 2 contrast of\n"
            "      4.5:1, or 3:1 for text of 18 points or 14 points bold) is named on standard\n"
            "      error; the pictures are written all the same, unless --strict.\n"
            "      Colours are #RRGGBB, sizes pixels up to 2000. --project appends one row per\n"
            "      button (names, widths, heights and link) to the project, creating it when it\n"
            "      is missing. The link is LINK, or NAME.html for a TEXT without one; the first\n"
            "      \"=\" splits, and \"\\=\" writes an \"=\" into TEXT. Nothing is written when a\n"
            "      value, a style or a text is refused."};
    for (const kelmor::StyleKey& key : kelmor::styleKeys())
        if (key.option)
            syntax.options.push_back({key.option, key.optionValue, key.optionHelp});
    syntax.options.insert(syntax.options.end(),
                          {{"--format", "svg|png|gif", "the pictures' kind (default png)"},
                           {"--scale", "1|1,2", "the pictures' scales (default 1,2 for png)"},
                           {"--matte", "#RRGGBB", "the page colour gif pictures lie on (white)"},
                           {"-d", "FOLDER", "the folder the pictures go into"},
                           {"--strict", "", "write nothing when a state's text is hard to read"},
                           {"--project", "P.kxq", "the project the buttons' rows go into"}});
    return syntax;
}

const kelmor::cli::Syntax kSyntax = buttonSyntax();

// One TEXT or TEXT=LINK operand; an empty link stands for the one the text gives.
struct ButtonOperand {
    std::string text;
    std::string link;
};

// The first "=" that no backslash comes before splits the operand, so that a link may hold
// "=" as a query does; "\=" in the text stands for "=". An empty text is the designer's empty
// text error; a link of nothing but blanks is refused, as no page can be found by it.
ButtonOperand buttonOperand(const std::string& operand) {
    ButtonOperand split;
    std::size_t at = 0;
    for (; at < operand.size() && operand[at] != '='; ++at) {
        if (operand.compare(at, 2, "\\=") == 0)
            ++at;
        split.text += operand[at];
    }
    if (split.text.empty())
        throw kelmor::Error(kelmor::msg::kEmptyButtonText);
    if (at == operand.size())
        return split;
    split.link = operand.substr(at + 1);
    if (split.link.find_first_not_of(" \t") == std::string::npos)
        throw kelmor::Error(kelmor::format(kelmor::msg::kEmptyButtonLink, split.text));
    return split;
}

struct ButtonOptions {
    std::optional<std::string> style;
    std::vector<kelmor::cli::GivenOption> changes;
    kelmor::ButtonFormat format = kelmor::ButtonFormat::Png;
    std::optional<bool> doubleScale;
    kelmor::Colour matte = kelmor::kDefaultMatte;
    std::string folder = ".";
    std::optional<std::string> project;
    std::vector<std::string> texts;
    std::vector<std::string> links; // beside the texts; empty: the text's own
};

// Changes the style by one option, an Error labelled with the option; false for an option that
// is not a style's.
bool change(kelmor::ButtonStyle& style, const kelmor::cli::GivenOption& given) {
    const std::string option(given.option->name);
    return kelmor::cli::labelErrors(
        option, [&] { return kelmor::takeStyleOption(style, option, given.value); });
}

// The options of a run, every value checked in the order given so that a bad one stops the
// command before anything is read or written.
ButtonOptions buttonOptions(const kelmor::cli::Arguments& arguments) {
    ButtonOptions options;
    options.style = arguments.value("--style");
    options.folder = arguments.value("-d").value_or(options.folder);
    options.project = arguments.value("--project");
    for (const std::string& operand : arguments.operands()) {
        const ButtonOperand split = buttonOperand(operand);
        options.texts.push_back(split.text);
        options.links.push_back(split.link);
    }
    kelmor::ButtonStyle checked;
    for (const kelmor::cli::GivenOption& given : arguments.given()) {
        if (given.option->name == "--format")
            options.format = kelmor::cli::labelErrors(
                "--format", [&] { return kelmor::buttonFormatValue(given.value); });
        else if (given.option->name == "--scale")
            options.doubleScale = kelmor::cli::labelErrors(
                "--scale", [&] { return kelmor::doubleScaleValue(given.value); });
        else if (given.option->name == "--matte")
            options.matte = kelmor::cli::labelErrors(
                "--matte", [&] { return kelmor::colourValue(given.value); });
        else if (change(checked, given))
            options.changes.push_back(given);
    }
    return options;
}

// The user's config folder: $XDG_CONFIG_HOME/kelmor, by default ~/.config/kelmor.
std::string configFolder() {
    return (kelmor::userBaseFolder("XDG_CONFIG_HOME", ".config") / "kelmor").string();
}

// The style named by --style (the defaults without it), with the options' changes.
kelmor::ButtonStyle chosenStyle(const ButtonOptions& options) {
    kelmor::ButtonStyle style;
    if (options.style) {
        const std::string folder = kelmor::stylesFolder(configFolder());
        const std::string file = kelmor::styleFile(folder, *options.style);
        if (file != *options.style)
            kelmor::installShippedStyles(folder);
        style = kelmor::cli::labelErrors("--style", [&] { return kelmor::loadStyle(file); });
    }
    for (const kelmor::cli::GivenOption& given : options.changes)
        change(style, given);
    return style;
}

// A picture as the project names it: from the project's folder when it lies inside, else the
// whole path.
std::string projectName(const std::string& project, const std::string& picture) {
    const fs::path base = fs::weakly_canonical(fs::absolute(project)).parent_path();
    const fs::path path = fs::weakly_canonical(fs::absolute(picture));
    const fs::path relative = path.lexically_relative(base);
    if (relative.empty() || *relative.begin() == "..")
        return path.string();
    return relative.string();
}

// Adds one row per button, with its link, after the last row that holds anything.
void appendRows(kelmor::StringGrid& grid, const kelmor::ButtonMenu& menu,
                const ButtonOptions& options) {
    int row = kelmor::rowAfterLastFilled(grid);
    grid.setRowCount(std::max(grid.rowCount(), row + int(menu.buttons.size())));
    const auto name = [&](const std::string& file) {
        return projectName(*options.project, (fs::path(options.folder) / file).string());
    };
    for (std::size_t at = 0; at < menu.buttons.size(); ++at) {
        const kelmor::MadeButton& button = menu.buttons[at];
        for (const kelmor::ButtonCell& cell :
             kelmor::pictureCells(name(button.normalFile()), name(button.mouseOverFile()),
                                  menu.size.width, menu.size.height))
            grid.setCell(cell.column, row, cell.text);
        const std::string& link = options.links[at];
        grid.setCell(kelmor::ButtonColumn::Link, row,
                     link.empty() ? kelmor::defaultButtonLink(button.text) : link);
        ++row;
    }
}

// The picture files of a run with their bytes, in the order they are written.
std::vector<std::pair<std::string, const std::string*>> pictureFiles(const kelmor::ButtonMenu& menu,
                                                                     const std::string& folder) {
    std::vector<std::pair<std::string, const std::string*>> files;
    for (const kelmor::MadeButton& button : menu.buttons)
        for (const kelmor::ButtonPicture& picture : button.pictures())
            files.emplace_back((fs::path(folder) / picture.file).string(), picture.bytes);
    return files;
}

// Writes every picture, then the project with the buttons' rows. Checked before the first write:
// the folder, and that the project may be written. A write that fails all the same removes the
// pictures this run created, so a failed run leaves no new file behind.
void writeMenu(const kelmor::ButtonMenu& menu, const ButtonOptions& options,
               kelmor::StringGrid& grid) {
    const auto files = pictureFiles(menu, options.folder);
    kelmor::checkPathName(files.front().first, kelmor::msg::kCannotCreateFile);
    if (!fs::is_directory(options.folder))
        throw kelmor::Error(kelmor::format(kelmor::msg::kCannotCreateFile, files.front().first));
    if (options.project)
        kelmor::checkWritable(*options.project);
    std::vector<std::string> created;
    try {
        for (const auto& [path, bytes] : files) {
            std::error_code error;
            const bool existed = fs::exists(fs::symlink_status(path, error));
            kelmor::writeFileReplacing(path, *bytes);
            if (!existed)
                created.push_back(path);
        }
        if (options.project) {
            appendRows(grid, menu, options);
            kelmor::writeProjectFile(*options.project, grid);
        }
    } catch (const kelmor::Error&) {
        for (const std::string& path : created) {
            std::error_code error;
            fs::remove(path, error);
        }
        throw;
    }
}

int runButton(const kelmor::cli::Arguments& arguments) {
    const ButtonOptions options = buttonOptions(arguments);
    if (options.project)
        kelmor::checkPathName(*options.project, kelmor::msg::kCannotCreateFile);
    const kelmor::ButtonStyle style = chosenStyle(options);
    const std::vector<kelmor::ContrastShortfall> low = kelmor::contrastShortfalls(style);
    for (const kelmor::ContrastShortfall& shortfall : low)
        std::cerr << "kelmor-cli button: " << kelmor::contrastWarning(shortfall) << '\n';
    if (!low.empty() && arguments.has("--strict"))
        throw kelmor::Error(kelmor::msg::kContrastTooLow);
    const kelmor::ButtonMenu menu = kelmor::makeButtonMenu(
        style, options.texts, options.format,
        options.doubleScale.value_or(kelmor::doubleScaleByDefault(options.format)), options.matte);
    if (menu.font.fellBack)
        std::cerr << "kelmor-cli button: " << kelmor::format(kelmor::msg::kFontFallback, style.font)
                  << menu.font.family << '\n';

    kelmor::StringGrid grid = kelmor::newButtonList();
    if (options.project && fs::exists(*options.project))
        kelmor::cli::labelErrors(*options.project,
                                 [&] { kelmor::readProjectFile(*options.project, grid); });
    writeMenu(menu, options, grid);
    for (const kelmor::MadeButton& button : menu.buttons) {
        const char* between = "";
        for (const kelmor::ButtonPicture& picture : button.pictures()) {
            std::cout << between << picture.file << ' ' << menu.size.width * picture.scale << 'x'
                      << menu.size.height * picture.scale;
            between = " ";
        }
        std::cout << '\n';
    }
    return 0;
}

const kelmor::cli::Registration registration(kSyntax, runButton);

} // namespace
