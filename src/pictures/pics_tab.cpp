#include "pictures/pics_tab.h"

#include "imaging/picture.h"
#include "imaging/picture_view.h"
#include "ui/error_guard.h"
#include "ui/history.h"
#include "ui/qt_text.h"
#include "ui/tool_commands.h"
#include "ui/wait_cursor.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace kelmor {

PicsTab::PicsTab(Services& services, const PreferenceStore& preferences, QWidget* parent)
    : TabPage(parent), services_(services), preferences_(preferences) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    toolBar_ = new QToolBar(this);
    toolBar_->setObjectName(QStringLiteral("PicsToolBar"));
    setUpToolBar(*toolBar_, ToolBarSize::Small);
    layout->addWidget(toolBar_);

    auto* pictureBar = new QToolBar(this);
    pictureBar->setObjectName(QStringLiteral("PicsPictureBar"));
    currentPicture_ = new QComboBox(pictureBar);
    currentPicture_->setObjectName(QStringLiteral("ComboBox6"));
    currentPicture_->setAccessibleName(QStringLiteral("Current picture"));
    currentPicture_->setEditable(true);
    currentPicture_->setInsertPolicy(QComboBox::NoInsert);
    currentPicture_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    pictureBar->addWidget(currentPicture_);
    layout->addWidget(pictureBar);
    historyAdd_ = new QAction(this);
    historyAdd_->setObjectName(QStringLiteral("actCombo2"));
    connect(historyAdd_, &QAction::triggered, this, [this] { historyAdd(*currentPicture_); });

    auto* splitter = new QSplitter(this);
    listPanel_ = new PictureListsPanel(splitter);
    preview_ = addPictureArea(*splitter, QStringLiteral("Image3"));
    preview_->setAccessibleName(QStringLiteral("Picture preview"));
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({160, 440});
    layout->addWidget(splitter, 1);

    auto* statusBar = new QStatusBar(this);
    statusBar->setObjectName(QStringLiteral("PicsStatusBar"));
    statusBar->setSizeGripEnabled(false);
    status_ = new QLabel(statusBar);
    status_->setObjectName(QStringLiteral("PicsStatus"));
    status_->setAccessibleName(QStringLiteral("Status"));
    statusBar->addWidget(status_, 1);
    layout->addWidget(statusBar);

    buildToolBar();
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

void PicsTab::buildToolBar() {
    QToolBar& bar = *toolBar_;
    Dialogs& dialogs = services_.dialogs;
    const auto add = [&](CommandIcon icon, const char* hint, const char* name,
                         void (PicsTab::*handler)()) {
        addToolCommand(bar, dialogs, icon, hint, name, this, handler);
    };
    add(CommandIcon::Clear, "Clear", "PicsClear", &PicsTab::ClearClick);
    add(CommandIcon::Open, "Open...", "PicsOpen", &PicsTab::OpenClick);
    add(CommandIcon::Save, "Save", "PicsSave", &PicsTab::SaveClick);
    add(CommandIcon::SaveAs, "Save As...", "PicsSaveAs", &PicsTab::SaveAsClick);
    bar.addSeparator();
    add(CommandIcon::Refresh, "Refresh", "PicsRefresh", &PicsTab::refillLists);
    bar.addSeparator();
    add(CommandIcon::LargeView, "Large View", "PicsLargeView", &PicsTab::LargeViewClick);
    add(CommandIcon::SmallView, "Small View", "PicsSmallView", &PicsTab::SmallViewClick);
    bar.addSeparator();
    addToolCommand(bar, dialogs, CommandIcon::Options, QStringLiteral("Options..."), "PicsOptions",
                   [this] { emit optionsRequested(); });
}

QString PicsTab::folderOf(PictureListsPanel::Kind kind) const {
    static constexpr PrefPath folders[] = {PrefPath::Gif, PrefPath::Bmp, PrefPath::Jpg};
    return preferences_.path(folders[static_cast<std::size_t>(kind)]);
}

void PicsTab::refillLists() {
    for (auto kind :
         {PictureListsPanel::Kind::Gif, PictureListsPanel::Kind::Bmp, PictureListsPanel::Kind::Jpg})
        listPanel_->refill(kind, folderOf(kind));
}

void PicsTab::setListsStyle(ListStyle style) {
    listPanel_->setListsStyle(style);
}

void PicsTab::showPicture(const QString& path) {
    loadPreview(path);
}

void PicsTab::showStatus(const QString& text) {
    status_->setText(text);
}

QString PicsTab::statusText() const {
    return status_->text();
}

void PicsTab::loadPreview(const QString& path) {
    WaitCursor wait;
    preview_->loadFromFile(toLocal(path));
}

void PicsTab::makeCurrent(const QString& path) {
    currentPicture_->setEditText(path);
    currentPicture_->setToolTip(QString()); // it named the output of a conversion
    historyAdd_->trigger();
    // The arrow keys step through the history from the entry shown.
    if (const int entry =
            currentPicture_->findText(path, Qt::MatchExactly | Qt::MatchCaseSensitive);
        entry >= 0)
        currentPicture_->setCurrentIndex(entry);
}

void PicsTab::ListViewClick(PictureListsPanel::Kind kind, const QString& caption) {
    if (caption.isEmpty())
        return;
    const QString path = folderOf(kind) + QLatin1Char('/') + caption;
    loadPreview(path);
    makeCurrent(path);
    showStatus(QStringLiteral("Image Size: ") + QString::number(preview_->height()) +
               QStringLiteral("h x ") + QString::number(preview_->width()) + QStringLiteral("w"));
}

void PicsTab::ComboBox6Select(int index) {
    loadPreview(currentPicture_->itemText(index));
}

void PicsTab::ClearClick() {
    preview_->clear();
}

void PicsTab::OpenClick() {
    if (const std::optional<QString> path = services_.dialogs.openPicture()) {
        loadPreview(*path);
        makeCurrent(*path);
    }
}

void PicsTab::SaveClick() {
    const QString path = currentPicture_->currentText();
    if (path.isEmpty() || !services_.dialogs.confirm(QStringLiteral("Save File as ") + path))
        return;
    preview_->saveToFile(toLocal(path));
    refillLists();
}

void PicsTab::SaveAsClick() {
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

void PicsTab::LargeViewClick() {
    listPanel_->setShownListStyle(ListStyle::Large);
}

void PicsTab::SmallViewClick() {
    listPanel_->setShownListStyle(ListStyle::Small);
}

void PicsTab::convertPicture(ConversionDirection direction) {
    WaitCursor wait;
    showStatus(QString());
    const QString output = QString::fromLatin1(conversionOutputName(direction));
    kelmor::convertPicture(direction, toLocal(currentPicture_->currentText()), toLocal(output),
                           [this] { preview_->clear(); });
    preview_->loadFromFile(toLocal(output));
    currentPicture_->setEditText(output);
    currentPicture_->setToolTip(QDir::current().absoluteFilePath(output));
    showStatus(QStringLiteral("Status: Image Converted."));
}

} // namespace kelmor
