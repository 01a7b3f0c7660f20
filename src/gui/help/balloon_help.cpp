#include "help/balloon_help.h"

#include "help/balloon_window.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QScreen>
#include <QToolTip>

namespace lexora {

namespace {

BalloonWindow::Icon windowIcon(TQZBalloonHelp::TTitleIcon icon)
{
    switch (icon) {
    case TQZBalloonHelp::tiNoTitle: return BalloonWindow::Icon::None;
    case TQZBalloonHelp::tiWarning: return BalloonWindow::Icon::Warning;
    case TQZBalloonHelp::tiError: return BalloonWindow::Icon::Error;
    case TQZBalloonHelp::tiInfo: break;
    }
    return BalloonWindow::Icon::Information;
}

// Qt builds some controls from parts that are widgets of their own (a view's viewport, the
// surface of a browser page). They carry no name or one that Qt gave them; the help key and
// the hiding rules treat them as the control they belong to.
bool isPartOfControl(const QWidget *widget)
{
    const QString name = widget->objectName();
    return !widget->isWindow() && widget->parentWidget()
           && (name.isEmpty() || name.startsWith(QLatin1String("qt_")));
}

} // namespace

TQZBalloonHelp::TQZBalloonHelp(QObject *parent)
    : QObject(parent), m_window(std::make_unique<BalloonWindow>())
{
    m_hideTimer.setSingleShot(true);
    connect(&m_hideTimer, &QTimer::timeout, this, &TQZBalloonHelp::Hide);
    connect(m_window.get(), &BalloonWindow::pressed, this, &TQZBalloonHelp::balloonPressed);
    connect(qApp, &QApplication::focusChanged, this, &TQZBalloonHelp::focusChanged);
    qApp->installEventFilter(this);
}

TQZBalloonHelp::~TQZBalloonHelp()
{
    qApp->removeEventFilter(this);
}

void TQZBalloonHelp::setBalloonStyle(bool balloon)
{
    m_balloonStyle = balloon;
    m_window->setStem(balloon);
    if (m_visible)
        applyPosition();
}

void TQZBalloonHelp::setTipControl(QWidget *control)
{
    disconnect(m_controlGone);
    m_tipControl = control;
    m_tipForm = control ? control->window() : nullptr;
    if (control)
        m_controlGone = connect(control, &QObject::destroyed, this, &TQZBalloonHelp::Hide);
}

void TQZBalloonHelp::setVisible(bool visible)
{
    if (visible == m_visible)
        return;
    m_visible = visible;
    if (visible) {
        Q_EMIT OnShow(this);
        m_window->show();
        m_window->raise();
    } else {
        Q_EMIT OnHide(this);
        m_window->hide();
    }
}

void TQZBalloonHelp::ShowBalloon(QWidget *control, const QString &text, const QString &title)
{
    if (!text.isNull())
        Text = text;
    if (!title.isNull())
        Title = title;
    setTipControl(control);
    Show();
}

void TQZBalloonHelp::Show()
{
    // The first showing applies everything, whatever UpdateProperties selects.
    const TUpdateProperties apply = m_applied ? UpdateProperties : TUpdateProperties(0x7f);
    m_applied = true;
    if (apply & tpTitle)
        applyTitle();
    if (apply & tpText)
        applyText();
    if (apply & (tpBackgroundColor | tpTextColor))
        applyColors();
    // Position last: it depends on the size of title and text.
    if (apply & (tpPosition | tpFlags | tpText | tpTitle))
        applyPosition();
    if (apply & tpVisibility) {
        setVisible(true);
        if (AutoHideMSec > 0)
            m_hideTimer.start(AutoHideMSec);
    }
}

void TQZBalloonHelp::Hide()
{
    if (!m_visible)
        return;
    m_hideTimer.stop();
    setVisible(false);
}

void TQZBalloonHelp::applyTitle()
{
    m_window->setTitle(Title, windowIcon(TitleIcon));
}

void TQZBalloonHelp::applyText()
{
    const QFontMetrics fm(m_window->textFont());
    m_window->setText(wrapBalloonText(Text, MaxLineWidth,
                                      [&fm](const QString &s) { return fm.horizontalAdvance(s); }));
}

void TQZBalloonHelp::applyColors()
{
    const QPalette palette = QToolTip::palette();
    m_window->setColors(BackgroundColor.isValid() ? BackgroundColor
                                                  : palette.color(QPalette::ToolTipBase),
                        TextColor.isValid() ? TextColor : palette.color(QPalette::ToolTipText));
}

void TQZBalloonHelp::applyPosition()
{
    QRect reference;
    QScreen *screen = nullptr;
    if (m_tipControl) {
        reference = QRect(m_tipControl->mapToGlobal(QPoint(0, 0)), m_tipControl->size());
        screen = m_tipControl->screen();
    } else {
        screen = QGuiApplication::primaryScreen();
        reference = screen->geometry();
    }
    BalloonAnchorRule rule;
    rule.relative = PositionMode == pmRelative;
    rule.fromRight = HorizontalPositionMode == hpFromRight;
    rule.fromBottom = VerticalPositionMode == hpFromBottom;
    rule.posX = PosX;
    rule.posY = PosY;
    const QPoint anchor = balloonAnchor(reference, rule);
    if (!m_tipControl)
        screen = QGuiApplication::screenAt(anchor) ? QGuiApplication::screenAt(anchor) : screen;
    m_window->place(placeBalloon(anchor, m_window->bodySize(),
                                 m_tipControl ? reference : QRect(), screen->availableGeometry(),
                                 CenterTip, m_balloonStyle ? balloon::kStemLength : 0));
}

bool TQZBalloonHelp::isInTipControl(const QObject *object) const
{
    if (!m_tipControl || !object || !object->isWidgetType())
        return false;
    const auto *widget = static_cast<const QWidget *>(object);
    return widget == m_tipControl || m_tipControl->isAncestorOf(widget);
}

bool TQZBalloonHelp::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        // Taken here, before any control: a control of the program has no use for the help key,
        // and a key the control leaves would reach the filter once more for every parent.
        if (static_cast<QKeyEvent *>(event)->key() == HelpKeyCode
            && isSignalConnected(QMetaMethod::fromSignal(&TQZBalloonHelp::OnHelp))) {
            if (!static_cast<QKeyEvent *>(event)->isAutoRepeat())
                helpKeyPressed();
            return true;
        }
        break;
    case QEvent::MouseButtonPress:
        if (m_visible && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton
            && isInTipControl(watched))
            Hide();
        break;
    case QEvent::Move:
    case QEvent::Resize:
        if (m_visible && (watched == m_tipControl || watched == m_tipForm))
            applyPosition();
        break;
    case QEvent::Close:
    case QEvent::Hide:
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
        if (m_visible && watched == m_tipForm)
            Hide();
        break;
    default:
        break;
    }
    return false;
}

void TQZBalloonHelp::focusChanged(QWidget *old, QWidget *now)
{
    if (m_visible && isInTipControl(old) && !isInTipControl(now) && now != m_window.get())
        Hide();
}

QWidget *TQZBalloonHelp::controlAt(QWidget *window, const QPoint &globalPos)
{
    QWidget *control = window;
    // childAt finds disabled controls too; it looks through the whole depth at once.
    if (QWidget *child = window->childAt(window->mapFromGlobal(globalPos)))
        control = child;
    while (isPartOfControl(control))
        control = control->parentWidget();
    return control;
}

void TQZBalloonHelp::helpKeyPressed()
{
    QWidget *active = QApplication::activeWindow();
    Q_EMIT OnHelp(this, active ? controlAt(active, QCursor::pos()) : nullptr);
}

void TQZBalloonHelp::balloonPressed(Qt::MouseButton button)
{
    if (button == Qt::LeftButton)
        Q_EMIT OnClick(this);
    // Any button brings the window of the control to the front.
    if (QWidget *form = m_tipForm.data()) {
        form->raise();
        form->activateWindow();
    }
}

} // namespace lexora
