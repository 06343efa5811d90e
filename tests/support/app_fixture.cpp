#include "app_fixture.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace kelmor::test {

void AppFixture::SetUp() {
    ASSERT_TRUE(config_.isValid() && data_.isValid() && work_.isValid() && thumbnails_.isValid());
    previousDir_ = QDir::currentPath();
    QDir::setCurrent(work_.path());
    services = std::make_unique<Services>(
        Services{dialogs, shell, help,
                 AppPaths{config_.path(), data_.path(), work_.path(), thumbnails_.path()}});
}

void AppFixture::TearDown() {
    app.reset();
    QDir::setCurrent(previousDir_);
}

void AppFixture::start() {
    app = std::make_unique<KelmorApp>(*services);
    app->show();
}

QImage AppFixture::seenOnScreen(const QWidget& view) {
    return view.parentWidget()->grab().toImage().copy(view.geometry());
}

bool AppFixture::dropFiles(QWidget& target, const QStringList& files) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& file : files)
        urls << QUrl::fromLocalFile(file);
    data.setUrls(urls);
    const QPointF at = QRectF(target.rect()).center();
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &drop);
    return drop.isAccepted();
}

QString AppFixture::writeFile(const QString& name, const QByteArray& bytes) const {
    const QString path = work_.path() + QLatin1Char('/') + name;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

} // namespace kelmor::test
