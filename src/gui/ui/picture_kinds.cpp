#include "ui/picture_kinds.h"

#include "ui/file_icons.h"

namespace kelmor {

const PictureKind* pictureKindOf(PictureFormat format) {
    for (const PictureKind& kind : kPictureKinds) {
        if (kind.format == format)
            return &kind;
    }
    return nullptr;
}

const PictureKind* pictureKindOf(PrefPath folder) {
    for (const PictureKind& kind : kPictureKinds) {
        if (kind.folder == folder)
            return &kind;
    }
    return nullptr;
}

QString listPattern(const PictureKind& kind) {
    return QStringLiteral("*.") +
           QString::fromLatin1(pictureCodec(kind.format)->extensions.front());
}

QIcon pictureFileIcon(const PictureKind& kind) {
    return fileIcon(QColor(kind.band), kind.iconLabel);
}

} // namespace kelmor
