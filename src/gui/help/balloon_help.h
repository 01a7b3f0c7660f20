#pragma once

#include "help/balloon_layout.h"

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <memory>

namespace lexora {

class BalloonWindow;

// TQZBalloonHelp: one balloon-shaped tip with a title, a title icon and a wrapped text that points
// at a control (or at a point of the screen) and hides again on the usual occasions: a click on
// the balloon (through OnClick), a click into the control, the control losing the focus, its
// window closing, hiding or changing activation, and the hide timer. When the control's window
// moves or the control changes size, the balloon follows. It also watches the keyboard of the
// whole application: the help key reports the control under the mouse pointer through OnHelp.
class TQZBalloonHelp : public QObject {
    Q_OBJECT

public:
    enum TTitleIcon { tiNoTitle, tiInfo, tiWarning, tiError };
    enum TPositionMode { pmAbsolute, pmRelative };
    enum THorizontalPositionMode { hpFromLeft, hpFromRight };
    enum TVerticalPositionMode { vpFromTop, hpFromBottom };
    // What Show applies to the balloon.
    enum TUpdateProperty {
        tpText = 0x01,
        tpTitle = 0x02,
        tpPosition = 0x04,
        tpFlags = 0x08,
        tpBackgroundColor = 0x10,
        tpTextColor = 0x20,
        tpVisibility = 0x40,
    };
    Q_DECLARE_FLAGS(TUpdateProperties, TUpdateProperty)

    explicit TQZBalloonHelp(QObject *parent = nullptr);
    ~TQZBalloonHelp() override;

    // Properties. Most take effect at the next Show, as UpdateProperties selects.
    int AutoHideMSec = 0;                      // 0: never hides by itself
    QColor BackgroundColor;                    // invalid: the desktop's tool tip colour
    bool CenterTip = false;
    int HelpKeyCode = Qt::Key_F1;
    THorizontalPositionMode HorizontalPositionMode = hpFromLeft;
    int MaxLineWidth = 0;                      // pixels; 0: no wrapping
    TPositionMode PositionMode = pmAbsolute;
    double PosX = 0;
    double PosY = 0;
    QString Text;                              // lines separated by "\r\n"
    QColor TextColor;                          // invalid: the desktop's tool tip text colour
    QString Title;
    TTitleIcon TitleIcon = tiInfo;
    TUpdateProperties UpdateProperties = {tpText, tpTitle, tpPosition, tpVisibility};
    TVerticalPositionMode VerticalPositionMode = vpFromTop;

    // A balloon or a plain rectangle; changes the shown tip at once.
    bool balloonStyle() const { return m_balloonStyle; }
    void setBalloonStyle(bool balloon);

    // The control the balloon points at (nullptr: the whole screen). Follows that control and its
    // window from now on.
    QWidget *tipControl() const { return m_tipControl; }
    void setTipControl(QWidget *control);

    bool isVisible() const { return m_visible; }
    void setVisible(bool visible);

    // Sets the text and the title when given (not null) and the control, then Show.
    void ShowBalloon(QWidget *control, const QString &text = QString(),
                     const QString &title = QString());
    void Show();
    void Hide();

    // The tip window, for tests and for looking at it.
    BalloonWindow *window() const { return m_window.get(); }

    // The control that the help key reports for a point on the screen in window: the deepest
    // control there, also a disabled one. Parts that make up a control (a view's viewport, the
    // page of a browser) count as the control itself.
    static QWidget *controlAt(QWidget *window, const QPoint &globalPos);

Q_SIGNALS:
    void OnClick(lexora::TQZBalloonHelp *sender);
    // The help key was pressed; control is the one under the mouse pointer, nullptr when no
    // window of the program is active.
    void OnHelp(lexora::TQZBalloonHelp *sender, QWidget *control);
    void OnHide(lexora::TQZBalloonHelp *sender);
    void OnShow(lexora::TQZBalloonHelp *sender);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void applyPosition();
    void applyText();
    void applyTitle();
    void applyColors();
    void helpKeyPressed();
    void balloonPressed(Qt::MouseButton button);
    void focusChanged(QWidget *old, QWidget *now);
    bool isInTipControl(const QObject *object) const;

    std::unique_ptr<BalloonWindow> m_window;
    QPointer<QWidget> m_tipControl;
    QPointer<QWidget> m_tipForm;
    QMetaObject::Connection m_controlGone;
    QTimer m_hideTimer;
    bool m_balloonStyle = true;
    bool m_visible = false;
    bool m_applied = false; // Show has applied all properties once
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TQZBalloonHelp::TUpdateProperties)

} // namespace lexora
