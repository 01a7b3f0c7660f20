#pragma once

#include <QList>
#include <QString>

#include <functional>

class QImage;
class QPixmap;
class QWidget;

namespace lexora {

// Takes the pictures of the user's guide from the program's real windows: waits until a window
// is fully drawn (its page displays included), grabs it together with the pop-ups shown over it
// (menus, balloons) and writes it as a PNG of at most 1000 pixels' width.
class Camera {
public:
    explicit Camera(QString folder);

    // Lets the event loop run for ms.
    static void settle(int ms);
    // Lets the event loop run until condition holds; false when it still does not after
    // timeoutMs.
    static bool waitFor(const std::function<bool()> &condition, int timeoutMs);

    // FOLDER/name.png from window and, painted over it where they stand on the screen, overlays.
    void shoot(QWidget *window, const QString &name, const QList<QWidget *> &overlays = {});
    // Runs open, which shows a modal window and returns once it is closed. Meanwhile prepare
    // readies that window, its picture is taken, and it is closed.
    void shootModal(const QString &name, const std::function<void()> &open,
                    const std::function<void(QWidget *)> &prepare = {});
    // Reports a failure; the program then ends with a non-zero status.
    void fail(const QString &message);

    bool failed() const { return m_failed; }

private:
    // Waits until window is on the screen, every page display in it shows a drawn page and two
    // grabs in a row are equal. False after a time-out.
    bool waitUntilDrawn(QWidget *window);
    static bool pagesDrawn(QWidget *window, const QImage &picture);
    static QPixmap compose(QWidget *window, const QList<QWidget *> &overlays);

    QString m_folder;
    bool m_failed = false;
};

} // namespace lexora
