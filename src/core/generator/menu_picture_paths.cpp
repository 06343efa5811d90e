#include "generator/menu_picture_paths.h"

#include <filesystem>
#include <system_error>

namespace kelmor {

std::string resolvedIn(const std::string& folder, const std::string& path) {
    if (path.starts_with('/') || folder.empty())
        return path;
    return folder.ends_with('/') ? folder + path : folder + '/' + path;
}

std::string_view folderPart(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1);
}

std::string besidePicture(std::string_view path, std::string_view suffix, const char* extension) {
    const std::size_t nameStart = folderPart(path).size();
    std::size_t dot = path.rfind('.');
    // A leading dot starts no extension: ".png" is a name.
    if (dot == std::string_view::npos || dot <= nameStart)
        dot = path.size();
    std::string result(path.substr(0, dot));
    result += suffix;
    result += extension ? std::string_view(extension) : path.substr(dot);
    return result;
}

bool isRegularFile(const std::string& file) {
    std::error_code error;
    return std::filesystem::is_regular_file(file, error);
}

} // namespace kelmor
