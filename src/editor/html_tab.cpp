#include "editor/html_tab.h"

#include "editor/editor_text_box.h"
#include "prefs/preferences.h"

#include <QComboBox>
#include <QSplitter>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace kelmor {

HtmlTab::HtmlTab(Services& services, QWidget* parent) : QWidget(parent), services_(services) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* fileBar = new QToolBar(this);
    currentFile_ = new QComboBox(fileBar);
    currentFile_->setObjectName(QStringLiteral("ComboBox2"));
    currentFile_->setEditable(true);
    currentFile_->setInsertPolicy(QComboBox::NoInsert);
    currentFile_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    fileBar->addWidget(currentFile_);
    layout->addWidget(fileBar);

    auto* splitter = new QSplitter(this);
    auto* lists = new QTabWidget(splitter);
    lists->setDocumentMode(true);
    listPanel_ = lists;
    editor_ = new EditorTextBox(splitter);
    splitter->setStretchFactor(1, 1);
    layout->addWidget(splitter, 1);
}

void HtmlTab::attachPreferences(const Preferences& preferences) { preferences_ = &preferences; }

void HtmlTab::refillLists() {}

void HtmlTab::setListsStyle(ListStyle) {}

} // namespace kelmor
