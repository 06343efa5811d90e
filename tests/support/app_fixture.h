#pragma once

#include "app/kelmor_app.h"
#include "test_services.h"

#include <QImage>
#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>

namespace kelmor::test {

// The whole program with scripted services and temporary folders. Preference
// files written into configDir() before start() are loaded at start-up.
class AppFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the five windows and shows the main window.
    void start();

    QString configDir() const { return config_.path(); }
    QString dataDir() const { return data_.path(); }
    QString workDir() const { return work_.path(); }
    // The shared thumbnail cache the program is given, in place of the user's own.
    QString thumbnailRoot() const { return thumbnails_.path(); }
    // Writes a file relative to workDir() and returns its full path.
    QString writeFile(const QString& name, const QByteArray& bytes) const;
    // What the user sees of a picture control: its picture over the area it sits on, at the
    // control's size.
    static QImage seenOnScreen(const QWidget& view);
    // Drops the files on the widget as the file manager does (a text/uri-list drag); true when
    // the widget took both the drag and the drop.
    static bool dropFiles(QWidget& target, const QStringList& files);

    template <class T> T* find(const char* objectName) const;
    // The main window's tab of that class.
    template <class Tab> Tab& tab() const;

    ScriptedDialogs dialogs;
    RecordingShell shell;
    RecordingHelpViewer help;
    std::unique_ptr<Services> services;
    std::unique_ptr<KelmorApp> app;

private:
    QTemporaryDir config_;
    QTemporaryDir data_;
    QTemporaryDir work_;
    QTemporaryDir thumbnails_;
    QString previousDir_;
};

} // namespace kelmor::test

#include "app/main_window.h"
#include "ui/built_on_show.h"
#include "ui/tab_page.h"

template <class T> T* kelmor::test::AppFixture::find(const char* objectName) const {
    // A tab's or a page's controls exist once it has been opened; all count as opened here.
    for (kelmor::TabPage* page : app->mainWindow().tabPages())
        page->ensureBuilt();
    for (auto* page : app->mainWindow().findChildren<kelmor::BuiltOnShow*>())
        page->ensureBuilt();
    T* found = app->mainWindow().findChild<T*>(QString::fromLatin1(objectName));
    EXPECT_NE(found, nullptr) << "no control named " << objectName;
    return found;
}

template <class Tab> Tab& kelmor::test::AppFixture::tab() const {
    for (kelmor::TabPage* page : app->mainWindow().tabPages())
        if (auto* found = qobject_cast<Tab*>(page))
            return *found;
    ADD_FAILURE() << "no tab of class " << Tab::staticMetaObject.className();
    std::abort();
}
