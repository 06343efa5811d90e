#include "pictures/pics_tab.h"

#include "imaging/picture_view.h"
#include "ui/qt_text.h"

#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kelmor {

PicsTab::PicsTab(Services& services, const PreferenceStore& preferences, QWidget* parent)
    : TabPage(parent), services_(services), preferences_(preferences) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* splitter = new QSplitter(this);
    auto* lists = new QTabWidget(splitter);
    lists->setDocumentMode(true);
    for (const char* kind : {"GIF", "BMP", "JPG"})
        lists->addTab(new QWidget, QString::fromLatin1(kind));
    listPanel_ = lists;
    preview_ = addPictureArea(*splitter, QStringLiteral("Image3"));
    splitter->setStretchFactor(1, 1);
    layout->addWidget(splitter, 1);
    statusLine_ = new QStatusBar(this);
    layout->addWidget(statusLine_);
}

void PicsTab::refillLists() {}

void PicsTab::setListsStyle(ListStyle) {}

void PicsTab::showPicture(const QString& path) {
    preview_->loadFromFile(toLocal(path));
}

void PicsTab::showStatus(const QString& text) {
    statusLine_->showMessage(text);
}

} // namespace kelmor
