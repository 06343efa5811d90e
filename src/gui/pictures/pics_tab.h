#pragma once

#include "pictures/conversion.h"
#include "pictures/picture_lists_panel.h"
#include "prefs/preference_store.h"
#include "ui/browser_tab.h"
#include "ui/history.h"
#include "ui/services.h"
#include "ui/tab_links.h"

#include <functional>
#include <string>

class QComboBox;
class QLabel;

namespace kelmor {

class PictureView;

// The "Pics" tab: the picture browser over the GIF, BMP, JPG, PNG, WebP and SVG folders, its
// preview and status line, and the conversions.
class PicsTab : public BrowserTab, public PictureBrowser, public PictureStatusLine {
    Q_OBJECT
public:
    explicit PicsTab(TabContext& context, QWidget* parent = nullptr);

    // The left panel with the picture lists, shown and hidden by "&Image Windows".
    QWidget* togglablePart() override;
    void refillLists() override;
    void setListsStyle(ListStyle style) override;

    void showPicture(const QString& path) override;
    void showStatus(const QString& text) override;

    // "GIF -> BMP" / "BMP -> GIF" of the "&Image" / "&Convert" menu and of the
    // lists' pop-up menus: converts the picture the current picture box names
    // into "newimage.bmp" / "newimage.gif" in the working folder and shows it.
    void convertPicture(ConversionDirection direction);
    // "Picture -> PNG", "-> WebP", "-> GIF" and "-> BMP" of the same menu: converts the
    // picture the box names, whatever its kind, into "newimage.png", ".webp", ".gif" or ".bmp"
    // in the working folder and shows it, as the two above do.
    void convertPicture(PictureTarget target);

    QComboBox& currentPictureBox() { return built(currentPicture_); }
    PictureView& previewImage() { return built(preview_); }
    QString statusText() const;
    PictureListsPanel& pictureLists() { return built(listPanel_); }

protected:
    void buildContents() override;
    void clearView() override;
    void openFile() override;
    void saveFile() override;
    void saveFileAs() override;
    void setShownListsStyle(ListStyle style) override;

private:
    QString folderOf(PictureListsPanel::Kind kind) const;
    // Empties the preview and loads the file; on a failure the preview stays
    // empty and the error stops the command.
    void loadPreview(const QString& path);
    // The current picture box names the path, which joins the history.
    void makeCurrent(const QString& path);

    // Runs a conversion of the box's picture into the output name, with the status line and
    // the preview of the two "&Convert" commands above.
    using Converter = std::function<void(const std::string& source, const std::string& target,
                                         const SourceReadStep& sourceRead)>;
    void runConversion(const char* outputName, const Converter& convert);

    void GifToBmpClick();
    void BmpToGifClick();
    void PictureToPngClick();
    void PictureToWebpClick();
    void PictureToGifClick();
    void PictureToBmpClick();
    void ListViewClick(PictureListsPanel::Kind kind, const QString& caption);
    void ComboBox6Select(int index);

    Services& services_;
    const PreferenceStore& preferences_;
    HistoryBox* currentPicture_ = nullptr;
    PictureListsPanel* listPanel_ = nullptr;
    PictureView* preview_ = nullptr;
    QLabel* status_ = nullptr;
};

} // namespace kelmor
