#include "generator/page_target.h"

#include "base/ascii_case.h"
#include "base/atomic_file.h"
#include "base/error.h"
#include "base/messages.h"
#include "generator/html_text.h"
#include "project/button_columns.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <system_error>

namespace kelmor {
namespace {

namespace fs = std::filesystem;

constexpr std::array<std::string_view, 8> kWebPageExtensions = {".htm", ".html", ".xhtml", ".shtml",
                                                                ".php", ".asp",  ".aspx",  ".jsp"};

// Links followed at most, as the kernel stops resolving a path after 40.
constexpr int kMaxLinks = 40;

fs::path absoluteNormal(const std::string& path) {
    std::error_code error;
    fs::path absolute = fs::absolute(path.empty() ? fs::path(".") : fs::path(path), error);
    if (error)
        absolute = fs::path(path);
    absolute = absolute.lexically_normal();
    // "/a/b/" names the folder "/a/b"; without the trailing empty name it compares as one.
    if (absolute.has_relative_path() && absolute.filename().empty())
        absolute = absolute.parent_path();
    return absolute;
}

// The path the kernel reaches: the folders on the way resolved, then the last name followed as
// long as it is a symbolic link. A part that does not exist yet stays as written.
fs::path resolved(const fs::path& path) {
    fs::path current = path;
    for (int links = 0; links <= kMaxLinks; ++links) {
        std::error_code error;
        fs::path folder = fs::weakly_canonical(current.parent_path(), error);
        if (error)
            folder = current.parent_path();
        current = folder / current.filename();
        if (!fs::is_symlink(fs::symlink_status(current, error)))
            break;
        const fs::path target = fs::read_symlink(current, error);
        if (error)
            break;
        current = (target.is_absolute() ? target : folder / target).lexically_normal();
    }
    return current.lexically_normal();
}

// True when `path` is a name inside `folder`, both absolute and normalised.
bool isBelow(const fs::path& path, const fs::path& folder) {
    const fs::path relative = path.lexically_relative(folder);
    return !relative.empty() && relative != "." && *relative.begin() != "..";
}

bool sameFile(const fs::path& a, const fs::path& b) {
    std::error_code error;
    return fs::equivalent(a, b, error) && !error;
}

} // namespace

bool hasWebPageExtension(std::string_view path) {
    const std::string extension = fs::path(path).extension().string();
    return std::ranges::any_of(kWebPageExtensions, [&](std::string_view web) {
        return equalsIgnoringCase(extension, web);
    });
}

std::string absolutePagePath(const std::string& path) {
    return absoluteNormal(path).string();
}

bool liesInside(const std::string& path, const std::string& folder) {
    const fs::path lexicalPath = absoluteNormal(path);
    const fs::path lexicalFolder = absoluteNormal(folder);
    if (!isBelow(lexicalPath, lexicalFolder))
        return false;
    // The file as written, without normalising first: "link/../x" goes where the link leads.
    std::error_code error;
    fs::path written = fs::absolute(path, error);
    if (error)
        written = lexicalPath;
    return isBelow(resolved(written), resolved(lexicalFolder));
}

std::string projectFolderOf(const std::string& projectPath) {
    return fs::path(projectPath).parent_path().string();
}

std::vector<std::string> pageInputNames(const StringGrid& grid) {
    std::vector<std::string> names;
    for (int row = 1; row < grid.rowCount(); ++row)
        for (int column : {ButtonColumn::Normal, ButtonColumn::MouseOver, ButtonColumn::Sound,
                           ButtonColumn::BgImage}) {
            const std::string& name = grid.cell(column, row);
            if (!isBlank(name))
                names.push_back(name);
        }
    return names;
}

std::vector<std::string> pageInputFiles(const PageFiles& files) {
    std::vector<fs::path> folders{fs::path(), absoluteNormal(files.page).parent_path(),
                                  fs::path(files.projectFolder)};
    folders.insert(folders.end(), files.pictureFolders.begin(), files.pictureFolders.end());
    std::vector<std::string> found;
    for (const std::string& name : files.inputs) {
        const fs::path input(name);
        for (const fs::path& folder : folders) {
            const fs::path candidate = input.is_absolute() ? input : folder / input;
            std::error_code error;
            if (fs::exists(candidate, error))
                found.push_back(candidate.string());
            if (input.is_absolute())
                break;
        }
    }
    return found;
}

void checkNotAnInput(const std::string& page, std::span<const std::string> inputFiles) {
    for (const std::string& input : inputFiles)
        if (sameFile(page, input))
            throw Error(format(msg::kTargetPageIsAnInput, page));
}

PagePlace checkTargetPage(const PageFiles& files) {
    checkPathName(files.page, msg::kTargetPageNotAWebPage);
    if (!hasWebPageExtension(files.page))
        throw Error(format(msg::kTargetPageNotAWebPage, files.page));
    checkNotAnInput(files.page, pageInputFiles(files));
    return liesInside(files.page, files.projectFolder) ? PagePlace::InsideProject
                                                       : PagePlace::OutsideProject;
}

} // namespace kelmor
