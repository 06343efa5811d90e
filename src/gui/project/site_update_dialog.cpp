#include "project/site_update_dialog.h"

#include "site/site_report.h"
#include "ui/accessible_name.h"
#include "ui/qt_text.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace kelmor {

SiteUpdateDialog::SiteUpdateDialog(const QString& site, std::span<const PlannedPage> plan,
                                   QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("SiteUpdateDialog"));
    setWindowTitle(QStringLiteral("Update Site"));
    auto* layout = new QVBoxLayout(this);
    // The folder on a label of its own: a "&" in it would make a mnemonic of a caption.
    auto* folder = new QLabel(site, this);
    folder->setObjectName(QStringLiteral("SiteFolder"));
    folder->setTextFormat(Qt::PlainText);
    layout->addWidget(folder);
    pages_ = new QListWidget(this);
    pages_->setObjectName(QStringLiteral("SitePages"));
    // The caption's mnemonic moves the focus to the list and names it for screen readers.
    layout->addWidget(fieldCaption(this, QStringLiteral("&Pages of the site:"), pages_));
    layout->addWidget(pages_, 1);

    auto* buttons = new QDialogButtonBox(this);
    buttons->setObjectName(QStringLiteral("SiteUpdateButtons"));
    update_ = buttons->addButton(QStringLiteral("&Update"), QDialogButtonBox::AcceptRole);
    update_->setObjectName(QStringLiteral("SiteUpdateOk"));
    QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setObjectName(QStringLiteral("SiteUpdateCancel"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    fillPages(plan);
    connect(pages_, &QListWidget::itemChanged, this, &SiteUpdateDialog::enableUpdate);
    enableUpdate();
    resize(520, 360);
}

// Every line shows its box, so the list reads alike; only a page that would change can be
// ticked, and Space on the current line ticks it as a click does.
void SiteUpdateDialog::fillPages(std::span<const PlannedPage> plan) {
    for (const PlannedPage& planned : plan) {
        auto* item = new QListWidgetItem(toQt(outcomeLine(planned.outcome)), pages_);
        const bool writes = planned.outcome.status == PageStatus::Updated;
        item->setFlags(writes ? item->flags() | Qt::ItemIsUserCheckable
                              : item->flags() & ~Qt::ItemIsUserCheckable);
        item->setCheckState(writes ? Qt::Checked : Qt::Unchecked);
        paths_.push_back(planned.page.relativePath);
    }
    if (pages_->count() > 0)
        pages_->setCurrentRow(0);
}

void SiteUpdateDialog::enableUpdate() {
    update_->setEnabled(!chosenPages().empty());
}

std::vector<std::string> SiteUpdateDialog::chosenPages() const {
    std::vector<std::string> chosen;
    for (int row = 0; row < pages_->count(); ++row)
        if (pages_->item(row)->checkState() == Qt::Checked)
            chosen.push_back(paths_[static_cast<std::size_t>(row)]);
    return chosen;
}

} // namespace kelmor
