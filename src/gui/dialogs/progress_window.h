#pragma once

#include "support/progress.h"

#include <QElapsedTimer>
#include <QList>
#include <QPointer>
#include <QWidget>

class QLabel;
class QProgressBar;

namespace lexora {

// The progress window ProgressWindow: borderless, on top, centred on the screen, shown during long work
// (load, save, import, ...). Pass it as the lexora::Progress of LoadDatabase/SaveDatabase.
//
// begin() shows it with the text in Label_Info: a running marquee when total is 0, a real fraction
// when total is known; while it is shown the program's other windows are disabled (and cannot be
// closed), and end() enables exactly those again. step() lets pending events run at most every
// 15 ms, so the program stays responsive and repaints without slowing the work. Nested begin/end
// pairs are allowed: the window closes at the outermost end().
//
// It is a window without parent, owned by whoever creates it (the main window keeps it as a
// member): disabling the main window must not disable the progress window too.
class ProgressWindow : public QWidget, public Progress {
    Q_OBJECT
public:
    ProgressWindow();
    ~ProgressWindow() override;

    void begin(const QString &caption, const QString &text, qint64 total) override;
    void step(qint64 done) override;
    void end() override;

    QProgressBar *ProgressBar = nullptr;
    QLabel *Label_Info = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void disableOtherWindows();
    void enableOtherWindows();
    void showFraction(qint64 done);

    QList<QPointer<QWidget>> m_disabled;
    QElapsedTimer m_sinceEvents;
    qint64 m_total = 0;
    int m_depth = 0;
};

} // namespace lexora
