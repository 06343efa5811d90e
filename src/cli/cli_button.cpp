// kelmor-cli button: the normal and mouse-over pictures of a menu's buttons from their texts and
// a style, as the window's button designer makes them.
#include "base/atomic_file.h"
#include "base/error.h"
#include "base/messages.h"
#include "base/shown_value.h"
#include "base/user_folders.h"
#include "cli_command.h"
#include "cli_files.h"
#include "designer/button_picture.h"
#include "designer/button_style.h"
#include "project/button_rows.h"
#include "project/project_file.h"

#include <filesystem>
#include <functional>
#include <iostream>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kExitFailure = 1;

constexpr const char* kUsage =
    "  kelmor-cli button [--style NAME|FILE] [STYLE OPTIONS] [--format svg|png|gif]\n"
    "                    [-d FOLDER] [--project P.kxq] [--] TEXT...\n"
    "      Writes NAME.EXT and NAME-over.EXT, the normal and mouse-over pictures of a button,\n"
    "      for every TEXT into FOLDER (default: the working folder), NAME being the text made\n"
    "      file-safe, and prints \"NAME.EXT WxH NAME-over.EXT WxH\" for each. Every button\n"
    "      of a run has the same size. The style is a NAME in $XDG_CONFIG_HOME/kelmor/styles\n"
    "      (the shipped Flat, Rounded, Pill and Glass are put there on first use) or a style\n"
    "      FILE; the options override it: --font FAMILY, --size POINTS (4 to 200), --bold,\n"
    "      --italic, --color C, --padding N, --width N, --height N, --shape rect|rounded|pill,\n"
    "      --radius N, --fill C[,C2] (C2: a gradient downwards), --border N,C, --shadow,\n"
    "      --over-fill C[,C2], --over-color C, --over-border C. Colours are #RRGGBB, sizes\n"
    "      pixels up to 2000. --project appends one row per button (names, widths and\n"
    "      heights) to the project, creating it when it is missing. Nothing is written when\n"
    "      a value, a style or a text is refused.";

using StyleChange = std::function<void(kelmor::ButtonStyle&)>;

struct ButtonOptions {
    std::optional<std::string> style;
    std::vector<StyleChange> changes;
    kelmor::ButtonFormat format = kelmor::ButtonFormat::Png;
    std::string folder = ".";
    std::optional<std::string> project;
    std::vector<std::string> texts;
    bool help = false;
};

int usageError(const std::string& problem) {
    std::cerr << "kelmor-cli button: " << problem << "\nUsage:\n" << kUsage << '\n';
    return kExitFailure;
}

// "C" or "C,C2", each checked.
kelmor::ButtonFill fillValue(const std::string& text) {
    const auto comma = text.find(',');
    if (comma == std::string::npos)
        return {kelmor::colourValue(text), std::nullopt};
    return {kelmor::colourValue(text.substr(0, comma)),
            kelmor::colourValue(text.substr(comma + 1))};
}

// The change an option with a value makes, its value checked now so that a bad one stops the
// command before anything is read or written.
std::optional<StyleChange> valueChange(const std::string& option, const std::string& value) {
    using kelmor::ButtonStyle;
    if (option == "--font")
        return [value](ButtonStyle& s) { s.font = value; };
    if (option == "--size")
        return [v = kelmor::fontSizeValue(value)](ButtonStyle& s) { s.fontSize = v; };
    if (option == "--color")
        return [v = kelmor::colourValue(value)](ButtonStyle& s) { s.color = v; };
    if (option == "--padding")
        return [v = kelmor::pixelValue(value, true)](ButtonStyle& s) { s.padding = v; };
    if (option == "--width")
        return [v = kelmor::pixelValue(value, false)](ButtonStyle& s) { s.width = v; };
    if (option == "--height")
        return [v = kelmor::pixelValue(value, false)](ButtonStyle& s) { s.height = v; };
    if (option == "--shape")
        return [v = kelmor::shapeValue(value)](ButtonStyle& s) { s.shape = v; };
    if (option == "--radius")
        return [v = kelmor::pixelValue(value, true)](ButtonStyle& s) { s.radius = v; };
    if (option == "--fill")
        return [v = fillValue(value)](ButtonStyle& s) { s.fill = v; };
    if (option == "--over-fill")
        return [v = fillValue(value)](ButtonStyle& s) { s.overFill = v; };
    if (option == "--over-color")
        return [v = kelmor::colourValue(value)](ButtonStyle& s) { s.overColor = v; };
    if (option == "--over-border")
        return [v = kelmor::colourValue(value)](ButtonStyle& s) { s.overBorderColor = v; };
    if (option == "--border") {
        const auto comma = value.find(',');
        if (comma == std::string::npos)
            throw kelmor::Error(kelmor::format(kelmor::msg::kNotABorder, value));
        return [width = kelmor::pixelValue(value.substr(0, comma), true),
                colour = kelmor::colourValue(value.substr(comma + 1))](ButtonStyle& s) {
            s.borderWidth = width;
            s.borderColor = colour;
        };
    }
    return std::nullopt;
}

