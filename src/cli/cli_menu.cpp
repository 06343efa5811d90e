// kelmor-cli menu: writes a project's site menu, or puts it into every page of a site.
#include "base/error.h"
#include "cli_command.h"
#include "cli_files.h"
#include "generator/menu_builder.h"
#include "site/site_links.h"
#include "site/site_report.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const kelmor::cli::Syntax kSyntax{
    .command = "menu",
    .options = {{"--separator", "TEXT",
                 "\"<br>\" stacks the buttons, \"&nbsp;  \" sets them in a row"},
                {"--sprite", "MODE", "menu, button or none (default: menu for raster pictures)"},
                {"--css", "FILE", "writes the style rules into FILE, which the menu links"},
                {"--update", "SITE",
                 "puts the menu into every page of SITE that holds its markers"},
                {"--dry-run", "", "with --update: writes nothing, tells what each page becomes"}},
    .operands = "[--] PROJECT.kxq [OUT]",
    .minOperands = 1,
    .maxOperands = 2,
    .operandsNeeded = "a PROJECT.kxq file is needed",
    .description =
        "      Writes the project's site menu: a <nav> of its buttons with CSS rollovers, no\n"
        "      script, to OUT (- or none: standard output). A page takes the menu between\n"
        "      <!-- kelmor-menu NAME --> and <!-- /kelmor-menu --> (NAME: the project's file name\n"
        "      without .kxq); with --update, every such page of SITE gets the menu written for "
        "it,\n"
        "      its own button current and every path relative to its folder, and one line per\n"
        "      page (updated, unchanged, no markers or the problem) and a count are printed.\n"
        "      Exit status: 0 written, 1 file or usage error or a page refused."};

kelmor::MenuOptions menuOptions(const kelmor::cli::Arguments& arguments) {
    kelmor::MenuOptions options;
    if (const std::optional<std::string> sprite = arguments.value("--sprite"))
        options.sprite = kelmor::cli::labelErrors(
            "--sprite", [&] { return kelmor::menuSpriteModeValue(*sprite); });
    if (const std::optional<std::string> css = arguments.value("--css"))
        options.cssFile = kelmor::resolvedPath(*css);
    return options;
}

int updateSite(const kelmor::PreparedMenu& menu, const std::string& site, bool dryRun) {
    if (!dryRun)
        kelmor::writeMenuFiles(menu);
    const kelmor::MenuUpdate update{site, menu.project.name, kelmor::menuSnippetWriter(menu)};
    const std::vector<kelmor::PageOutcome> outcomes = kelmor::updateSiteMenu(
        update, dryRun ? kelmor::UpdateMode::DryRun : kelmor::UpdateMode::Write);
    for (const std::string& line : kelmor::reportLines(outcomes))
        std::cout << line << '\n';
    const bool refused = std::ranges::any_of(outcomes, [](const kelmor::PageOutcome& outcome) {
        return outcome.status == kelmor::PageStatus::Refused;
    });
    return refused ? 1 : 0;
}

// The page the menu on its own is written for, from whose folder its links and pictures are
// written and whose button is current: OUT, or index.html in the project's folder.
std::string menuPage(const kelmor::cli::Arguments& arguments, const kelmor::PreparedMenu& menu) {
    const std::vector<std::string>& operands = arguments.operands();
    if (operands.size() == 2 && operands[1] != kelmor::cli::kStandardOutput)
        return kelmor::resolvedPath(operands[1]);
    return (fs::path(menu.project.folder) / "index.html").string();
}

int runMenu(const kelmor::cli::Arguments& arguments) {
    const std::string& projectFile = arguments.operands()[0];
    const std::optional<std::string> site = arguments.value("--update");
    if (arguments.has("--dry-run") && !site)
        throw kelmor::cli::UsageError("--dry-run goes with --update");
    if (site && arguments.operands().size() == 2)
        throw kelmor::cli::UsageError("--update writes into the site's pages: no OUT");
    kelmor::MenuProject project = kelmor::cli::labelErrors(projectFile, [&] {
        return kelmor::readMenuProject(projectFile, arguments.value("--separator").value_or(""));
    });
    const kelmor::PreparedMenu menu =
        kelmor::prepareMenu(std::move(project), menuOptions(arguments));
    if (site)
        return updateSite(menu, *site, arguments.has("--dry-run"));
    const std::vector<std::string>& operands = arguments.operands();
    const kelmor::cli::Output output(operands.size() == 2 ? operands[1] : "-",
                                     {operands.data(), 1});
    const std::string snippet = kelmor::menuSnippetFor(menu, menuPage(arguments, menu));
    kelmor::writeMenuFiles(menu);
    output.write(snippet);
    return 0;
}

const kelmor::cli::Registration registration(kSyntax, runMenu);

} // namespace
