#include "ui/file_drop.h"

#include "imaging/picture.h"
#include "ui/qt_text.h"

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace kelmor {
namespace {

class FileDropFilter : public QObject {
public:
    // anywhere: the filter watches the whole application, and takes the drags of `target`'s
    // window only, for which accepts_ says yes; others go on as if there were no filter.
    FileDropFilter(QWidget& target, std::function<bool(const QString&)> accepts,
                   std::function<void(const QStringList&)> dropped, bool anywhere)
        : QObject(&target), target_(target), accepts_(std::move(accepts)),
          dropped_(std::move(dropped)), anywhere_(anywhere) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
            return QObject::eventFilter(watched, event);
        auto* drop = static_cast<QDropEvent*>(event);
        const QStringList files = droppedFiles(*drop->mimeData());
        if (files.isEmpty())
            return QObject::eventFilter(watched, event);
        if (anywhere_) {
            auto* widget = qobject_cast<QWidget*>(watched);
            if (widget == nullptr || widget->window() != &target_ || !accepts_(files.first()))
                return QObject::eventFilter(watched, event);
        } else if (!accepts_(files.first())) {
            drop->ignore();
            return true;
        }
        drop->acceptProposedAction();
        if (type == QEvent::Drop)
            dropped_(files);
        return true;
    }

private:
    QWidget& target_;
    std::function<bool(const QString&)> accepts_;
    std::function<void(const QStringList&)> dropped_;
    bool anywhere_;
};

} // namespace

QStringList droppedFiles(const QMimeData& data) {
    QStringList files;
    if (!data.hasUrls())
        return files;
    for (const QUrl& url : data.urls())
        if (url.isLocalFile())
            files << url.toLocalFile();
    return files;
}

bool isPictureFile(const QString& path) {
    return pictureFormatOf(toLocal(path)) != PictureFormat::None;
}

void acceptFileDrops(QWidget& target, std::function<bool(const QString&)> accepts,
                     std::function<void(const QStringList&)> dropped) {
    target.setAcceptDrops(true);
    target.installEventFilter(
        new FileDropFilter(target, std::move(accepts), std::move(dropped), false));
}

void acceptFileDropsAnywhere(QWidget& window, std::function<bool(const QString&)> accepts,
                             std::function<void(const QStringList&)> dropped) {
    window.setAcceptDrops(true);
    QCoreApplication::instance()->installEventFilter(
        new FileDropFilter(window, std::move(accepts), std::move(dropped), true));
}

} // namespace kelmor
