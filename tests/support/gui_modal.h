#pragma once

// Answering modal windows in GUI tests: exec() blocks the test, so the answer is scheduled first.
#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace lexora::test {

// Runs act with the modal window as soon as one is shown (checked every 10 ms, for at most 5 s).
inline void whenModal(std::function<void(QWidget *)> act, int triesLeft = 500)
{
    QTimer::singleShot(10, [act = std::move(act), triesLeft]() mutable {
        if (QWidget *modal = QApplication::activeModalWidget(); modal && modal->isVisible())
            act(modal);
        else if (triesLeft > 0)
            whenModal(std::move(act), triesLeft - 1);
    });
}

} // namespace lexora::test
