// The update wizard's window: its pages, texts and buttons. The steps are in update_wizard_steps.cpp.
#include "update/update_wizard.h"

#include "update/step_list.h"
#include "update/wizard_texts.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStyle>
#include <QTemporaryFile>
#include <QVBoxLayout>

namespace lexora {

namespace {

constexpr int kClientWidth = 658;
constexpr int kClientHeight = 353;
constexpr int kStepListWidth = 225;
constexpr int kTitleHeight = 41;
constexpr int kIconSize = 32;

QLabel *textLabel(const char *name, const QString &text)
{
    auto *label = new QLabel(text);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QLabel *iconLabel(const char *name, QStyle::StandardPixmap icon)
{
    auto *label = new QLabel;
    label->setObjectName(QLatin1String(name));
    label->setPixmap(QApplication::style()->standardIcon(icon).pixmap(kIconSize, kIconSize));
    label->setFixedSize(kIconSize, kIconSize);
    label->setAccessibleName(QStringLiteral("Symbol"));
    return label;
}

// A page with an icon at the top left and the text beside it.
QWidget *iconPage(QLabel *icon, QLabel *text, QWidget *below = nullptr)
{
    auto *page = new QWidget;
    auto *row = new QHBoxLayout(page);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(12);
    row->addWidget(icon, 0, Qt::AlignTop);
    auto *column = new QVBoxLayout;
    column->addWidget(text);
    if (below)
        column->addWidget(below);
    column->addStretch();
    row->addLayout(column, 1);
    return page;
}

QPushButton *button(const char *name, const QString &text)
{
    auto *b = new QPushButton(text);
    b->setObjectName(QLatin1String(name));
    return b;
}

// The window's font: Verdana of 11 pixels when installed, else the system's font at that size.
QFont wizardFont()
{
    QFont font = QApplication::font();
    if (QFontDatabase::families().contains(QStringLiteral("Verdana")))
        font.setFamily(QStringLiteral("Verdana"));
    font.setPixelSize(11);
    return font;
}

} // namespace

UpdateWizard::UpdateWizard(UserPrompt &prompt, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_prompt(prompt)
{
    setObjectName(QStringLiteral("TStatusForm"));
    setWindowTitle(QStringLiteral("Updates installieren"));
    setFont(wizardFont());
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setFixedSize(kClientWidth, kClientHeight);

    m_http = new HttpDownload(m_network, HttpDownload::kReadTimeoutMsecs, this);
    connect(m_http, &HttpDownload::started, this, &UpdateWizard::downloadStarted);
    connect(m_http, &HttpDownload::progress, this, &UpdateWizard::downloadProgress);
    connect(m_http, &HttpDownload::finished, this, [this](HttpDownload::Outcome outcome) {
        if (m_checkRunning)
            checkFinished(outcome);
        else
            downloadFinished(outcome);
    });

    PaintBox_Process = new StepList(wizard_texts::stepTitles());
    PaintBox_Process->setObjectName(QStringLiteral("PaintBox_Process"));
    PaintBox_Process->setFixedWidth(kStepListWidth);

    Panel_Title = new QLabel;
    Panel_Title->setObjectName(QStringLiteral("Panel_Title"));
    Panel_Title->setFixedHeight(kTitleHeight);
    Panel_Title->setIndent(10);
    Panel_Title->setAutoFillBackground(true);
    QPalette title = Panel_Title->palette();
    title.setColor(QPalette::Window, QColor(49, 106, 197));
    title.setColor(QPalette::WindowText, Qt::white);
    Panel_Title->setPalette(title);
    QFont titleFont = font();
    titleFont.setPixelSize(19);
    titleFont.setBold(true);
    Panel_Title->setFont(titleFont);

    createPages();
    createButtons();

    auto *right = new QVBoxLayout;
    right->setContentsMargins(8, 8, 8, 8);
    right->setSpacing(12);
    right->addWidget(Panel_Title);
    right->addWidget(Pages, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Button_Settings);
    buttons->addStretch();
    buttons->addWidget(Notebook_StdButtons);
    right->addLayout(buttons);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(PaintBox_Process);
    layout->addLayout(right, 1);
}

UpdateWizard::~UpdateWizard() = default;

void UpdateWizard::createPages()
{
    Pages = new QStackedWidget;
    Pages->setObjectName(QStringLiteral("Pages"));
    Pages->addWidget(createWelcomePage());
    Pages->addWidget(createCheckPage());
    Pages->addWidget(createResultPage());
    Pages->addWidget(createDownloadPage());
    Pages->addWidget(createInstallPage());
    Pages->addWidget(createCompletionPage());
    Pages->addWidget(createSettingsPage());
}

QWidget *UpdateWizard::createWelcomePage()
{
    Label2 = textLabel(
        "Label2", QStringLiteral(
                      "In regelmäßigen Abständen sollte im Internet nach Programmverbesserungen "
                      "und -updates gesucht werden, um möglichen Programmfehlern vorzubeugen.\n"
                      "Klicken Sie auf \"Weiter\", um jetzt nach neuen Updates zu suchen, oder auf "
                      "\"Abbrechen\", um zu einem anderen Zeitpunkt nach Programmverbesserungen zu "
                      "suchen.\n\n"
                      "Klicken Sie auf \"Einstellungen\", um festzulegen, ob und in welchen "
                      "Abständen Sie zum Suchen nach Updates aufgefordert werden möchten."));
    Image_Icon1 = iconLabel("Image_Icon1", QStyle::SP_MessageBoxInformation);
    return iconPage(Image_Icon1, Label2);
}

QWidget *UpdateWizard::createCheckPage()
{
    Label4 = textLabel(
        "Label4",
        QStringLiteral("Stellen Sie sicher, dass eine Internetverbindung besteht, und klicken Sie "
                       "auf \"Jetzt auf neue Updates prüfen\"."));
    Button_Check = button("Button_Check", QStringLiteral("Jetzt auf neue Updates prüfen"));
    auto *page = new QWidget;
    auto *column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(Label4);
    column->addSpacing(8);
    column->addWidget(Button_Check, 0, Qt::AlignLeft);
    column->addStretch();
    connect(Button_Check, &QPushButton::clicked, this, &UpdateWizard::Button_CheckClick);
    return page;
}

QWidget *UpdateWizard::createResultPage()
{
    // A long change list scrolls instead of pushing the buttons off the window.
    Label_CheckResult = textLabel("Label_CheckResult", {});
    Label_CheckResult->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(Label_CheckResult);
    scroll->viewport()->setAutoFillBackground(false);
    Label_CheckResult->setAutoFillBackground(false);
    return scroll;
}

QWidget *UpdateWizard::createDownloadPage()
{
    Label_Download = textLabel("Label_Download", wizard_texts::downloading());
    Icon = iconLabel("Icon", QStyle::SP_ArrowDown);
    Status = new QProgressBar;
    Status->setObjectName(QStringLiteral("Status"));
    Status->setTextVisible(false);
    Status->setAccessibleName(QStringLiteral("Fortschritt des Downloads"));
    PerCent = textLabel("PerCent", {});
    PerCent->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    StatusLabel = textLabel("StatusLabel", {});
    TimeLeft = textLabel("TimeLeft", {});
    TimeLeft->setAlignment(Qt::AlignRight | Qt::AlignTop);
    CancelDownload = button("CancelDownload", wizard_texts::cancelDownload());
    connect(CancelDownload, &QPushButton::clicked, this, &UpdateWizard::CancelDownloadClick);

    auto *below = new QWidget;
    auto *column = new QVBoxLayout(below);
    column->setContentsMargins(0, 8, 0, 0);
    column->addWidget(Status);
    column->addWidget(PerCent);
    auto *figures = new QHBoxLayout;
    StatusLabel->setWordWrap(false);
    TimeLeft->setWordWrap(false);
    figures->addWidget(StatusLabel, 1);
    figures->addWidget(TimeLeft);
    column->addLayout(figures);
    column->addWidget(CancelDownload, 0, Qt::AlignRight);
    return iconPage(Icon, Label_Download, below);
}

QWidget *UpdateWizard::createInstallPage()
{
    Label3 = textLabel("Label3", wizard_texts::installReady());
    Image_Icon2 = iconLabel("Image_Icon2", QStyle::SP_MessageBoxInformation);
    CheckBox_Restart = new QCheckBox(QStringLiteral("Programm automatisch neu starten"));
    CheckBox_Restart->setObjectName(QStringLiteral("CheckBox_Restart"));
    CheckBox_Restart->setChecked(true);
    return iconPage(Image_Icon2, Label3, CheckBox_Restart);
}

QWidget *UpdateWizard::createCompletionPage()
{
    Label5 = textLabel(
        "Label5",
        QStringLiteral(
            "Die Installation wurde vorbereitet.\n"
            "Klicken Sie auf \"Beenden\", um die alten Dateien zu ersetzen. Ein Neustart "
            "des Computers ist nicht erforderlich.\n\n"
            "Wenn Sie nicht die Option zum automatischen Neustart des Programms aktiviert "
            "haben, müssen Sie das Programm nach der Installation manuell neu starten."));
    Image_Icon3 = iconLabel("Image_Icon3", QStyle::SP_MessageBoxInformation);
    return iconPage(Image_Icon3, Label5);
}

QWidget *UpdateWizard::createSettingsPage()
{
    GroupBox_Settings = new QGroupBox(
        QStringLiteral("Wie oft wollen Sie zum Suchen nach Updates aufgefordert werden?"));
    GroupBox_Settings->setObjectName(QStringLiteral("GroupBox_Settings"));
    RadioButton_NoAutoUpdt =
        new QRadioButton(QStringLiteral("Niemals automatisch zum Updaten auffordern"));
    RadioButton_NoAutoUpdt->setObjectName(QStringLiteral("RadioButton_NoAutoUpdt"));
    Label1 = textLabel(
        "Label1",
        QStringLiteral("Wenn Sie diese Option aktivieren, werden Sie nicht automatisch zum Suchen "
                       "nach neuen Updates aufgefordert. Sie haben dann aber immer noch die "
                       "Möglichkeit, über die Tastenkombination Strg+U die Suche nach Updates zu "
                       "starten."));
    RadioButton_AutoUpdt = new QRadioButton(
        QStringLiteral("Regelmäßig in bestimmten Abständen zum Updaten auffordern"));
    RadioButton_AutoUpdt->setObjectName(QStringLiteral("RadioButton_AutoUpdt"));
    RadioButton_AutoUpdt->setChecked(true);
    Label6 = textLabel(
        "Label6",
        QStringLiteral("Aktivieren Sie diese Option, um in festgelegten Abständen automatisch zum "
                       "Suchen nach neuen Updates aufgefordert zu werden. Dies geschieht dann "
                       "jeweils unmittelbar nach dem Starten des Programms."));
    Label_AutoUpdt1 = textLabel("Label_AutoUpdt1", QStringLiteral("Alle"));
    Label_AutoUpdt1->setWordWrap(false);
    SpinEdit_AutoUpdt = new QSpinBox;
    SpinEdit_AutoUpdt->setObjectName(QStringLiteral("SpinEdit_AutoUpdt"));
    SpinEdit_AutoUpdt->setRange(1, 365);
    SpinEdit_AutoUpdt->setValue(7);
    SpinEdit_AutoUpdt->setAccessibleName(QStringLiteral("Alle … Tage an Updates erinnern"));
    Label_AutoUpdt1->setBuddy(SpinEdit_AutoUpdt);
    Label_AutoUpdt2 = textLabel("Label_AutoUpdt2", QStringLiteral("Tage an Updates erinnern"));
    Label_AutoUpdt2->setWordWrap(false);

    auto *column = new QVBoxLayout(GroupBox_Settings);
    column->setSpacing(4);
    column->addWidget(RadioButton_NoAutoUpdt);
    column->addWidget(Label1);
    column->addSpacing(6);
    column->addWidget(RadioButton_AutoUpdt);
    column->addWidget(Label6);
    auto *interval = new QHBoxLayout;
    interval->addWidget(Label_AutoUpdt1);
    interval->addWidget(SpinEdit_AutoUpdt);
    interval->addWidget(Label_AutoUpdt2);
    interval->addStretch();
    column->addLayout(interval);
    column->addStretch();
    // The explanations line up with the option's text, not with its round button.
    const int indent = style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth)
                       + style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
    // Margins, unlike an indent, count when a wrapped label works out its height.
    for (QLabel *label : {Label1, Label6, Label_AutoUpdt1})
        label->setContentsMargins(indent, 0, 0, 0);
    for (QLabel *label : {Label_AutoUpdt1, Label_AutoUpdt2})
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    connect(RadioButton_NoAutoUpdt, &QRadioButton::toggled, this,
            &UpdateWizard::RadioButton_AutoUpdtClick);
    connect(RadioButton_AutoUpdt, &QRadioButton::toggled, this,
            &UpdateWizard::RadioButton_AutoUpdtClick);
    return GroupBox_Settings;
}

void UpdateWizard::createButtons()
{
    Button_Settings = button("Button_Settings", QStringLiteral("Einstellungen"));
    Button_Next = button("Button_Next", wizard_texts::next());
    Button_Cancel = button("Button_Cancel", QStringLiteral("Abbrechen"));
    Button_SettingsCancel = button("Button_SettingsCancel", QStringLiteral("Abbrechen"));
    Button_SettingsSave = button("Button_SettingsSave", QStringLiteral("Speichern"));

    Notebook_StdButtons = new QStackedWidget;
    Notebook_StdButtons->setObjectName(QStringLiteral("Notebook_StdButtons"));
    for (auto [next, cancel] : {std::pair{Button_Next, Button_Cancel},
                                std::pair{Button_SettingsSave, Button_SettingsCancel}}) {
        auto *page = new QWidget;
        auto *row = new QHBoxLayout(page);
        row->setContentsMargins(0, 0, 0, 0);
        row->addWidget(next);
        row->addWidget(cancel);
        Notebook_StdButtons->addWidget(page);
    }
    Notebook_StdButtons->widget(0)->setObjectName(QStringLiteral("Standard"));
    Notebook_StdButtons->widget(1)->setObjectName(QStringLiteral("Einstellungen"));
    Notebook_StdButtons->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    connect(Button_Settings, &QPushButton::clicked, this, &UpdateWizard::Button_SettingsClick);
    connect(Button_Next, &QPushButton::clicked, this, &UpdateWizard::Button_NextClick);
    connect(Button_Cancel, &QPushButton::clicked, this, &UpdateWizard::Button_CancelClick);
    connect(Button_SettingsCancel, &QPushButton::clicked, this, &UpdateWizard::leaveSettings);
    connect(Button_SettingsSave, &QPushButton::clicked, this,
            &UpdateWizard::Button_SettingsSaveClick);
}

} // namespace lexora
