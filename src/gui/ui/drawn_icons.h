#pragma once

#include <QIcon>

namespace kelmor {

// The pictures of the program's tool bars, tabs and buttons, which it draws
// itself: they look the same on every desktop, stay sharp at any size, and
// cost nothing until first painted (no icon theme is searched at start).
enum class DrawnIcon {
    New,
    Open,
    Folder,
    Save,
    SaveAs,
    Options,
    Speaker,
    Globe,
    ClearSheet,
    Undo,
    Copy,
    Cut,
    Paste,
    HtmlSheet,
    Refresh,
    LargeTiles,
    SmallList,
    Thumbnails,
    ClearSelection,
    AddRow,
    DeleteRow,
    NewFilm,
    Film,
    FilmSettings,
    Play,
    PlaySound,
    Stop,
    Rewind,
    Record,
    Home,
    Picture,
    ArrowDown,
    Palette,
    MoreRight, // more commands than the bar shows, to the right
    MoreDown,  // the same below
    ProjectFile,
    Program,        // the program's own icon, as on the desktop
    Last = Program, // keep naming the last picture
};

// An icon that draws the picture at whatever size it is painted, once per size;
// a window given it offers the desktop the usual icon sizes from 16 to 64 pixels.
QIcon drawnIcon(DrawnIcon kind);

} // namespace kelmor
