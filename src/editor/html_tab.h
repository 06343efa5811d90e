#pragma once

#include "app/services.h"

#include <QWidget>

class QComboBox;
class QToolBar;

namespace kelmor {

class EditorTextBox;
class Preferences;
enum class ListStyle;

// The "Html" tab: tool bars, the Html and Text file lists, the editor text box.
class HtmlTab : public QWidget {
    Q_OBJECT
public:
    explicit HtmlTab(Services& services, QWidget* parent = nullptr);

    void attachPreferences(const Preferences& preferences);

    EditorTextBox& editor() { return *editor_; }
    QComboBox& currentFileBox() { return *currentFile_; }
    // The left panel with the Html and Text lists, shown and hidden by "&Windows".
    QWidget& listPanel() { return *listPanel_; }
    void refillLists();
    void setListsStyle(ListStyle style);

signals:
    void optionsRequested();

private:
    Services& services_;
    const Preferences* preferences_ = nullptr;
    EditorTextBox* editor_ = nullptr;
    QComboBox* currentFile_ = nullptr;
    QWidget* listPanel_ = nullptr;
};

} // namespace kelmor
