#include "pictures/pics_tab.h"

#include "imaging/picture.h"
#include "imaging/picture_view.h"
#include "prefs/page_preference.h"
#include "ui/error_guard.h"
#include "ui/history.h"
#include "ui/picture_kinds.h"
#include "ui/qt_text.h"
#include "ui/save_confirm.h"
#include "ui/wait_cursor.h"

#include <QDir>
#include <QLabel>
#include <QSplitter>

namespace kelmor {
namespace {

// A menu command of the "&Convert" menu.
Command<PicsTab> convertCommand(const char* name, const char* caption, const char* hint,
                                void (PicsTab::*handler)()) {
    return {name, caption, hint, CommandIcon::None, {}, handler, Place::Menu};
}

} // namespace

PicsTab::PicsTab(TabContext& context, QWidget* parent)
    : BrowserTab(
          {"Pics", DrawnIcon::Picture, " Pics Viewer", "ViewsImageWindows", "&Image Windows"},
          parent, ContentsBuilt::OnFirstUse),
      services_(context.services()), preferences_(context.preferences()) {
    using C = Command<PicsTab>;
    setBrowserCommands<PicsTab>(
        services_.dialogs, "Pics", {},
        {
            C::subMenu("Convert1", "&Convert"),
            convertCommand("GifToBmp1", "GIF -> BMP", "Convert the GIF picture to BMP",
                           &PicsTab::GifToBmpClick),
            convertCommand("BmpToGif1", "BMP -> GIF", "Convert the BMP picture to GIF",
                           &PicsTab::BmpToGifClick),
            convertCommand("PictureToPng1", "Picture -> PNG", "Convert the picture to PNG",
                           &PicsTab::PictureToPngClick),
            convertCommand("PictureToWebp1", "Picture -> WebP", "Convert the picture to WebP",
                           &PicsTab::PictureToWebpClick),
            convertCommand("PictureToGif1", "Picture -> GIF", "Convert the picture to GIF",
                           &PicsTab::PictureToGifClick),
            convertCommand("PictureToBmp1", "Picture -> BMP", "Convert the picture to BMP",
                           &PicsTab::PictureToBmpClick),
            C::endSubMenu(),
        },
        MenuHeading{"&Image", "Image1", MenuPosition::Trailing}, BrowserViews::IconsAndThumbnails);
}

void PicsTab::buildContents() {
    currentPicture_ =
        new HistoryBox("ComboBox6", QStringLiteral("Current picture"), "actCombo2", this);
    layOutBrowserTab(*this, commands(), "PicsToolBar", *currentPicture_, "PicsPictureBar",
                     [this](QSplitter& splitter) {
                         listPanel_ =
                             new PictureListsPanel(services_.paths.thumbnailRoot, &splitter);
                         preview_ = addPictureArea(splitter, QStringLiteral("Image3"),
                                                   QStringLiteral("Picture preview"));
                     });

    status_ = addStatusLine(*this, "PicsStatusBar", "PicsStatus");

    Dialogs& dialogs = services_.dialogs;
    connect(listPanel_, &PictureListsPanel::pictureClicked, this,
            guarded(dialogs, [this](PictureListsPanel::Kind kind, const QString& caption) {
                ListViewClick(kind, caption);
            }));
    connect(listPanel_, &PictureListsPanel::convertRequested, this,
            guarded(dialogs, [this](ConversionDirection direction) { convertPicture(direction); }));
    connect(currentPicture_, &QComboBox::activated, this,
            guarded(dialogs, [this](int index) { ComboBox6Select(index); }));
}

QString PicsTab::folderOf(PictureListsPanel::Kind kind) const {
    return preferences_.path(kPictureKinds[static_cast<std::size_t>(kind)].folder);
}

QWidget* PicsTab::togglablePart() {
    ensureBuilt();
    return listPanel_;
}

void PicsTab::refillLists() {
    ensureBuilt();
    for (PictureListsPanel::Kind kind : PictureListsPanel::kKinds)
        listPanel_->refill(kind, folderOf(kind));
}

void PicsTab::setListsStyle(ListStyle style) {
    ensureBuilt();
    listPanel_->setListsStyle(style);
}

void PicsTab::showPicture(const QString& path) {
    ensureBuilt();
    loadPreview(path);
}

void PicsTab::showStatus(const QString& text) {
    ensureBuilt();
    status_->setText(text);
}

QString PicsTab::statusText() const {
    return status_ != nullptr ? status_->text() : QString();
}

void PicsTab::loadPreview(const QString& path) {
    WaitCursor wait;
    preview_->loadFromFile(toLocal(path));
}

void PicsTab::makeCurrent(const QString& path) {
    currentPicture_->setToolTip(QString()); // it named the output of a conversion
    currentPicture_->showPath(path);
}

void PicsTab::ListViewClick(PictureListsPanel::Kind kind, const QString& caption) {
    if (caption.isEmpty())
        return;
    const QString path = folderOf(kind) + QLatin1Char('/') + caption;
    loadPreview(path);
    makeCurrent(path);
    showPictureSize(preview_->picture().height(), preview_->picture().width());
}

void PicsTab::ComboBox6Select(int index) {
    loadPreview(currentPicture_->itemText(index));
}

void PicsTab::clearView() {
    preview_->clear();
}

void PicsTab::openFile() {
    if (const std::optional<QString> path = services_.dialogs.openPicture()) {
        loadPreview(*path);
        makeCurrent(*path);
    }
}

void PicsTab::saveFile() {
    const QString path = currentPicture_->currentText();
    if (!confirmSaveAs(services_.dialogs, path))
        return;
    preview_->saveToFile(toLocal(path));
    refillLists();
}

void PicsTab::saveFileAs() {
    // The filter and default extension follow the type of the picture held;
    // with none held, every picture type is offered.
    const PictureFormat format = preview_->picture().format();
    const std::string filter =
        format == PictureFormat::None ? pictureOpenFilter() : pictureSaveFilter(format);
    if (const std::optional<QString> path = services_.dialogs.saveFile(
            toQt(filter), currentPicture_->currentText(), toQt(pictureDefaultExtension(format)))) {
        preview_->saveToFile(toLocal(*path));
        refillLists();
    }
}

// Thumbnail View is remembered for all six lists as it is chosen or left on one of them.
void PicsTab::setShownListsStyle(ListStyle style) {
    const bool thumbnails = style == ListStyle::Thumbnails;
    const bool leaving = listPanel_->shownListInThumbnails() && !thumbnails;
    listPanel_->setShownListStyle(style);
    if (thumbnails || leaving)
        saveThumbnailView(toLocal(services_.paths.configDir), PrefChoice::PicsThumbnails,
                          thumbnails, PrefLists::Pics);
}

void PicsTab::GifToBmpClick() {
    convertPicture(ConversionDirection::GifToBmp);
}

void PicsTab::BmpToGifClick() {
    convertPicture(ConversionDirection::BmpToGif);
}

void PicsTab::PictureToPngClick() {
    convertPicture(PictureTarget::Png);
}

void PicsTab::PictureToWebpClick() {
    convertPicture(PictureTarget::WebP);
}

void PicsTab::PictureToGifClick() {
    convertPicture(PictureTarget::Gif);
}

void PicsTab::PictureToBmpClick() {
    convertPicture(PictureTarget::Bmp);
}

void PicsTab::convertPicture(ConversionDirection direction) {
    runConversion(conversionOutputName(direction),
                  [direction](const std::string& source, const std::string& target,
                              const SourceReadStep& sourceRead) {
                      kelmor::convertPicture(direction, source, target, sourceRead);
                  });
}

void PicsTab::convertPicture(PictureTarget target) {
    runConversion(conversionOutputName(target),
                  [target](const std::string& source, const std::string& output,
                           const SourceReadStep& sourceRead) {
                      kelmor::convertPicture(target, source, output, sourceRead);
                  });
}

void PicsTab::runConversion(const char* outputName, const Converter& convert) {
    ensureBuilt();
    WaitCursor wait;
    showStatus(QString());
    const QString output = QString::fromLatin1(outputName);
    convert(toLocal(currentPicture_->currentText()), toLocal(output),
            [this] { preview_->clear(); });
    preview_->loadFromFile(toLocal(output));
    currentPicture_->setEditText(output);
    currentPicture_->setToolTip(QDir::current().absoluteFilePath(output));
    showStatus(QStringLiteral("Status: Image Converted."));
}

} // namespace kelmor
