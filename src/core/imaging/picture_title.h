#pragma once

// The title a picture file holds for itself: what a screen reader says for it.

#include <optional>
#include <string>

namespace kelmor {

// The picture's own title, read by its extension's codec: a PNG's "Title" text chunk, an SVG's
// <title> child of the root element, a GIF's first comment, a WebP's XMP dc:title. Nothing when
// the file has none, when its format holds none, or when the title is not valid UTF-8. Errors:
// "Cannot open file PATH", the reader's own for a damaged PNG.
std::optional<std::string> readPictureTitle(const std::string& path);

} // namespace kelmor
