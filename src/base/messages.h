#pragma once

// Every message pattern users meet, in one place. "%s" stands for a file name,
// an extension or a count; kelmor::format fills it.
#include <string>

namespace kelmor::msg {

inline constexpr const char* kCannotOpenFile = "Cannot open file %s";
inline constexpr const char* kCannotCreateFile = "Cannot create file %s";
inline constexpr const char* kUnableToWrite = "Unable to write to %s";
inline constexpr const char* kUnknownPictureExtension = "Unknown picture file extension (.%s)";
inline constexpr const char* kBitmapNotValid = "Bitmap image is not valid";
inline constexpr const char* kTextExceedsMemo = "Text exceeds memo capacity";
inline constexpr const char* kNoMciDevice = "No MCI device open";
inline constexpr const char* kInvalidGifData = "Invalid GIF data";
inline constexpr const char* kImageTooLarge = "Image too large";
inline constexpr const char* kButtonCountOutOfRange =
    "A page holds 1 to 10 buttons; the Button list has %s.";

// "File " + path + " not found", raised when a project file cannot be opened.
inline std::string fileNotFound(const std::string& path) { return "File " + path + " not found"; }

} // namespace kelmor::msg
