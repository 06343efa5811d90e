#pragma once

#include "generator/page_kinds.h"
#include "project/button_columns.h"
#include "ui/services.h"
#include "ui/tab_links.h"

#include <QTabWidget>
#include <array>
#include <optional>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QToolButton;

namespace kelmor {

class BuiltOnShow;
class ImagePreviews;
class PictureView;

// The two button tabs. The sound tab's add also writes the "Sound" cell, and its Build asks for
// a page that plays the buttons' sounds.
enum class ButtonTab { Plain, Sound };

// One Button list row as text, column by column.
using ButtonRow = std::array<QString, ButtonColumn::Count>;
// What an add writes into the current row: the columns it leaves alone are empty optionals.
using ButtonRowUpdate = std::array<std::optional<QString>, ButtonColumn::Count>;

// The editor tabs "Plain But", "Sound But" and "Page": the fields that feed the Button list
// and the page settings, their add and Build buttons and their pick buttons.
class ButtonEditorTabs : public QTabWidget {
    Q_OBJECT
public:
    // A picked button picture is shown in the matching preview of previews, a picked
    // background picture in the picture browser.
    ButtonEditorTabs(Dialogs& dialogs, ImagePreviews& previews, PictureBrowser& pictureBrowser,
                     QWidget* parent = nullptr);

    // The plain add leaves the "Sound" cell alone; the sound add writes every column.
    ButtonRowUpdate plainRow() const;
    ButtonRowUpdate soundRow();
    // Recall: copies a row into both button tabs and the Page tab. The colour swatch and the
    // Breaks/Spaces boxes keep their values.
    void recall(const ButtonRow& row);
    // Only the Page tab's part of Recall: BG Image, BG Color, Page Title and Target Page.
    void recallPage(const ButtonRow& row);
    // New Button: empties every field but "Target Page:" and resets the colour swatch.
    void clearFields();
    // Every field's text, in one fixed order, and the fields given such texts back (New
    // Button's Undo).
    QStringList fieldTexts();
    void setFieldTexts(const QStringList& texts);
    // Puts a designed button's picture names, size and link into the page's fields, and its
    // target frame when it has one.
    void setPictures(ButtonTab tab, const DesignedButton& button);

    QString pageTitle() const;
    QString bgColor() const;
    QString bgImage() const;
    QString targetPage() const;
    // The Breaks/Spaces text of the tab whose Build asks for a page of that kind.
    QString separator(PageKind kind);
    // The Page tab's "HTML5 page" box: with it both Builds ask for an HTML5 page. Setting it
    // does not signal html5PageToggled.
    bool html5Page() const;
    void setHtml5Page(bool ticked);

signals:
    // "Add ... Button to List:" on that tab.
    void addClicked(ButtonTab tab);
    // "Design...", beside the picture pickers of that tab.
    void designClicked(ButtonTab tab);
    // Build on a button tab: the kind of page it asks for, with the "HTML5 page" box as it
    // stands; Build Menu Page: the menu page.
    void buildClicked(PageKind kind);
    // The user ticked or cleared "HTML5 page".
    void html5PageToggled(bool ticked);

private:
    struct PictureFields {
        QLineEdit* name;
        QLineEdit* width;
        QLineEdit* height;
    };
    struct ButtonFields {
        PictureFields normal;
        PictureFields mouseOver;
        QLineEdit* link;
        QComboBox* frame;
        QComboBox* breaks;
    };

    // Names: normal name, width, height; mouse-over name, width, height; link; frame; breaks.
    void buildButtonTab(QWidget& page, ButtonTab tab, ButtonFields& fields,
                        const std::array<const char*, 9>& names);
    QToolButton* designButton(QWidget& page, ButtonTab tab);
    void addSoundFileRow(QGridLayout& grid, int row);
    void addListButtons(QGridLayout& grid, int row, ButtonTab tab);
    QToolButton* buildMenuPageButton(QWidget& page);
    // The fields of that tab; the sound tab's are built first if need be.
    ButtonFields& fieldsOf(ButtonTab tab);
    // The sound button's fields, built first if their tab has not been opened yet.
    ButtonFields& soundFields();
    // The line edits and drop-down boxes of the three tabs, in their order of creation.
    QList<QWidget*> textFields();
    QWidget* buildPageTab();
    PictureFields pictureRow(QGridLayout& grid, int row, const QString& caption,
                             const QString& pickName, const char* const* names,
                             PictureView& preview);
    void pickPicture(const PictureFields& fields, PictureView& preview);
    // A picked or dropped picture: shown in the preview, its name and size in the fields.
    void takePicture(const PictureFields& fields, PictureView& preview, const QString& path);
    void takeBgImage(const QString& path);
    ButtonRowUpdate rowFrom(const ButtonFields& fields) const;
    void pickBgImage();
    void pickSound();
    void pickColor();
    void pickTargetPage();

    Dialogs& dialogs_;
    ImagePreviews& previews_;
    PictureBrowser& pictureBrowser_;
    ButtonFields plain_{};
    ButtonFields sound_{};
    BuiltOnShow* soundPage_ = nullptr;
    QLineEdit* soundFile_ = nullptr;
    QLineEdit* bgImage_ = nullptr;
    QLineEdit* bgColor_ = nullptr;
    QLabel* swatch_ = nullptr;
    QLineEdit* title_ = nullptr;
    QLineEdit* target_ = nullptr;
    QCheckBox* html5Page_ = nullptr;
};

} // namespace kelmor
