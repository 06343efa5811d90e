#pragma once

#include "pictures/conversion.h"
#include "prefs/list_style.h"
#include "ui/picture_kinds.h"

#include <QTabWidget>
#include <array>

class QListWidget;

namespace kelmor {

class ThumbnailLoader;

// The Pics tab's image-list panel: one flat inner tab for each picture kind (kPictureKinds:
// "GIF", "BMP", "JPG", "PNG", "WebP" and "SVG"), each with the pictures of its folder (ListView2
// "*.gif", ListView3 "*.bmp", ListView4 "*.jpg", ListViewPng "*.png", ListViewWebp "*.webp",
// ListViewSvg "*.svg", any letter case). The GIF and BMP lists carry the conversion pop-up menus.
// In Thumbnail View a list shows its pictures' thumbnails from the shared cache under
// `thumbnailRoot`.
class PictureListsPanel : public QTabWidget {
    Q_OBJECT
public:
    // The index of a tab's row in kPictureKinds; the names are those of its first rows.
    enum class Kind { Gif, Bmp, Jpg, Png, WebP, Svg };
    static constexpr auto kKinds = [] {
        std::array<Kind, std::size(kPictureKinds)> kinds{};
        for (std::size_t i = 0; i < kinds.size(); ++i)
            kinds[i] = static_cast<Kind>(i);
        return kinds;
    }();

    explicit PictureListsPanel(const QString& thumbnailRoot, QWidget* parent = nullptr);

    QListWidget& list(Kind kind) { return *lists_[static_cast<std::size_t>(kind)]; }
    // Rebuilds one list from its folder; an empty folder lists the root folder.
    void refill(Kind kind, const QString& folder);
    void setListsStyle(ListStyle style);
    // Switches only the list of the inner tab now shown.
    void setShownListStyle(ListStyle style);
    // Whether the list of the inner tab now shown is in Thumbnail View.
    bool shownListInThumbnails() const;

signals:
    // A click on a list; the caption is the selected file name, empty when no item is selected.
    void pictureClicked(PictureListsPanel::Kind kind, const QString& caption);
    // "Convert  &GIF -> BMP" or "Convert  &BMP -> GIF" chosen from a list's pop-up menu.
    void convertRequested(ConversionDirection direction);

protected:
    // Return or Enter on a list works as a click on its selected item.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QListWidget* addList(Kind kind, const QString& thumbnailRoot);
    void applyStyle(std::size_t index, ListStyle style);
    void emitClicked(Kind kind);
    void addConvertMenu(QListWidget& list, ConversionDirection direction, const QString& caption,
                        const char* objectName);

    std::array<QListWidget*, kKinds.size()> lists_{};
    std::array<ThumbnailLoader*, kKinds.size()> thumbnails_{};
};

} // namespace kelmor
