#include "app/about_form.h"

#include "base/product.h"
#include "ui/drawn_icons.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>

namespace kelmor {

TAboutForm::TAboutForm(Services& services, QWidget* parent)
    : QDialog(parent, Qt::Tool), services_(services) {
    setObjectName(QStringLiteral("AboutForm"));
    setWindowTitle(QStringLiteral("About"));

    auto* icon = new QLabel(this);
    icon->setPixmap(drawnIcon(DrawnIcon::Program).pixmap(32));

    auto* text = new QLabel(this);
    text->setObjectName(QStringLiteral("AboutText"));
    text->setText(QStringLiteral("Kelmor version %1\nRollover buttons for web pages\n"
                                 "Copyright \u00A9 2026 the Kelmor developers")
                      .arg(QString::fromLatin1(product::kVersion)));

    const QString address = QString::fromLatin1(product::kWebAddress);
    auto* link = new QLabel(this);
    link->setObjectName(QStringLiteral("WebLink"));
    link->setStyleSheet(QStringLiteral("color: blue; text-decoration: underline;"));
    link->setCursor(Qt::PointingHandCursor);
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    link->setText(QStringLiteral("<a href=\"%1\" style=\"color: blue;\">%1</a>").arg(address));
    connect(link, &QLabel::linkActivated, this,
            [this](const QString& target) { services_.shell.open(QUrl(target)); });

    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setFlat(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    auto* lines = new QVBoxLayout;
    lines->addWidget(text);
    lines->addWidget(link);
    top->addLayout(lines);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(ok, 0, Qt::AlignRight);
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

} // namespace kelmor
