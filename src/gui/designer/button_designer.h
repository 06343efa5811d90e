#pragma once

#include "prefs/preference_store.h"
#include "ui/services.h"
#include "ui/tab_links.h"

#include <QDialog>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QTimer;
class QVBoxLayout;

namespace kelmor {

struct ButtonStyle;
struct StyleKey;
class ButtonTextTable;
enum class ButtonFormat;

// The button designer: a style's values, a list of the buttons' texts and links, the picture kind
// and a preview of the menu, whose buttons change to their mouse-over picture under the mouse.
// "Make Buttons" writes the pictures of every button into the Project Images folder and hands
// them to the Button list, or to one button's fields when a "Design..." button opened it. GIF
// pictures are put onto the page's BG Color (white when it holds no #RRGGBB colour). The
// pictures come from the same core as kelmor-cli button, so both give the same pixels.
class TButtonDesigner : public QDialog {
    Q_OBJECT
public:
    TButtonDesigner(Services& services, const PreferenceStore& preferences, DesignedButtons& target,
                    QWidget* parent = nullptr);
    ~TButtonDesigner() override;

    // Whether Make Buttons makes only the first row's button and fills one button's fields.
    void setOneButton(bool one);
    bool oneButton() const { return oneButton_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The control of one style key: a line edit, a check box or a drop-down box.
    struct StyleField {
        const StyleKey* key;
        QWidget* control;
    };

    QWidget* buildStyleValues();
    void addStyleBox(QGridLayout& grid, int& row);
    QWidget* buildMenuSide();
    QWidget* buildContrastRow(QWidget* parent);
    void addTextList(QGridLayout& grid);
    void addOutputRow(QGridLayout& grid, int row);
    QLineEdit* addField(QGridLayout& grid, int row, const QString& caption, const char* name);
    QLineEdit* addColourField(QGridLayout& grid, int row, const QString& caption, const char* name);
    QComboBox* addDropDown(QGridLayout& grid, int row, const QString& caption, const char* name,
                           bool editable);
    QWidget* addStyleField(QGridLayout& grid, int& row, const StyleKey& key, const QString& caption,
                           const char* name);
    void pickColour(QLineEdit& edit);
    void watchChanges();

    std::string stylesFolder() const;
    void fillStyleList(const QString& chosen);
    void chooseStyle(const QString& name);
    void saveStyle();
    void saveStyleAs();
    void showStyle(const ButtonStyle& style);
    // The style the fields hold; a value that is not valid throws Error naming its field.
    ButtonStyle fieldStyle() const;
    ButtonFormat outputFormat() const;

    void schedulePreview();
    void refreshPreview();
    void showContrast(const ButtonStyle& style);
    void makeButtons();

    Services& services_;
    const PreferenceStore& preferences_;
    DesignedButtons& target_;
    bool oneButton_ = false;
    bool showingStyle_ = false;

    QComboBox* styleBox_ = nullptr;
    std::vector<StyleField> fields_; // in the order they are shown
    QHBoxLayout* flagRow_ = nullptr; // the check boxes share one row
    ButtonTextTable* texts_ = nullptr;
    QComboBox* frame_ = nullptr; // the Target Frame of every button made
    QComboBox* format_ = nullptr;
    QCheckBox* doubleScale_ = nullptr;
    QWidget* preview_ = nullptr;
    QVBoxLayout* previewLayout_ = nullptr;
    QLabel* previewNote_ = nullptr;
    std::vector<QLabel*> contrastLabels_; // one a state, in the order of kButtonStates
    QLabel* contrastNote_ = nullptr;
    QTimer* previewTimer_ = nullptr;
};

} // namespace kelmor
