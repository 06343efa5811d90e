#include "generator/menu_builder.h"

#include "base/atomic_file.h"
#include "base/error.h"
#include "base/messages.h"
#include "base/read_file.h"
#include "generator/html_text.h"
#include "generator/menu_snippet.h"
#include "generator/page_target.h"
#include "generator/page_writer.h"
#include "project/button_columns.h"
#include "project/project_file.h"
#include "site/menu_markers.h"
#include "site/site_links.h"

#include <filesystem>

namespace kelmor {
namespace {

namespace fs = std::filesystem;

// The path of a file under the project's folder, absolute.
std::string inProject(const PreparedMenu& menu, const std::string& path) {
    const fs::path file(path);
    return (file.is_absolute() ? file : fs::path(menu.project.folder) / file)
        .lexically_normal()
        .string();
}

MenuPicture pictureFrom(const MenuStatePicture& state, const PageLinks& links) {
    MenuPicture picture{links.fromPage(state.path), {}};
    if (!state.path2x.empty())
        picture.url2x = links.fromPage(state.path2x);
    return picture;
}

std::optional<MenuSprite> spriteFrom(const PreparedMenu& menu, std::size_t button,
                                     const PageLinks& links) {
    const MenuSpritePlace& place = menu.sprites.places[button];
    if (place.sprite < 0)
        return std::nullopt;
    const MenuSpriteFile& file = menu.sprites.files[static_cast<std::size_t>(place.sprite)];
    const MenuStatePicture state{file.path, file.path2x};
    return MenuSprite{pictureFrom(state, links), file.width, file.height, file.rowHeight};
}

// The menu as written from `folder`, the folder of the page or of the style sheet that refers
// to the pictures; the buttons naming `page` are current.
MenuSnippet snippetFrom(const PreparedMenu& menu, const std::string& folder,
                        const std::string& page) {
    const MenuProject& project = menu.project;
    const PageLinks links(project.folder, folder);
    const std::optional<std::string> thisPage =
        page.empty() ? std::nullopt : std::optional(resolvedPath(page));
    MenuSnippet snippet;
    const std::string_view title = trimBlanks(project.settings.title);
    snippet.label = title.empty() ? "Main" : std::string(title);
    snippet.layout = separatorLayout(project.settings.separator);
    snippet.bgColor = project.settings.bgColor;
    for (std::size_t i = 0; i < menu.pictures.size(); ++i) {
        const MenuButtonPictures& button = menu.pictures[i];
        MenuLink link;
        link.href = links.fromPage(button.link);
        link.title = button.title;
        link.target = button.frame;
        link.normal = pictureFrom(button.normal, links);
        link.over = pictureFrom(button.over, links);
        link.current = pictureFrom(button.current, links);
        link.width = button.width;
        link.height = button.height;
        link.isCurrent = thisPage && menu.linkedPages[i] == thisPage;
        link.sprite = spriteFrom(menu, i, links);
        link.spriteX = menu.sprites.places[i].x;
        snippet.links.push_back(std::move(link));
    }
    return snippet;
}

// Writes the file unless it holds these bytes already: a menu put into the site again leaves
// its sprites and style sheet as they were, and the copies browsers keep of them stay good.
void writeIfChanged(const std::string& path, std::string_view bytes) {
    try {
        if (readWholeFile(path, bytes.size()) == bytes)
            return;
    } catch (const Error&) {
        // Missing, unreadable or larger: written anew.
    }
    writeFileReplacing(path, bytes);
}

std::string folderOf(const std::string& path) {
    return fs::path(path).parent_path().string();
}

} // namespace

MenuProject readMenuProject(const std::string& projectFile, const std::string& separator) {
    StringGrid grid = newButtonList();
    readProjectFile(projectFile, grid);
    MenuProject project;
    // With its links resolved, as the site's pages are: the paths between them stay short.
    project.folder = resolvedPath(projectFolderOf(projectFile));
    project.name = menuNameOf(projectFile);
    project.buttons = pageButtons(grid, grid.rowCount() - 1);
    project.settings = {grid.cell(ButtonColumn::PageTitle, 1), grid.cell(ButtonColumn::BgColor, 1),
                        grid.cell(ButtonColumn::BgImage, 1), separator};
    return project;
}

PreparedMenu prepareMenu(MenuProject project, const MenuOptions& options) {
    PreparedMenu menu{std::move(project), options, {}, {}, {}};
    menu.pictures = findMenuPictures(menu.project.folder, menu.project.buttons);
    if (menu.pictures.empty())
        throw Error(msg::kMenuHasNoButtons);
    menu.sprites = makeMenuSprites(menu.project.folder, menu.pictures, options.sprite);
    for (const MenuButtonPictures& button : menu.pictures)
        menu.linkedPages.push_back(pageNamedBy(button.link, menu.project.folder));
    return menu;
}

void writeMenuFiles(const PreparedMenu& menu) {
    for (const MenuSpriteFile& sprite : menu.sprites.files) {
        writeIfChanged(inProject(menu, sprite.path), sprite.bytes);
        if (!sprite.path2x.empty())
            writeIfChanged(inProject(menu, sprite.path2x), sprite.bytes2x);
    }
    if (const std::optional<std::string>& css = menu.options.cssFile)
        writeIfChanged(*css, menuCss(snippetFrom(menu, folderOf(*css), {})));
}

MenuSnippet menuForPage(const PreparedMenu& menu, const std::string& pagePath) {
    return snippetFrom(menu, folderOf(pagePath), pagePath);
}

std::string menuSnippetFor(const PreparedMenu& menu, const std::string& pagePath) {
    const std::string folder = folderOf(pagePath);
    const MenuSnippet snippet = menuForPage(menu, pagePath);
    std::optional<std::string> cssHref;
    if (menu.options.cssFile)
        cssHref = fs::path(*menu.options.cssFile).lexically_relative(folder).generic_string();
    return menuHtml(snippet, cssHref);
}

SnippetWriter menuSnippetWriter(const PreparedMenu& menu) {
    return [&menu](const SitePage& page) { return menuSnippetFor(menu, page.path); };
}

} // namespace kelmor
