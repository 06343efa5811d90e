#pragma once

// Where a page may be written. A project file names its Target Page, and a project can come from
// anyone, so Build and kelmor-cli page check the name before they write: it must be a web page,
// it must not replace one of the files the page itself shows or plays, and a page outside the
// project's folder is written only when the user says so.

#include "project/string_grid.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kelmor {

// True when the file name ends in a web page's extension: .htm, .html, .xhtml, .shtml, .php,
// .asp, .aspx or .jsp, in any case.
bool hasWebPageExtension(std::string_view path);

// The absolute, lexically normalised form of `path` (relative to the current folder), as
// messages name a page.
std::string absolutePagePath(const std::string& path);

// True when `path` lies inside `folder` (the current folder when empty), compared both ways:
// with both made absolute and lexically normalised, and with their symbolic links resolved,
// those of the folders on the way and a link that `path` itself is. A symbolic link inside the
// folder that leads out of it, or a ".." after such a link, counts as outside.
bool liesInside(const std::string& path, const std::string& folder);

// The folder whose pages Build writes without asking: the project file's folder, or the
// current folder (an empty string) when no project file is open.
std::string projectFolderOf(const std::string& projectPath);

// The picture and sound names of a Button list: the normal picture, mouse-over picture, sound
// and background picture cells of every data row, blank cells left out.
std::vector<std::string> pageInputNames(const StringGrid& grid);

// What a page is written from and where it goes.
struct PageFiles {
    std::string page;                // the page's path, relative to the current folder or absolute
    std::string projectFolder;       // empty: the current folder
    std::vector<std::string> inputs; // the project's picture and sound names
    std::vector<std::string> pictureFolders; // further folders those names are looked up in
};

// The existing files the inputs name, each name looked up as it stands (from the current
// folder), in the page's folder (as a browser finds it from the page), in the project's folder
// and in each picture folder. An absolute name stands for itself only.
std::vector<std::string> pageInputFiles(const PageFiles& files);

// Throws Error("Target page %s is one of the project's pictures or sounds...") when `page` is
// the same file as one of `inputFiles`, also through a link.
void checkNotAnInput(const std::string& page, std::span<const std::string> inputFiles);

enum class PagePlace { InsideProject, OutsideProject };

// The checks before a Target Page is written, in this order: Error("Target page is not a web
// page: %s") for a name holding a control character (checkPathName) and for one without a web
// page's extension, then checkNotAnInput; the result says whether the page lies inside the
// project's folder.
PagePlace checkTargetPage(const PageFiles& files);

} // namespace kelmor
