#pragma once

#include "database/model.h"
#include "update/http_download.h"
#include "update/update_description.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QNetworkAccessManager>

#include <memory>
#include <optional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStackedWidget;
class QTemporaryFile;

namespace lexora {

class StepList;
class UserPrompt;

// What the update component hands the wizard before each showing.
struct UpdateJob {
    QString programName;  // the section of "Updates.ini"
    QString zipFileName;  // the archive's name in the update folder
    QString settingsFile; // the update settings store
    QString programFile;  // the program's full path: its folder takes the update
    DateTime programDate = 0;
};

// The update wizard "Updates installieren": welcome, check, result, download, installation and
// completion, and the settings page for the automatic invitation. Its network transfers run
// while the window stays responsive.
class UpdateWizard : public QDialog {
    Q_OBJECT

public:
    explicit UpdateWizard(UserPrompt &prompt, QWidget *parent = nullptr);
    ~UpdateWizard() override;

    // Resets the wizard to its welcome page for job and shows it modally.
    void showFor(const UpdateJob &job);
    // The reset alone, for showing the wizard in another way.
    void FormShow(const UpdateJob &job);

    // The wizard's last step asked the program to end.
    bool endRequested() const { return m_endRequested; }
    bool installPrepared() const { return m_installPrepared; }

    // The work of the program's end: the description file goes, the due date moves after a check
    // without result or a prepared installation, and a prepared script is set to run once the
    // program has ended. Errors are shown through the prompt.
    void FormDestroy();

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;
    void done(int result) override;

private:
    void createPages();
    QWidget *createWelcomePage();
    QWidget *createCheckPage();
    QWidget *createResultPage();
    QWidget *createDownloadPage();
    QWidget *createInstallPage();
    QWidget *createCompletionPage();
    QWidget *createSettingsPage();
    void createButtons();

    void showStep();
    void Button_NextClick();
    void Button_CheckClick();
    void checkFinished(HttpDownload::Outcome outcome);
    void startDownload();
    void downloadStarted(qint64 total);
    void downloadProgress(qint64 received, qint64 total);
    void downloadFinished(HttpDownload::Outcome outcome);
    void CancelDownloadClick();
    void Button_CancelClick();
    bool confirmCancelDownload();
    void prepareInstallation();
    void Button_SettingsClick();
    void RadioButton_AutoUpdtClick();
    void Button_SettingsSaveClick();
    void leaveSettings();
    void showNoConnection();
    void showError(const QString &text);

    UserPrompt &m_prompt;
    UpdateJob m_job;
    QNetworkAccessManager m_network;
    HttpDownload *m_http = nullptr;

    // Wizard state.
    int WizardStep = 0;
    bool UpdatesAvailable = false;
    bool DownloadRunning = false;
    bool CancelRequested = false;
    bool DownloadAborted = false;
    bool m_installPrepared = false;
    bool m_leftWithoutUpdate = false;
    bool m_endRequested = false;
    bool m_checkRunning = false;
    bool m_closeWhenStopped = false;
    bool m_settingsShowing = false;
    QString TempFolder;
    std::unique_ptr<QTemporaryFile> m_descriptionFile;
    UpdateDescription m_description;
    std::optional<QUrl> m_server;
    QFile m_archive;
    QElapsedTimer m_downloadStart;

    StepList *PaintBox_Process = nullptr;
    QLabel *Panel_Title = nullptr;
    QStackedWidget *Pages = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Image_Icon1 = nullptr;
    QLabel *Label4 = nullptr;
    QPushButton *Button_Check = nullptr;
    QLabel *Label_CheckResult = nullptr;
    QLabel *Label_Download = nullptr;
    QProgressBar *Status = nullptr;
    QLabel *PerCent = nullptr;
    QLabel *StatusLabel = nullptr;
    QLabel *TimeLeft = nullptr;
    QLabel *Icon = nullptr;
    QPushButton *CancelDownload = nullptr;
    QLabel *Label3 = nullptr;
    QCheckBox *CheckBox_Restart = nullptr;
    QLabel *Image_Icon2 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Image_Icon3 = nullptr;
    QGroupBox *GroupBox_Settings = nullptr;
    QRadioButton *RadioButton_NoAutoUpdt = nullptr;
    QLabel *Label1 = nullptr;
    QRadioButton *RadioButton_AutoUpdt = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *Label_AutoUpdt1 = nullptr;
    QSpinBox *SpinEdit_AutoUpdt = nullptr;
    QLabel *Label_AutoUpdt2 = nullptr;
    QPushButton *Button_Settings = nullptr;
    QStackedWidget *Notebook_StdButtons = nullptr;
    QPushButton *Button_Next = nullptr;
    QPushButton *Button_Cancel = nullptr;
    QPushButton *Button_SettingsCancel = nullptr;
    QPushButton *Button_SettingsSave = nullptr;
};

} // namespace lexora
