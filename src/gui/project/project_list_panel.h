#pragma once

#include "ui/services.h"
#include "ui/tool_commands.h"

#include <QWidget>
#include <memory>

class QLineEdit;
class QListWidget;

namespace kelmor {

enum class ListStyle;

// The project list: the ".kxq" files of the projects folder, with its tool bar ("Large View",
// "Small View", the projects folder field, "Refresh", "Buttons Folder"). A click on an item
// chooses that project.
class ProjectListPanel : public QWidget {
    Q_OBJECT
public:
    explicit ProjectListPanel(Dialogs& dialogs, QWidget* parent = nullptr);
    ~ProjectListPanel() override;

    const CommandSet& commands() const { return *commands_; }
    QString folder() const;
    // Fills the folder field only; the list follows at the next refill.
    void setFolder(const QString& folder);
    void refill();
    void setListStyle(ListStyle style);

signals:
    // The chosen item's file: the folder, a separator, the caption and ".kxq"; and its name.
    void projectChosen(const QString& path, const QString& fileName);

private:
    void LargeViewClick();
    void SmallViewClick();
    void chooseProject();
    void pickFolder();

    Dialogs& dialogs_;
    std::unique_ptr<CommandSet> commands_;
    QLineEdit* folder_ = nullptr;
    QListWidget* list_ = nullptr;
};

} // namespace kelmor
