#include "project/image_previews.h"

#include "imaging/picture_view.h"

#include <QLabel>
#include <QSplitter>
#include <QVBoxLayout>

namespace kelmor {

ImagePreviews::ImagePreviews(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(new QLabel(QStringLiteral("Image Preview"), this));
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("PreviewsSplitter"));
    normal_ = addPictureArea(*splitter, QStringLiteral("NormalPreview"),
                             QStringLiteral("Normal Button preview"));
    mouseOver_ = addPictureArea(*splitter, QStringLiteral("MouseOverPreview"),
                                QStringLiteral("Mouse Over preview"));
    layout->addWidget(splitter, 1);
}

} // namespace kelmor
