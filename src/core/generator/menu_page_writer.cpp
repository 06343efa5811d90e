#include "generator/menu_page_writer.h"

#include "generator/html5_page_writer.h"
#include "generator/menu_builder.h"
#include "site/site_links.h"

#include <filesystem>

namespace kelmor {
namespace {

namespace fs = std::filesystem;

// The rules one per line: no value in them holds a line end, each being escaped in its string.
void writeRules(PageSink& out, const std::string& css) {
    line(out, {"<style>"});
    for (std::size_t start = 0, end; (end = css.find('\n', start)) != std::string::npos;
         start = end + 1)
        line(out, {std::string_view(css).substr(start, end - start)});
    line(out, {"</style>"});
}

} // namespace

void MenuPageWriter::write(PageSink& out, const std::vector<PageButton>& buttons,
                           const PageSettings& settings) const {
    const std::string folder = resolvedPath(settings.folder);
    const std::string page = settings.page.empty() ? (fs::path(folder) / "index.html").string()
                                                   : resolvedPath(settings.page);
    const PreparedMenu menu = prepareMenu({folder, {}, buttons, settings}, MenuOptions{});
    writeMenuFiles(menu);
    const MenuSnippet snippet = menuForPage(menu, page);

    writeHtml5Head(out, settings);
    writeRules(out, menuCss(snippet));
    line(out, {"</head>"});
    PageSettings body = settings;
    body.bgImage = linkFromPage(settings.bgImage, folder, fs::path(page).parent_path().string());
    writeHtml5Body(out, body);
    for (const std::string& markup : menuMarkupLines(snippet))
        line(out, {markup});
    line(out, {"</body>"});
    line(out, {"</html>"});
}

bool MenuPageWriter::dropsBgColor(const PageSettings& settings) const {
    return html5DropsBgColor(settings);
}

} // namespace kelmor
