#pragma once

// Every message pattern users meet, in one place. "%s" stands for a file name,
// an extension or a count; kelmor::format fills it. A message built here from several values
// shows each of them through shownValue, as format does.
#include "base/shown_value.h"

#include <string>

namespace kelmor::msg {

inline constexpr const char* kCannotOpenFile = "Cannot open file %s";
inline constexpr const char* kCannotCreateFile = "Cannot create file %s";
inline constexpr const char* kFileTooLarge = "File %s is too large";
inline constexpr const char* kUnableToWrite = "Unable to write to %s";
// A command-line output that is one of the command's own inputs.
inline constexpr const char* kOutputIsAnInput =
    "The output would overwrite the input %s; nothing was written";
inline constexpr const char* kUnknownPictureExtension = "Unknown picture file extension (.%s)";
inline constexpr const char* kBitmapNotValid = "Bitmap image is not valid";
inline constexpr const char* kIconNotValid = "Icon image is not valid";
// Damaged PNG and SVG files; "%s" is the library's reason.
inline constexpr const char* kPngNotValid = "PNG image is not valid: %s";
inline constexpr const char* kWebpNotValid = "WebP image is not valid";
inline constexpr const char* kSvgNotValid = "SVG image is not valid: %s";
inline constexpr const char* kSvgNoSize = "SVG image has no size";
// The program that draws SVG files apart is missing or cannot run; "%s" is where it was sought.
inline constexpr const char* kSvgRendererMissing = "Cannot start the SVG renderer %s";
inline constexpr const char* kTextExceedsMemo = "Text exceeds memo capacity";
inline constexpr const char* kNoMciDevice = "No MCI device open";
inline constexpr const char* kInvalidGifData = "Invalid GIF data";
inline constexpr const char* kImageTooLarge = "Image too large";
// JPEG decodes stopped for the time they would take; "%s" is the most scans read.
inline constexpr const char* kJpegTooManyScans = "JPEG picture has more than %s scans";
inline constexpr const char* kJpegScansTooLarge = "JPEG picture has too many scans for its size";
// Shown in a picture view in place of a picture it cannot draw; "%s" is the longest side it can.
inline constexpr const char* kPictureTooLongToShow =
    "This picture has a side longer than %s pixels and cannot be shown";
// GIF reader and writer errors.
inline constexpr const char* kInvalidGifSignature = "Invalid GIF signature";
inline constexpr const char* kUnknownExtensionType = "Unknown extension type";
inline constexpr const char* kUnsupportedAppExtensionSize =
    "Unsupported Application Extension block size";
inline constexpr const char* kCircularDecoderTableEntry = "Circular decoder table entry";
inline constexpr const char* kUnsupportedGifVersion = "Unsupported GIF version";
inline constexpr const char* kObjectTypeNotSupported = "Object type not supported for operation";
inline constexpr const char* kNoColorTable = "No global or local color table defined";
inline constexpr const char* kColorNotInColorTable = "Color not in color table";
// GIF warnings: passed to an image's warning handler, they never stop an operation.
inline constexpr const char* kUnknownGifBlockType = "Unknown GIF block type";
inline constexpr const char* kInvalidExtensionIntroducer = "Invalid extension introducer";
inline constexpr const char* kImageExceedsLogicalScreen = "Image exceeds Logical Screen size";
inline constexpr const char* kPrematureEndOfData = "Premature end of data";
// "%s" is the number of pixels a frame's image data ended before.
inline constexpr const char* kPixelsMissing = "Image data ended early: %s pixels missing";
inline constexpr const char* kDecoderBitBufferUnderrun = "Decoder bit buffer under-run";
inline constexpr const char* kInvalidImageTrailer = "Invalid Image trailer";
inline constexpr const char* kInvalidColorIndex = "Invalid color index";
inline constexpr const char* kImageWidthTooSmall = "Image width too small for contained frames";
inline constexpr const char* kOutOfMemory = "Out of memory";
// Shown for a failure that carries no message meant for users.
inline constexpr const char* kUnexpectedError =
    "The command stopped because of an unexpected internal error.";
// Loop and Speed texts of an animation assembly.
inline constexpr const char* kNotAValidInteger = "'%s' is not a valid integer value";
inline constexpr const char* kValueOutOfRange = "'%s' is not a valid value (0 to 65535)";
inline constexpr const char* kButtonCountOutOfRange =
    "A page holds 1 to 10 buttons; the Button list has %s.";
// Where a page may go, checked before Build or kelmor-cli page writes it.
inline constexpr const char* kTargetPageNotAWebPage = "Target page is not a web page: %s";
inline constexpr const char* kTargetPageIsAnInput =
    "Target page %s is one of the project's pictures or sounds; nothing was written";
inline constexpr const char* kBuildWritesOutside =
    "Build writes %s, outside the project's folder. Write it?";
inline constexpr const char* kTargetPageOutsideProject =
    "Target page %s lies outside the project's folder; nothing was written (name it as OUT to "
    "write it there)";
// The pictures a written page names that are not there, relative to its folder: after the
// count, then the names, separated by ", ".
inline constexpr const char* kPicturesNotFound = " pictures not found: ";
inline constexpr const char* kPictureNotFound = " picture not found: ";
// The desktop found no program for a page or address handed to it.
inline constexpr const char* kNoProgramOpened = "No program opened %s";
// The question before unsaved changes would be lost; "%s" names the document.
inline constexpr const char* kSaveChangesTo = "Save changes to %s?";
// A page kind no row of the table of page kinds names; the kinds' names follow in brackets.
inline constexpr const char* kUnknownPageKind = "'%s' is not a page kind";
// The HTML5 page writes BG Color only when it is a CSS colour.
inline constexpr const char* kBgColorNotCssColour =
    "BG Color is not a CSS colour (#rgb, #rrggbb, a colour name, rgb() or hsl()); the page has "
    "no background colour";

// The button designer's values, styles and texts; "%s" is the value as given, a file or a text.
inline constexpr const char* kNotAColour = "'%s' is not a colour (#RRGGBB)";
inline constexpr const char* kPixelSizeOutOfRange = "'%s' is not a size from 1 to 2000 pixels";
inline constexpr const char* kPixelSizeOrZeroOutOfRange =
    "'%s' is not a size from 0 to 2000 pixels";
inline constexpr const char* kFontSizeOutOfRange = "'%s' is not a font size from 4 to 200 points";
inline constexpr const char* kUnknownShape = "'%s' is not a shape (rect, rounded or pill)";
inline constexpr const char* kUnknownButtonFormat = "'%s' is not a picture kind (svg, png or gif)";
inline constexpr const char* kUnknownButtonScales = "'%s' is not a list of scales (1 or 1,2)";
inline constexpr const char* kNotABorder = "'%s' is not a border width and colour (N,#RRGGBB)";
inline constexpr const char* kNotYesOrNo = "'%s' is not 1 or 0";
inline constexpr const char* kStyleFileNotFound = "Style file %s not found";
inline constexpr const char* kStyleFileDamaged = "Style file %s is damaged: ";
inline constexpr const char* kStyleHasNoSection = "it has no [STYLE] section";
inline constexpr const char* kEmptyButtonText = "A button text is empty";
inline constexpr const char* kButtonTextNotUtf8 = "A button text is not valid UTF-8";
inline constexpr const char* kButtonTextTooLong = "A button text is longer than %s characters";
inline constexpr const char* kButtonTextGivesNoName = "The button text '%s' gives no file name";
// kelmor-cli button's TEXT=LINK with nothing after the "=".
inline constexpr const char* kEmptyButtonLink = "The link of the button '%s' is empty";
// Two buttons of a menu that would write one file, each's normal or mouse-over picture.
inline std::string buttonFilesClash(const std::string& first, const std::string& second,
                                    const std::string& file) {
    return "Buttons '" + shownValue(first) + "' and '" + shownValue(second) +
           "' would both write " + shownValue(file);
}
inline constexpr const char* kButtonTooLarge = "The button '%s' would be larger than 2000 pixels";
// A button state whose text is too faint on its fill: the state, its contrast and the wanted one.
inline std::string lowContrast(const std::string& state, const std::string& ratio,
                               const std::string& wanted) {
    return "The text of the " + state + " state is hard to read: contrast " + ratio +
           ", at least " + wanted + " wanted.";
}
// kelmor-cli button --strict refuses a style whose text is hard to read.
inline constexpr const char* kContrastTooLow =
    "The buttons are not written: their text is hard to read (--strict)";
inline constexpr const char* kFontFallback = "Font '%s' is not installed; using ";
// The window's button drawing module could not be loaded: why.
inline std::string drawingUnavailable(const std::string& reason) {
    return "Buttons cannot be drawn: " + reason;
}

// Why the sound device could not open a file: "Cannot open sound file PATH: REASON."
inline constexpr const char* kSoundFileMissing = "the file does not exist";
inline constexpr const char* kSoundFileUnreadable = "the file cannot be read";
inline constexpr const char* kNotWavSound = "it is not a WAV sound file or it is damaged";
inline constexpr const char* kSoundTooLong = "its sound takes more than 256 MiB of memory";
inline constexpr const char* kNoSoundDevice = "no sound device is available";
inline std::string soundOpenFailed(const std::string& path, const std::string& reason) {
    return "Cannot open sound file " + shownValue(path) + ": " + reason + ".";
}

// Why a file has no thumbnail.
inline constexpr const char* kThumbnailFailedBefore =
    "The picture could not be read when its thumbnail was last made, and has not changed since";
inline constexpr const char* kThumbnailOfCache = "Files of the thumbnail cache get no thumbnail";
inline constexpr const char* kPictureHasNoImage = "The picture holds no image";

// The menu's site update. A page's line starts with its path relative to the site ("%s").
inline constexpr const char* kSiteFolderNotFound = "Site folder %s not found";
inline constexpr const char* kSiteIsNoFolder = "Site folder %s is not a folder";
inline constexpr const char* kSiteFolderUnreadable = "Cannot read the site folder %s";
inline constexpr const char* kMenuMarkersNotClosed = "%s: menu markers not closed";
inline constexpr const char* kSiteLinkLeavesSite = "%s: symbolic link to outside the site, skipped";
inline constexpr const char* kSitePageUnreadable = "%s: cannot be read, skipped";
inline constexpr const char* kSitePageTooLarge = "%s: larger than 64 MiB, skipped";
inline constexpr const char* kSitePageNotUtf8 = "%s: not valid UTF-8, skipped";
inline constexpr const char* kSitePageNotWritten = "%s: cannot be written, left as it was";
// Between the plan a window shows and its application, the page was edited.
inline constexpr const char* kSitePageChanged = "%s: changed since it was read, left as it was";

// "File " + path + " not found", raised when a project file cannot be opened.
inline std::string fileNotFound(const std::string& path) {
    return "File " + shownValue(path) + " not found";
}

// The site menu's pictures and sprites.
inline constexpr const char* kUnknownSpriteMode =
    "'%s' is not a sprite mode (menu, button or none)";
// A button picture that could not be measured or read: its path, then the reader's message.
inline std::string menuPictureFailed(const std::string& path, const std::string& reason) {
    return "Button picture " + shownValue(path) + ": " + reason;
}

// The usage problems every kelmor-cli command shares, shown after "kelmor-cli COMMAND: " as the
// commands' own ones are.
inline constexpr const char* kUnknownOption = "unknown option %s";
inline constexpr const char* kMissingOptionValue = "missing value for %s";
inline constexpr const char* kOptionNeeded = "%s is needed";
inline constexpr const char* kTooManyArguments = "too many arguments (%s)";

// The site menu.
inline constexpr const char* kMenuHasNoButtons = "The menu has no buttons";

} // namespace kelmor::msg
