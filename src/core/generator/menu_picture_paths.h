#pragma once

// The paths of a menu's pictures, kept in the form the project has them ("pics/home.png" or
// absolute): the pictures found beside a picture are named in the same form.

#include <string>
#include <string_view>

namespace kelmor {

// Where the file of `path` lies: `path` itself when absolute, else inside `folder`.
std::string resolvedIn(const std::string& folder, const std::string& path);

// The path up to and including its last '/' ("pics/" for "pics/home.png", "" for "home.png").
std::string_view folderPart(std::string_view path);

// A picture's name beside it: the name without its extension, `suffix`, then `extension`, or
// the picture's own extension when `extension` is null: "pics/home@2x.png" for "pics/home.png"
// and "@2x".
std::string besidePicture(std::string_view path, std::string_view suffix,
                          const char* extension = nullptr);

// Whether a regular file lies at `file`.
bool isRegularFile(const std::string& file);

} // namespace kelmor
