#pragma once

// The site menu of a project: its buttons' pictures found and measured once (menu_pictures.h),
// then the snippet written for any page of the site, that page's own button shown as current
// and every path written relative to the page's folder.

#include "generator/menu_pictures.h"
#include "generator/menu_snippet.h"
#include "generator/page_kind_writer.h"
#include "site/site_update.h"

#include <optional>
#include <string>
#include <vector>

namespace kelmor {

struct MenuOptions {
    MenuSpriteMode sprite = MenuSpriteMode::Automatic;
    // The style sheet the snippet links instead of holding its rules, absolute; none: a
    // <style> element in the snippet.
    std::optional<std::string> cssFile;
};

// A project as its menu needs it: the folder its paths are typed from, the markers' NAME, the
// buttons and the page fields.
struct MenuProject {
    std::string folder;
    std::string name;
    std::vector<PageButton> buttons;
    PageSettings settings;
};

// The project file's menu: its data rows and row 1's page fields, the separator as given.
// Errors: the project reader's, "The menu has no buttons" when no row has a normal picture.
MenuProject readMenuProject(const std::string& projectFile, const std::string& separator);

// The menu ready to be written into pages: pictures measured and titled, sprites made in memory.
struct PreparedMenu {
    MenuProject project;
    MenuOptions options;
    std::vector<MenuButtonPictures> pictures;
    MenuSprites sprites; // the pictures to write before any page names them
    // The page each button's Link names, resolved (pageNamedBy): the page that shows it current.
    std::vector<std::optional<std::string>> linkedPages;
};

// Finds, measures and titles the pictures, and makes the sprites the options ask for.
PreparedMenu prepareMenu(MenuProject project, const MenuOptions& options);

// Writes the sprites and the style sheet of the options (through the safe writer): what every
// page's snippet refers to.
void writeMenuFiles(const PreparedMenu& menu);

// The menu as the page at `pagePath` (absolute) shows it, for a page that writes its markup and
// rules itself: the buttons whose Link names the page current, every link and picture relative
// to the page's folder.
MenuSnippet menuForPage(const PreparedMenu& menu, const std::string& pagePath);

// The snippet for the page at `pagePath` (absolute), LF line ends: the buttons whose Link names
// the page are current, every link and picture written relative to the page's folder.
std::string menuSnippetFor(const PreparedMenu& menu, const std::string& pagePath);

// menuSnippetFor as the site update calls it.
SnippetWriter menuSnippetWriter(const PreparedMenu& menu);

} // namespace kelmor
