// The update wizard's steps: check, download, installation, settings page, closing.
#include "update/update_wizard.h"

#include "support/error.h"
#include "support/user_prompt.h"
#include "text/date_value.h"
#include "update/download_progress.h"
#include "update/install_preparation.h"
#include "update/script_run.h"
#include "update/step_list.h"
#include "update/update_folder.h"
#include "update/update_server.h"
#include "update/update_settings.h"
#include "update/wizard_texts.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStyle>
#include <QTemporaryFile>

namespace lexora {

namespace {

constexpr qint64 kMaxDescriptionBytes = 1 << 20;
constexpr qint64 kMaxArchiveBytes = qint64(1) << 30;

enum Step { Welcome, Check, Result, Download, Install, Completion, SettingsPage };

QString noUpdateText()
{
    return QStringLiteral(
        "Es stehen keine neuen Updates zur Verfügung. Klicken Sie auf \"Beenden\", "
        "um den Assistenten zu verlassen.");
}

QString updateFoundText(const QString &changes)
{
    return QStringLiteral("Es stehen neue Updates zum Download bereit.\n\n"
                          "Die Updates beheben folgende Probleme bzw. stellen folgende neue "
                          "Funktionen zur Verfügung:\n%1\n\n"
                          "Klicken Sie auf \"Weiter\", um die Updates jetzt herunterzuladen.")
        .arg(changes);
}

QString downloadCutOffText()
{
    return QStringLiteral(
        "Der Download wurde nicht vollendet.\n\n"
        "Klicken Sie auf \"Erneut versuchen\", um den Download erneut zu starten.\n"
        "Klicken Sie auf \"Abbrechen\", um den Assistenten zu beenden.");
}

QString downloadCompleteText()
{
    return QStringLiteral("Die Update-Dateien wurden erfolgreich heruntergeladen. Klicken Sie auf "
                          "\"Weiter\", um die Updates zu installieren.");
}

QString archiveMissingText()
{
    return QStringLiteral("Die Installationsdateien wurden nicht gefunden. Klicken Sie auf "
                          "\"Abbrechen\" und versuchen Sie es später noch einmal.");
}

QPixmap systemIcon(QStyle::StandardPixmap icon)
{
    return QApplication::style()->standardIcon(icon).pixmap(32, 32);
}

} // namespace

void UpdateWizard::showFor(const UpdateJob &job)
{
    FormShow(job);
    exec();
}

void UpdateWizard::FormShow(const UpdateJob &job)
{
    m_job = job;
    m_server = updateServerUrl(UpdateSettings(m_job.settingsFile).updateServer());
    QFont bold = PerCent->font();
    bold.setBold(true);
    PerCent->setFont(bold);
    const QScreen *screen =
        parentWidget() ? parentWidget()->screen() : QApplication::primaryScreen();
    if (screen)
        move(screen->geometry().center() - rect().center());

    WizardStep = Welcome;
    Notebook_StdButtons->setCurrentIndex(0);
    Button_Settings->setVisible(true);
    Button_Next->setEnabled(true);
    Button_Cancel->setEnabled(true);
    Button_Next->setText(wizard_texts::next());
    Button_Next->setDefault(true);
    Button_Check->setEnabled(true);
    m_installPrepared = UpdatesAvailable = CancelRequested = DownloadAborted = false;
    m_leftWithoutUpdate = m_endRequested = m_closeWhenStopped = m_settingsShowing = false;
    // What an earlier showing of this run changed on the pages starts afresh as well.
    CancelDownload->setVisible(true);
    Label3->setText(wizard_texts::installReady());
    Image_Icon2->setPixmap(Image_Icon1->pixmap());
    showStep();
    Button_Next->setFocus();
}

void UpdateWizard::showStep()
{
    Pages->setCurrentIndex(WizardStep);
    Panel_Title->setText(wizard_texts::stepTitles().value(WizardStep));
    PaintBox_Process->setCurrent(WizardStep);
}

void UpdateWizard::Button_NextClick()
{
    const int s = WizardStep;
    WizardStep = s + 1;
    switch (s) {
    case Welcome:
        Button_Next->setEnabled(false); // the check page has its own button
        break;
    case Check:
        if (UpdatesAvailable) {
            Label_CheckResult->setText(
                updateFoundText(changeList(m_description.news, m_job.programDate)));
        } else {
            Button_Next->setText(wizard_texts::finish());
            Button_Cancel->setEnabled(false);
            Label_CheckResult->setText(noUpdateText());
        }
        Button_Next->setEnabled(true);
        break;
    case Result:
        if (!UpdatesAvailable) {
            m_leftWithoutUpdate = true;
            done(Accepted);
            return;
        }
        Status->setValue(0);
        break;
    case Download:
        break;
    case Install:
        prepareInstallation();
        if (!m_installPrepared)
            return;
        break;
    default:
        done(Accepted);
        return;
    }
    if (!m_settingsShowing)
        showStep();
    PaintBox_Process->setCurrent(WizardStep);
    if (WizardStep == Download && UpdatesAvailable)
        startDownload();
}

void UpdateWizard::Button_CheckClick()
{
    if (!m_server || !HttpDownload::networkMayBeUp())
        return showNoConnection();
    try {
        TempFolder = privateUpdateFolder();
    } catch (const Error &e) {
        return showError(e.message());
    }
    m_descriptionFile = std::make_unique<QTemporaryFile>(TempFolder + QStringLiteral("$QZXXXXXX"));
    if (!m_descriptionFile->open())
        return showError(QStringLiteral("Im Ordner „%1“ kann keine Datei angelegt werden: %2")
                             .arg(TempFolder, m_descriptionFile->errorString()));
    UpdatesAvailable = true;
    m_checkRunning = true;
    Button_Check->setEnabled(false);
    m_http->start(descriptionUrl(*m_server), m_descriptionFile.get(), kMaxDescriptionBytes);
}

void UpdateWizard::checkFinished(HttpDownload::Outcome outcome)
{
    m_checkRunning = false;
    Button_Check->setEnabled(true);
    if (m_closeWhenStopped)
        return done(Rejected);
    if (outcome != HttpDownload::Outcome::Complete) {
        UpdatesAvailable = false;
        return showNoConnection();
    }
    m_descriptionFile->seek(0);
    m_description = readUpdateDescription(m_descriptionFile->readAll(), m_job.programName, today());
    UpdatesAvailable = updateAvailable(m_description, m_job.programDate);
    Button_NextClick();
}

void UpdateWizard::startDownload()
{
    Button_Next->setEnabled(false);
    CancelDownload->setText(wizard_texts::cancelDownload());
    CancelDownload->setVisible(true);
    Label_Download->setText(wizard_texts::downloading());
    Status->setRange(0, 1);
    Status->setValue(0);
    PerCent->clear();
    StatusLabel->clear();
    TimeLeft->clear();
    m_archive.setFileName(TempFolder + m_job.zipFileName);
    if (!m_archive.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        StatusLabel->setText(m_archive.errorString());
        return downloadFinished(HttpDownload::Outcome::Failed);
    }
    m_downloadStart.start();
    DownloadRunning = true;
    m_http->start(archiveUrl(*m_server, m_description.file), &m_archive, kMaxArchiveBytes);
}

void UpdateWizard::downloadStarted(qint64 total)
{
    if (m_checkRunning)
        return;
    // Without an announced size there is nothing to measure progress against.
    Status->setRange(0, int(std::max<qint64>(1, total)));
}

void UpdateWizard::downloadProgress(qint64 received, qint64 total)
{
    if (m_checkRunning || total <= 0)
        return;
    Status->setValue(int(received));
    PerCent->setText(downloadPercent(received, total));
    StatusLabel->setText(downloadStatus(received, total));
    TimeLeft->setText(downloadTimeLeft(received, total, m_downloadStart.elapsed()));
}

void UpdateWizard::downloadFinished(HttpDownload::Outcome outcome)
{
    m_archive.close();
    DownloadRunning = false;
    if (outcome != HttpDownload::Outcome::Complete) {
        DownloadAborted = true;
        // A partial archive must never be taken for a whole one.
        QFile::remove(m_archive.fileName());
        if (outcome == HttpDownload::Outcome::Failed && !m_http->errorText().isEmpty())
            StatusLabel->setText(m_http->errorText());
        TimeLeft->clear();
    }
    if (m_closeWhenStopped)
        return done(Rejected);
    Label_Download->setText(DownloadAborted ? downloadCutOffText() : downloadCompleteText());
    if (DownloadAborted) {
        CancelDownload->setText(wizard_texts::retryDownload());
    } else {
        CancelDownload->setVisible(false);
        Button_Next->setEnabled(true);
        Button_Next->setFocus();
    }
}

bool UpdateWizard::confirmCancelDownload()
{
    return m_prompt.question(QStringLiteral("Lexora"),
                             QStringLiteral("Soll der Download wirklich abgebrochen werden?"),
                             UserPrompt::Buttons::YesNo)
           == UserPrompt::Answer::Yes;
}

void UpdateWizard::CancelDownloadClick()
{
    if (DownloadRunning) {
        if (confirmCancelDownload()) {
            CancelRequested = true;
            m_http->cancel();
        }
        return;
    }
    WizardStep = Result;
    DownloadAborted = CancelRequested = false;
    Button_NextClick();
}

void UpdateWizard::Button_CancelClick()
{
    if (DownloadRunning && !confirmCancelDownload())
        return;
    if (m_http->running()) {
        CancelRequested = true;
        m_closeWhenStopped = true;
        m_http->cancel();
        return;
    }
    done(Rejected);
}

void UpdateWizard::reject()
{
    // Escape: the cancel button of the button page that is showing, when it is enabled.
    if (m_settingsShowing)
        leaveSettings();
    else if (Button_Cancel->isEnabled())
        Button_CancelClick();
}

void UpdateWizard::closeEvent(QCloseEvent *event)
{
    event->ignore();
    Button_CancelClick();
}

void UpdateWizard::done(int result)
{
    // Closing the last step, by "Beenden" or otherwise, ends the program.
    if (WizardStep >= Completion)
        m_endRequested = true;
    QDialog::done(result);
}

void UpdateWizard::prepareInstallation()
{
    const BatchPaths paths{QFileInfo(m_job.programFile).absolutePath() + u'/', TempFolder,
                           m_job.programFile};
    InstallPreparation result = InstallPreparation::ArchiveMissing;
    try {
        result =
            lexora::prepareInstallation(paths, m_job.zipFileName, CheckBox_Restart->isChecked());
    } catch (const Error &e) {
        showError(e.message());
    }
    if (result == InstallPreparation::Prepared) {
        m_installPrepared = true;
        Button_Next->setText(wizard_texts::finish());
        Button_Cancel->setEnabled(false);
        return;
    }
    // The wizard stays on this step: closing it now must not end the program.
    WizardStep = Install;
    if (result == InstallPreparation::ArchiveMissing)
        Label3->setText(archiveMissingText());
    Image_Icon2->setPixmap(systemIcon(QStyle::SP_MessageBoxCritical));
    Button_Next->setEnabled(false);
}

void UpdateWizard::Button_SettingsClick()
{
    const UpdateSettings store(m_job.settingsFile);
    (store.noUpdate() ? RadioButton_NoAutoUpdt : RadioButton_AutoUpdt)->setChecked(true);
    SpinEdit_AutoUpdt->setValue(store.updateInterval().value_or(28));
    RadioButton_AutoUpdtClick();
    m_settingsShowing = true;
    Button_Settings->setVisible(false);
    Panel_Title->setText(wizard_texts::settingsTitle());
    Notebook_StdButtons->setCurrentIndex(1);
    Pages->setCurrentIndex(SettingsPage);
    Button_SettingsSave->setDefault(true);
}

void UpdateWizard::RadioButton_AutoUpdtClick()
{
    const bool interval = RadioButton_AutoUpdt->isChecked();
    Label_AutoUpdt1->setEnabled(interval);
    SpinEdit_AutoUpdt->setEnabled(interval);
    Label_AutoUpdt2->setEnabled(interval);
}

void UpdateWizard::Button_SettingsSaveClick()
{
    UpdateSettings store(m_job.settingsFile);
    const bool never = RadioButton_NoAutoUpdt->isChecked();
    if (never)
        store.removeUpdateInterval();
    else
        store.setUpdateInterval(SpinEdit_AutoUpdt->value());
    store.setNoUpdate(never);
    try {
        store.save();
    } catch (const Error &e) {
        return showError(e.message());
    }
    leaveSettings();
}

void UpdateWizard::leaveSettings()
{
    m_settingsShowing = false;
    showStep();
    Notebook_StdButtons->setCurrentIndex(0);
    Button_Settings->setVisible(true);
    Button_Next->setDefault(true);
}

void UpdateWizard::showNoConnection()
{
    m_prompt.message(UserPrompt::Icon::Warning, QStringLiteral("Internetverbindung erforderlich"),
                     QStringLiteral("Es besteht keine Internetverbindung."));
}

void UpdateWizard::showError(const QString &text)
{
    m_prompt.message(UserPrompt::Icon::Error, QStringLiteral("Lexora"), text);
}

void UpdateWizard::FormDestroy()
{
    m_descriptionFile.reset();
    if (m_job.settingsFile.isEmpty())
        return;
    if (m_installPrepared || m_leftWithoutUpdate) {
        UpdateSettings store(m_job.settingsFile);
        store.setDueDate(nextDueDate(today(), store.updateInterval()));
        try {
            store.save();
        } catch (const Error &e) {
            showError(e.message());
        }
    }
    const QString script = TempFolder + QStringLiteral("Update.bat");
    if (m_installPrepared && QFile::exists(script) && !runScriptAfterExit(script))
        showError(QStringLiteral("Das Installationsskript konnte nicht gestartet werden."));
}

} // namespace lexora
