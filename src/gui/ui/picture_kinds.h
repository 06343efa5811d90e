#pragma once

// The window's side of the table of picture formats (imaging/picture_codecs.h): for each format
// the Pics tab lists, its inner tab, its file icon, the preference of its folder and that
// folder's row in the Options dialog. Rows go by the same PictureFormat as the core's.

#include "imaging/picture_codecs.h"
#include "prefs/pref_file.h"

#include <QIcon>
#include <QRgb>
#include <QString>

namespace kelmor {

struct PictureKind {
    PictureFormat format;
    const char* caption;    // "GIF": the Pics tab's inner tab
    const char* listName;   // "ListView2": the object name of that tab's list
    QRgb band;              // the file icon's band...
    const char* iconLabel;  // ...and the type written on it ("GIF")
    PrefPath folder;        // the folder the tab lists
    const char* folderName; // "Gif Images:": the folder's row in the Options dialog...
    const char* folderHint; // ...and the tool tip of its browse button
    bool animationFrame;    // listed among the Gifs tab's frame sources
};

// The Pics tab's inner tabs in their order: GIF, BMP, JPG, PNG, WebP, SVG.
inline constexpr PictureKind kPictureKinds[] = {
    {PictureFormat::Gif, "GIF", "ListView2", qRgb(0x2e, 0x8b, 0x57), "GIF", PrefPath::Gif,
     "Gif Images:", "Locate gif images folder", false},
    {PictureFormat::Bitmap, "BMP", "ListView3", qRgb(0x1e, 0x64, 0xc8), "BMP", PrefPath::Bmp,
     "Bmp Images:", "Locate bmp images folder", true},
    {PictureFormat::Jpeg, "JPG", "ListView4", qRgb(0xd2, 0x69, 0x1e), "JPG", PrefPath::Jpg,
     "Jpg Images:", "Locate jpg images folder", false},
    {PictureFormat::Png, "PNG", "ListViewPng", qRgb(0x6a, 0x3d, 0x9a), "PNG", PrefPath::Png,
     "Png Images:", "Locate png images folder", true},
    {PictureFormat::WebP, "WebP", "ListViewWebp", qRgb(0x00, 0x80, 0x80), "WEBP", PrefPath::WebP,
     "WebP Images:", "Locate webp images folder", true},
    {PictureFormat::Svg, "SVG", "ListViewSvg", qRgb(0xb8, 0x86, 0x0b), "SVG", PrefPath::Svg,
     "Svg Images:", "Locate svg images folder", true},
};

// The kind of a format, or of a folder preference; nullptr for none.
const PictureKind* pictureKindOf(PictureFormat format);
const PictureKind* pictureKindOf(PrefPath folder);

// The pattern its lists show: "*." with the format's default extension ("*.jpg").
QString listPattern(const PictureKind& kind);

// The file icon of a picture file of the kind, with a 16-pixel and a 32-pixel picture.
QIcon pictureFileIcon(const PictureKind& kind);

} // namespace kelmor
