#pragma once

#include <QObject>

class QWidget;

namespace lexora {

class TQZBalloonHelp;

// The program's two balloons: QZBalloonHelp answers the help key (F1) with the help text of the
// control under the mouse pointer, BalloonWarning points at a control whose input is invalid or
// incomplete. At most one of them is visible; a click on either hides it. The program makes one
// Balloons at its start; while it lives it is the one that warn() and the help key use.
class Balloons : public QObject {
    Q_OBJECT

public:
    explicit Balloons(QObject *parent = nullptr);
    ~Balloons() override;

    // The living instance, or nullptr.
    static Balloons *instance();

    // A window reports invalid input: BalloonWarning points at control with text, titled
    // "Ungültige oder unvollständige Angaben", and hides after 5 seconds. The window changes
    // nothing and keeps its state.
    static void warn(QWidget *control, const QString &text);

    // "Ballon-Hilfe...": the introduction, pointing at the main window's tool bar.
    void MenuItem_BalloonHelpClick(QWidget *toolBar);

    TQZBalloonHelp *const QZBalloonHelp;
    TQZBalloonHelp *const BalloonWarning;

private:
    void QZBalloonHelpHelp(TQZBalloonHelp *sender, QWidget *control);
    void QZBalloonHelpClick(TQZBalloonHelp *sender);
};

} // namespace lexora
