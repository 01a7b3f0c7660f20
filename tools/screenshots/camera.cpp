#include "camera.h"

#include "browser/browser_view.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <memory>

namespace lexora {

namespace {

constexpr int kTimeoutMs = 30000; // a page display under Xvfb takes a few seconds at most
constexpr int kMaxWidth = 1000;

bool onScreen(const QWidget *window)
{
    return window->isVisible() && window->windowHandle() && window->windowHandle()->isExposed();
}

// A page display that has drawn nothing yet is one colour all over.
bool uniform(const QImage &image)
{
    if (image.isNull())
        return true;
    const QRgb first = image.pixel(0, 0);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != first)
                return false;
    return true;
}

} // namespace

Camera::Camera(QString folder) : m_folder(std::move(folder))
{
    // A caret that blinks would make two grabs in a row differ and the pictures vary by chance.
    QApplication::setCursorFlashTime(0);
}

void Camera::settle(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
}

bool Camera::waitFor(const std::function<bool()> &condition, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        settle(20);
    }
    return true;
}

void Camera::fail(const QString &message)
{
    std::fprintf(stderr, "lexora_screenshots: %s\n", qUtf8Printable(message));
    m_failed = true;
}

bool Camera::pagesDrawn(QWidget *window, const QImage &picture)
{
    const QList<BrowserView *> views = window->findChildren<BrowserView *>();
    for (const BrowserView *view : views) {
        if (!view->isVisibleTo(window) || view->size().isEmpty())
            continue;
        const QRect area = QRect(view->mapTo(window, QPoint(0, 0)), view->size()) & picture.rect();
        if (uniform(picture.copy(area)))
            return false;
    }
    return true;
}

bool Camera::waitUntilDrawn(QWidget *window)
{
    if (!waitFor([window] { return onScreen(window); }, kTimeoutMs))
        return false;
    QImage previous;
    return waitFor(
        [&] {
            const QImage now = window->grab().toImage();
            const bool steady = now == previous && pagesDrawn(window, now);
            previous = now;
            if (!steady)
                settle(250);
            return steady;
        },
        kTimeoutMs);
}

QPixmap Camera::compose(QWidget *window, const QList<QWidget *> &overlays)
{
    const QPixmap base = window->grab();
    if (overlays.isEmpty())
        return base;
    const QPoint origin = window->mapToGlobal(QPoint(0, 0));
    QRect area(origin, window->size());
    for (const QWidget *overlay : overlays)
        area |= QRect(overlay->mapToGlobal(QPoint(0, 0)), overlay->size());
    QPixmap canvas(area.size());
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    painter.drawPixmap(origin - area.topLeft(), base);
    for (QWidget *overlay : overlays) {
        const QPoint at = overlay->mapToGlobal(QPoint(0, 0)) - area.topLeft();
        // A shaped window (the balloon) shows on the screen only what its mask lets through.
        painter.setClipping(!overlay->mask().isEmpty());
        if (!overlay->mask().isEmpty())
            painter.setClipRegion(overlay->mask().translated(at));
        painter.drawPixmap(at, overlay->grab());
    }
    return canvas;
}

void Camera::shoot(QWidget *window, const QString &name, const QList<QWidget *> &overlays)
{
    if (!waitUntilDrawn(window)) {
        fail(QStringLiteral("%1: das Fenster wurde nicht fertig gezeichnet").arg(name));
        return;
    }
    for (QWidget *overlay : overlays) {
        if (!waitFor([overlay] { return onScreen(overlay); }, kTimeoutMs)) {
            fail(QStringLiteral("%1: %2 wurde nicht angezeigt").arg(name, overlay->objectName()));
            return;
        }
    }
    settle(100);
    QPixmap picture = compose(window, overlays);
    if (picture.width() > kMaxWidth)
        picture = picture.scaledToWidth(kMaxWidth, Qt::SmoothTransformation);
    const QString file = m_folder + u'/' + name + QStringLiteral(".png");
    // Quality 0 is PNG's strongest compression; the picture itself stays lossless.
    if (!picture.save(file, "PNG", 0)) {
        fail(QStringLiteral("%1 konnte nicht geschrieben werden").arg(file));
        return;
    }
    std::printf("%s\n", qUtf8Printable(file));
}

void Camera::shootModal(const QString &name, const std::function<void()> &open,
                        const std::function<void(QWidget *)> &prepare)
{
    // Runs inside the modal window's own event loop; given up when open returns without one.
    auto abandoned = std::make_shared<bool>(false);
    auto taken = std::make_shared<bool>(false);
    QTimer::singleShot(0, [this, name, prepare, abandoned, taken] {
        if (*abandoned)
            return;
        *taken = true;
        QWidget *modal = nullptr;
        if (!waitFor([&modal] { return (modal = QApplication::activeModalWidget()) != nullptr; },
                     kTimeoutMs)) {
            fail(QStringLiteral("%1: kein Fenster geöffnet").arg(name));
            return;
        }
        if (prepare)
            prepare(modal);
        shoot(modal, name);
        modal->close();
    });
    open();
    if (!*taken) {
        *abandoned = true;
        fail(QStringLiteral("%1: kein Fenster geöffnet").arg(name));
    }
}

} // namespace lexora
