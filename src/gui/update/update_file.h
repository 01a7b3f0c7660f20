#pragma once

#include "database/model.h"

#include <QObject>
#include <QPointer>
#include <QString>

class QAction;
class QWidget;

namespace lexora {

class UpdateWizard;
class UserPrompt;

// The update component: decides at the program's start whether to invite the user to look for
// updates, offers the same on Ctrl+U, and hands the work to the update wizard, which it creates
// once for the program's life (as a window of the owner). At the program's end it lets the
// wizard finish (due date, the prepared installation script).
class TQZUpdateFile : public QObject {
    Q_OBJECT

public:
    // The wizard's messages go through prompt; owner is the window the wizard belongs to.
    TQZUpdateFile(UserPrompt &prompt, QWidget *owner);
    ~TQZUpdateFile() override;

    // The values the main window gives the component.
    QString ProgramName = QStringLiteral("Lexora"); // section of "Updates.ini"
    QString RegistryKey = QStringLiteral("Lexora"); // name of the update settings store
    QString ZIPFileName = QStringLiteral("LX.zip"); // the archive's name in the update folder

    // Ctrl+U: AutomaticUpdate in manual mode; programEndRequested() when the wizard ends the
    // program.
    QAction *action() const { return m_action; }

    // Shows the wizard when the decision says so. extraArguments follow the program's path in
    // "ApplicationFileName"; programDate 0 takes the program file's time. True when the program
    // is to end now: after the wizard with "OnlyUpdate" at the start, or after its last step.
    bool AutomaticUpdate(const QString &extraArguments, bool manual, DateTime programDate);

    // The update work of the program's end; call once, after the program's own closing work.
    void finish();

    // The wizard, made on first use.
    UpdateWizard &wizard();

Q_SIGNALS:
    // On Ctrl+U the wizard's last step asked the program to end; it should close as usual.
    void programEndRequested();

private:
    UserPrompt &m_prompt;
    QWidget *m_owner;
    QAction *m_action;
    // A child of the owner; deleted with the component at the latest.
    QPointer<UpdateWizard> m_wizard;
};

} // namespace lexora
