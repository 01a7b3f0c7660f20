#include "help/balloons.h"

#include "help/balloon_help.h"
#include "help/help_texts.h"

#include <QtGlobal>

namespace lexora {

namespace {

Balloons *g_instance = nullptr;

void setUp(TQZBalloonHelp &balloon, const QString &title, TQZBalloonHelp::TTitleIcon icon,
           int autoHide)
{
    balloon.AutoHideMSec = autoHide;
    balloon.MaxLineWidth = 300;
    balloon.PositionMode = TQZBalloonHelp::pmRelative;
    balloon.PosX = 0.5;
    balloon.PosY = 0.5;
    balloon.Title = title;
    balloon.TitleIcon = icon;
    balloon.UpdateProperties = {TQZBalloonHelp::tpText, TQZBalloonHelp::tpPosition,
                                TQZBalloonHelp::tpVisibility};
}

} // namespace

Balloons::Balloons(QObject *parent)
    : QObject(parent), QZBalloonHelp(new TQZBalloonHelp(this)),
      BalloonWarning(new TQZBalloonHelp(this))
{
    QZBalloonHelp->setObjectName(QStringLiteral("QZBalloonHelp"));
    BalloonWarning->setObjectName(QStringLiteral("BalloonWarning"));
    setUp(*QZBalloonHelp, QStringLiteral("Information"), TQZBalloonHelp::tiInfo, 0);
    setUp(*BalloonWarning, QStringLiteral("Ungültige oder unvollständige Angaben"),
          TQZBalloonHelp::tiWarning, 5000);
    for (TQZBalloonHelp *balloon : {QZBalloonHelp, BalloonWarning})
        connect(balloon, &TQZBalloonHelp::OnClick, this, &Balloons::QZBalloonHelpClick);
    connect(QZBalloonHelp, &TQZBalloonHelp::OnShow, BalloonWarning, &TQZBalloonHelp::Hide);
    connect(BalloonWarning, &TQZBalloonHelp::OnShow, QZBalloonHelp, &TQZBalloonHelp::Hide);
    connect(QZBalloonHelp, &TQZBalloonHelp::OnHelp, this, &Balloons::QZBalloonHelpHelp);
    g_instance = this;
}

Balloons::~Balloons()
{
    if (g_instance == this)
        g_instance = nullptr;
}

Balloons *Balloons::instance()
{
    return g_instance;
}

void Balloons::warn(QWidget *control, const QString &text)
{
    if (!g_instance) {
        qWarning("Lexora: a warning without balloons: %s", qUtf8Printable(text));
        return;
    }
    g_instance->BalloonWarning->ShowBalloon(control, text);
}

void Balloons::MenuItem_BalloonHelpClick(QWidget *toolBar)
{
    QZBalloonHelp->ShowBalloon(toolBar, balloonHelpIntroduction());
}

void Balloons::QZBalloonHelpHelp(TQZBalloonHelp *, QWidget *control)
{
    if (!control)
        return;
    const QString text = helpText(*control);
    if (text.isEmpty()) {
        QZBalloonHelp->Hide();
        return;
    }
    // F1 again over the same control takes its help away.
    if (QZBalloonHelp->isVisible() && QZBalloonHelp->tipControl() == control) {
        QZBalloonHelp->Hide();
        return;
    }
    QZBalloonHelp->ShowBalloon(control, text);
}

void Balloons::QZBalloonHelpClick(TQZBalloonHelp *sender)
{
    sender->Hide();
}

} // namespace lexora
