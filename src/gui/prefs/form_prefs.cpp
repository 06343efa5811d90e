#include "prefs/form_prefs.h"

#include "prefs/page_preference.h"
#include "prefs/start_preferences.h"
#include "ui/error_guard.h"
#include "ui/picture_kinds.h"
#include "ui/qt_text.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>

namespace kelmor {
namespace {

// The path rows, in the order of their keys in the file; row N is EditN+1. A picture folder's
// row comes from its kind (kPictureKinds), on the "Pics" tab.
struct PathRow {
    int tab;
    const char* label;
    const char* hint;
};

constexpr int kPicsTab = 1;

constexpr PathRow otherPathRow(PrefPath path) {
    switch (path) {
    case PrefPath::Images:
        return {0, "Project Images:", "Locate images folder"};
    case PrefPath::Sounds:
        return {0, "Sounds:", "Locate sounds folder"};
    case PrefPath::Projects:
        return {0, "Projects:", "Locate projects folder"};
    case PrefPath::HtmlEditor:
        return {0, "Html Editor:", "Locate html editor program"};
    case PrefPath::Html:
        return {2, "Html Files:", "Locate html files folder"};
    case PrefPath::Text:
        return {2, "Text Files:", "Locate text files folder"};
    case PrefPath::Frames:
        return {3, "Bmp Files:", "Locate bmp files folder"};
    default:
        return {-1, "", ""};
    }
}

PathRow pathRow(std::size_t row) {
    const PrefPath path = static_cast<PrefPath>(row);
    if (const PictureKind* kind = pictureKindOf(path))
        return {kPicsTab, kind->folderName, kind->folderHint};
    return otherPathRow(path);
}

struct PathTab {
    const char* title;
    const char* group;
};

constexpr std::array<PathTab, 4> kPathTabs{{
    {"Directories/Apps", "  Directories/Applications  "},
    {"Pics", "  Locate Pics Folders  "},
    {"Html", "  Locate Html/Text Folders  "},
    {"Gifs", "  Locate Bmp Files Folder  "},
}};

QString latin1(const char* text) {
    return QString::fromLatin1(text);
}

QString numbered(const char* name, int number) {
    return latin1(name) + QString::number(number);
}

} // namespace

TFormPrefs::TFormPrefs(Services& services, PreferenceStore& store, PreferenceReactions& reactions,
                       QWidget* parent)
    : QDialog(parent), services_(services), store_(store), reactions_(reactions) {
    setObjectName(QStringLiteral("FormPrefs"));
    setWindowTitle(QStringLiteral("Options"));
    // A fixed border with only the system menu and its close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("PageControl1"));
    for (int tab = 0; tab < static_cast<int>(kPathTabs.size()); ++tab)
        tabs_->addTab(withButtons(buildPathsTab(tab), tab), latin1(kPathTabs[tab].title));
    tabs_->addTab(withButtons(buildViewsTab(), 4), QStringLiteral("Views"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // The store follows the controls from the start, so it holds the paths as the edits show
    // them, and OK writes what the dialog shows.
    connectStore();
    showStore();
    connectReactions();
}

QWidget* TFormPrefs::buildPathsTab(int tab) {
    auto* group = new QGroupBox(latin1(kPathTabs[tab].group));
    auto* grid = new QGridLayout(group);
    int line = 0;
    for (int row = 0; row < static_cast<int>(kPrefPathCount); ++row) {
        const PathRow path = pathRow(static_cast<std::size_t>(row));
        if (path.tab != tab)
            continue;
        auto* edit = new QLineEdit;
        edit->setObjectName(numbered("Edit", row + 1));
        edit->setMinimumWidth(280);
        auto* label = new QLabel(latin1(path.label));
        label->setBuddy(edit);
        auto* browse = new QToolButton;
        browse->setObjectName(numbered("SpeedButton", row + 1));
        browse->setText(QStringLiteral("..."));
        browse->setToolTip(latin1(path.hint));
        browse->setAccessibleName(browse->toolTip());
        connect(browse, &QToolButton::clicked, this,
                guarded(services_.dialogs, [this, row] { BrowseClick(row); }));
        grid->addWidget(label, line, 0);
        grid->addWidget(edit, line, 1);
        grid->addWidget(browse, line, 2);
        edits_[static_cast<std::size_t>(row)] = edit;
        ++line;
    }
    grid->setRowStretch(line, 1);
    return group;
}

QGroupBox* TFormPrefs::buildStyleGroup(const QString& title, const char* name, StylePair& pair) {
    auto* group = new QGroupBox(title);
    auto* layout = new QVBoxLayout(group);
    // Each pair sits in its own group box, so its two buttons exclude each other.
    pair.large = new QRadioButton(QStringLiteral("Large Icons"));
    pair.large->setObjectName(latin1("Radio") + latin1(name) + QStringLiteral("Large"));
    pair.small = new QRadioButton(QStringLiteral("Small Icons"));
    pair.small->setObjectName(latin1("Radio") + latin1(name) + QStringLiteral("Small"));
    layout->addWidget(pair.large);
    layout->addWidget(pair.small);
    return group;
}

QWidget* TFormPrefs::buildViewsTab() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->addWidget(buildStyleGroup(QStringLiteral("Projects"), "Projects", projects_), 0, 0);
    grid->addWidget(buildStyleGroup(QStringLiteral("Pics"), "Pics", pics_), 0, 1);
    grid->addWidget(buildStyleGroup(QStringLiteral("Sounds"), "Sounds", sounds_), 0, 2);
    grid->addWidget(buildStyleGroup(QStringLiteral("Html"), "Html", html_), 1, 0);

    auto* windows = new QGroupBox(QStringLiteral("Windows"));
    auto* windowsLayout = new QVBoxLayout(windows);
    htmlPanel_ = new QCheckBox(QStringLiteral("Html"));
    htmlPanel_->setObjectName(QStringLiteral("CheckHtml"));
    picsPanel_ = new QCheckBox(QStringLiteral("Pics"));
    picsPanel_->setObjectName(QStringLiteral("CheckPics"));
    windowsLayout->addWidget(htmlPanel_);
    windowsLayout->addWidget(picsPanel_);
    grid->addWidget(windows, 1, 1);

    auto* projectsBar = new QGroupBox(QStringLiteral("Projects"));
    auto* projectsBarLayout = new QVBoxLayout(projectsBar);
    toolBar_ = new QCheckBox(QStringLiteral("ToolBar"));
    toolBar_->setObjectName(QStringLiteral("CheckToolBar"));
    projectsBarLayout->addWidget(toolBar_);
    projectsBarLayout->addStretch();
    grid->addWidget(projectsBar, 1, 2);
    return page;
}

QWidget* TFormPrefs::withButtons(QWidget* content, int tab) {
    auto* page = new QWidget;
    page->setObjectName(numbered("TabSheet", tab + 1));
    auto* ok = new QPushButton(QStringLiteral("&OK"));
    ok->setObjectName(numbered("OkButton", tab + 1));
    auto* cancel = new QPushButton(QStringLiteral("C&ancel"));
    cancel->setObjectName(numbered("CancelButton", tab + 1));
    connect(ok, &QPushButton::clicked, this,
            guarded(services_.dialogs, [this] { OKButtonClick(); }));
    connect(cancel, &QPushButton::clicked, this,
            guarded(services_.dialogs, [this] { CancelButtonClick(); }));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(content);
    layout->addLayout(buttons);
    return page;
}

void TFormPrefs::connectStore() {
    for (std::size_t row = 0; row < edits_.size(); ++row)
        connect(edits_[row], &QLineEdit::textChanged, this, [this, row](const QString& text) {
            store_.setPath(static_cast<PrefPath>(row), text);
        });
    for (auto [box, key] : flagBoxes())
        connect(box, &QCheckBox::toggled, this,
                [this, key = key](bool checked) { store_.setFlag(key, checked); });
    for (auto [pair, key] : stylePairs())
        for (QRadioButton* radio : {pair->large, pair->small})
            connect(radio, &QRadioButton::toggled, this,
                    [this, pair = pair, key = key] { store_.setListStyle(key, styleOf(*pair)); });
}

// A check box reacts on every change, a radio button when it becomes checked.
void TFormPrefs::connectReactions() {
    auto onChange = [this](QAbstractButton* control, std::function<void(bool)> react) {
        connect(control, &QAbstractButton::toggled, this,
                [this, react = std::move(react)](bool checked) {
                    runGuarded(services_.dialogs, [&] { react(checked); });
                });
    };
    PreferenceReactions& main = reactions_;
    for (auto [box, flag] : flagBoxes())
        onChange(box, [&main, flag = flag](bool shown) { main.showPart(flag, shown); });
    for (auto [pair, lists] : stylePairs())
        for (auto [radio, style] :
             {std::pair{pair->large, ListStyle::Large}, std::pair{pair->small, ListStyle::Small}})
            onChange(radio, [&main, lists = lists, style = style](bool checked) {
                if (checked)
                    reactToStyle(main, lists, style);
            });
}

std::array<std::pair<QCheckBox*, PrefFlag>, kPrefFlagCount> TFormPrefs::flagBoxes() const {
    return {{{htmlPanel_, PrefFlag::HtmlPanel},
             {picsPanel_, PrefFlag::PicsPanel},
             {toolBar_, PrefFlag::ProjectsToolBar}}};
}

std::array<std::pair<TFormPrefs::StylePair*, PrefLists>, kPrefListsCount> TFormPrefs::stylePairs() {
    return {{{&projects_, PrefLists::Projects},
             {&pics_, PrefLists::Pics},
             {&sounds_, PrefLists::Sounds},
             {&html_, PrefLists::Html}}};
}

void TFormPrefs::showStore() {
    for (std::size_t row = 0; row < kPrefPathCount; ++row)
        edits_[row]->setText(store_.typedPath(static_cast<PrefPath>(row)));
    for (auto [box, key] : flagBoxes())
        box->setChecked(store_.flag(key));
    for (auto [pair, key] : stylePairs())
        if (const std::optional<ListStyle> style = store_.listStyle(key))
            (*style == ListStyle::Small ? pair->small : pair->large)->setChecked(true);
}

void TFormPrefs::showThumbnailViews() {
    const std::string configDir = toLocal(services_.paths.configDir);
    for (auto [pair, key] : stylePairs()) {
        const std::optional<PrefChoice> thumbnails = thumbnailChoice(key);
        if (!thumbnails || !loadThumbnailView(configDir, *thumbnails, key))
            continue;
        // Radio buttons of one group only untick together while they are not exclusive.
        for (QRadioButton* radio : {pair->large, pair->small}) {
            radio->setAutoExclusive(false);
            radio->setChecked(false);
            radio->setAutoExclusive(true);
        }
    }
}

void TFormPrefs::Save() {
    savePreferences(toLocal(services_.paths.configDir), store_);
}

void TFormPrefs::OKButtonClick() {
    // A failed write stops here with the error shown, and the dialog stays open.
    Save();
    reactions_.foldersChanged();
    accept();
}

void TFormPrefs::CancelButtonClick() {
    reject();
}

void TFormPrefs::BrowseClick(int row) {
    QLineEdit* edit = edits_[static_cast<std::size_t>(row)];
    std::optional<QString> chosen = static_cast<PrefPath>(row) == PrefPath::HtmlEditor
                                        ? services_.dialogs.openFile(QString(), edit->text())
                                        : services_.dialogs.pickFolder(edit->text());
    if (chosen)
        edit->setText(*chosen);
}

std::optional<ListStyle> TFormPrefs::styleOf(const StylePair& pair) {
    if (pair.small->isChecked())
        return ListStyle::Small;
    if (pair.large->isChecked())
        return ListStyle::Large;
    return std::nullopt;
}

} // namespace kelmor
