#include "project/projects_tab.h"

#include "prefs/preferences.h"

#include <QAction>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace kelmor {

ProjectsTab::ProjectsTab(Services& services, PageOutput output, QWidget* parent)
    : QWidget(parent), services_(services), output_(output) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    toolBar_ = new QToolBar(this);
    toolBar_->setIconSize(QSize(32, 32));
    layout->addWidget(toolBar_);
    layout->addStretch(1);

    auto makeAction = [this](QStyle::StandardPixmap icon, const QString& hint) {
        auto* action = new QAction(style()->standardIcon(icon), hint, this);
        action->setToolTip(hint);
        return action;
    };
    newAction_ = makeAction(QStyle::SP_FileIcon, QStringLiteral("New Button"));
    openAction_ = makeAction(QStyle::SP_DialogOpenButton, QStringLiteral("Open..."));
    saveAction_ = makeAction(QStyle::SP_DialogSaveButton, QStringLiteral("Save"));
    saveAsAction_ = makeAction(QStyle::SP_DriveFDIcon, QStringLiteral("Save As..."));
    saveAction_->setEnabled(false);
    saveAsAction_->setEnabled(false);
    toolBar_->addAction(newAction_);
    toolBar_->addSeparator();
    toolBar_->addAction(openAction_);
    toolBar_->addAction(saveAction_);
    toolBar_->addAction(saveAsAction_);
    toolBar_->addSeparator();
    auto* options = toolBar_->addAction(style()->standardIcon(QStyle::SP_FileDialogDetailedView),
                                        QStringLiteral("Options..."));
    connect(options, &QAction::triggered, this, &ProjectsTab::optionsRequested);
    toolBar_->addSeparator();
    auto* sounds = toolBar_->addAction(style()->standardIcon(QStyle::SP_MediaVolume),
                                       QStringLiteral("Play/Record Sounds..."));
    connect(sounds, &QAction::triggered, this, &ProjectsTab::soundsRequested);
}

void ProjectsTab::attachPreferences(const Preferences& preferences) {
    preferences_ = &preferences;
}

void ProjectsTab::setProjectsFolder(const QString&) {}

void ProjectsTab::refillProjectList() {}

void ProjectsTab::updateButtonCount() {}

void ProjectsTab::setProjectListStyle(ListStyle) {}

} // namespace kelmor
