#include "project/image_previews.h"

#include "imaging/picture_view.h"

#include <QLabel>
#include <QScrollArea>
#include <QSplitter>
#include <QVBoxLayout>

namespace kelmor {
namespace {

PictureView* preview(QSplitter& splitter, const char* name) {
    auto* area = new QScrollArea(&splitter);
    area->setBackgroundRole(QPalette::Base);
    QPalette white = area->palette();
    white.setColor(QPalette::Base, Qt::white);
    area->setPalette(white);
    auto* picture = new PictureView(area);
    picture->setObjectName(QString::fromLatin1(name));
    picture->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    area->setWidget(picture);
    area->setWidgetResizable(false);
    return picture;
}

} // namespace

ImagePreviews::ImagePreviews(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(new QLabel(QStringLiteral("Image Preview"), this));
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    normal_ = preview(*splitter, "NormalPreview");
    mouseOver_ = preview(*splitter, "MouseOverPreview");
    layout->addWidget(splitter, 1);
}

} // namespace kelmor
