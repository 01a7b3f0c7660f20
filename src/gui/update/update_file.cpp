#include "update/update_file.h"

#include "support/error.h"
#include "support/user_prompt.h"
#include "text/date_value.h"
#include "update/automatic_update.h"
#include "update/update_wizard.h"
#include "update/update_settings.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QWidget>

#include <unistd.h>

namespace lexora {

namespace {

// Writable also means the file system is not mounted read-only, as a CD-ROM's is.
bool folderWritable(const QString &folder)
{
    return access(QFile::encodeName(folder).constData(), W_OK) == 0;
}

} // namespace

TQZUpdateFile::TQZUpdateFile(UserPrompt &prompt, QWidget *owner)
    : QObject(owner), m_prompt(prompt), m_owner(owner), m_action(new QAction(this))
{
    setObjectName(QStringLiteral("QZUpdateFile"));
    m_action->setObjectName(QStringLiteral("Action_QZUpdateFile"));
    m_action->setText(QStringLiteral("Nach Updates suchen"));
    m_action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_U));
    connect(m_action, &QAction::triggered, this, [this] {
        if (AutomaticUpdate({}, true, 0))
            Q_EMIT programEndRequested();
    });
}

TQZUpdateFile::~TQZUpdateFile()
{
    delete m_wizard;
}

UpdateWizard &TQZUpdateFile::wizard()
{
    if (!m_wizard)
        m_wizard = new UpdateWizard(m_prompt, m_owner);
    return *m_wizard;
}

bool TQZUpdateFile::AutomaticUpdate(const QString &extraArguments, bool manual,
                                    DateTime programDate)
{
    const QString program = QCoreApplication::applicationFilePath();
    const QString programFolder = QFileInfo(program).absolutePath();
    const QString settingsFile = updateSettingsFile(RegistryKey);
    UpdateSettings store(settingsFile);

    UpdateStart start;
    start.uninstall = QCoreApplication::arguments().value(1) == QLatin1String("/uninstall");
    start.manual = manual;
    start.programFolderWritable = folderWritable(programFolder);
    start.serverNamed = !store.updateServer().isEmpty();
    start.today = today();
    start.dueDate = store.dueDate();
    start.noUpdate = store.noUpdate();
    start.onlyUpdate = store.onlyUpdate();
    const UpdateDecision decision = decideAutomaticUpdate(start);

    if (decision.writeApplicationFileName) {
        QString value = u'"' + program + u'"';
        if (!extraArguments.isEmpty())
            value += u' ' + extraArguments;
        store.setApplicationFileName(value);
        try {
            store.save();
        } catch (const Error &e) {
            m_prompt.message(UserPrompt::Icon::Error, QStringLiteral("Lexora"), e.message());
        }
    }
    if (!decision.showWizard) {
        // Ctrl+U that does nothing at all would leave the user guessing.
        if (manual && !start.uninstall && !start.programFolderWritable)
            m_prompt.message(UserPrompt::Icon::Information, QStringLiteral("Updates installieren"),
                             QStringLiteral("Lexora kann nicht aktualisiert werden, weil der "
                                            "Programmordner „%1“ schreibgeschützt ist.")
                                 .arg(QDir::toNativeSeparators(programFolder)));
        return false;
    }

    UpdateJob job;
    job.programName = ProgramName;
    job.zipFileName = ZIPFileName;
    job.settingsFile = settingsFile;
    job.programFile = program;
    job.programDate = programDate != 0 ? programDate : dateValue(QFileInfo(program).lastModified());
    wizard().showFor(job);
    return decision.endProgram || wizard().endRequested();
}

void TQZUpdateFile::finish()
{
    if (m_wizard)
        m_wizard->FormDestroy();
}

} // namespace lexora