std::optional<StyleChange> flagChange(const std::string& option) {
    using kelmor::ButtonStyle;
    if (option == "--bold")
        return [](ButtonStyle& s) { s.bold = true; };
    if (option == "--italic")
        return [](ButtonStyle& s) { s.italic = true; };
    if (option == "--shadow")
        return [](ButtonStyle& s) { s.shadow = true; };
    return std::nullopt;
}

bool takesValue(const std::string& option) {
    for (const char* name : {"--style", "--format", "-d", "--project", "--font", "--size",
                             "--color", "--padding", "--width", "--height", "--shape", "--radius",
                             "--fill", "--border", "--over-fill", "--over-color", "--over-border"})
        if (option == name)
            return true;
    return false;
}

// Parses the arguments; returns a usage problem, or nothing. A value that is not valid throws
// Error labelled with its option.
std::optional<std::string> parse(const std::vector<std::string>& args, ButtonOptions& options) {
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
            options.texts.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (auto change = flagChange(arg)) {
            options.changes.push_back(*change);
        } else if (takesValue(arg)) {
            if (++i == args.size())
                return arg + " needs a value";
            const std::string& value = args[i];
            if (arg == "--style")
                options.style = value;
            else if (arg == "-d")
                options.folder = value;
            else if (arg == "--project")
                options.project = value;
            else if (arg == "--format")
                options.format =
                    kelmor::cli::labelErrors(arg, [&] { return kelmor::buttonFormatValue(value); });
            else
                options.changes.push_back(
                    *kelmor::cli::labelErrors(arg, [&] { return valueChange(arg, value); }));
        } else {
            return "unknown option " + kelmor::shownValue(arg);
        }
    }
    if (!options.help && options.texts.empty())
        return std::string("a TEXT is needed");
    return std::nullopt;
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
    for (const StyleChange& change : options.changes)
        change(style);
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

// Adds one row per button after the last row that holds anything.
void appendRows(kelmor::StringGrid& grid, const kelmor::ButtonMenu& menu,
                const ButtonOptions& options) {
    int row = kelmor::rowAfterLastFilled(grid);
    grid.setRowCount(std::max(grid.rowCount(), row + int(menu.buttons.size())));
    const auto name = [&](const std::string& file) {
        return projectName(*options.project, (fs::path(options.folder) / file).string());
    };
    for (const kelmor::MadeButton& button : menu.buttons) {
        for (const kelmor::ButtonCell& cell :
             kelmor::pictureCells(name(button.normalFile()), name(button.mouseOverFile()),
                                  menu.size.width, menu.size.height))
            grid.setCell(cell.column, row, cell.text);
        ++row;
    }
}

// The picture files of a run with their bytes, in the order they are written.
std::vector<std::pair<std::string, const std::string*>> pictureFiles(const kelmor::ButtonMenu& menu,
                                                                     const std::string& folder) {
    std::vector<std::pair<std::string, const std::string*>> files;
    for (const kelmor::MadeButton& button : menu.buttons) {
        files.emplace_back((fs::path(folder) / button.normalFile()).string(), &button.normal);
        files.emplace_back((fs::path(folder) / button.mouseOverFile()).string(), &button.mouseOver);
    }
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

int runButton(const std::vector<std::string>& args) {
    ButtonOptions options;
    if (auto problem = parse(args, options))
        return usageError(*problem);
    if (options.help) {
        std::cout << kUsage << '\n';
        return 0;
    }
    if (options.project)
        kelmor::checkPathName(*options.project, kelmor::msg::kCannotCreateFile);
    const kelmor::ButtonStyle style = chosenStyle(options);
    const kelmor::ButtonMenu menu = kelmor::makeButtonMenu(style, options.texts, options.format);
    if (menu.font.fellBack)
        std::cerr << "kelmor-cli button: " << kelmor::format(kelmor::msg::kFontFallback, style.font)
                  << menu.font.family << '\n';

    kelmor::StringGrid grid = kelmor::newButtonList();
    if (options.project && fs::exists(*options.project))
        kelmor::cli::labelErrors(*options.project,
                                 [&] { kelmor::readProjectFile(*options.project, grid); });
    writeMenu(menu, options, grid);
    const std::string size =
        std::to_string(menu.size.width) + "x" + std::to_string(menu.size.height);
    for (const kelmor::MadeButton& button : menu.buttons)
        std::cout << button.normalFile() << ' ' << size << ' ' << button.mouseOverFile() << ' '
                  << size << '\n';
    return 0;
}

const kelmor::cli::Registration registration({"button", kUsage, runButton});

} // namespace
