#pragma once

#include <QObject>

namespace lexora {

// The hints of the whole program: the hint of the control or menu entry under the mouse goes to
// the status bar named "StatusBar" of the active window, if it has one, whichever window the
// control belongs to. Made once, as the application's event filter.
class StatusHints : public QObject {
    Q_OBJECT

public:
    explicit StatusHints(QObject *parent = nullptr);
    ~StatusHints() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace lexora
