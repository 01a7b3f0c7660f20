#include "exchange/html_export_window.h"

#include "document/document.h"
#include "exchange/html_export.h"
#include "help/balloons.h"
#include "support/dialog_buttons.h"
#include "support/file_dialogs.h"

#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace lexora {

namespace {

constexpr const char16_t *kFontSizes[ExportFontSizeCount] = {
    u"winzig", u"sehr klein", u"klein", u"normal", u"groß", u"sehr groß", u"riesig"};

// The family the desktop draws its text in, as an installed family rather than an alias such as
// "Sans Serif".
QString desktopFamily()
{
    return QFontInfo(QFontDatabase::systemFont(QFontDatabase::GeneralFont)).family();
}

// The path as the export takes it: "~/" stands for the home folder, as in a shell.
QString outputPath(const QString &typed)
{
    if (typed.startsWith(QLatin1String("~/")))
        return QDir::homePath() + typed.mid(1);
    return typed;
}

} // namespace

HtmlExportWindow::HtmlExportWindow(const Document &document, UserPrompt &prompt, Progress &progress,
                 FileDialogs &dialogs, QWidget *parent)
    : QDialog(parent), m_document(document), m_prompt(prompt), m_progress(progress),
      m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("TForm12"));
    setWindowTitle(QStringLiteral("Datenbank exportieren"));

    GroupBox1 = new QGroupBox(QStringLiteral("Eigenschaften der HTML-Datei"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    Label_Title = new QLabel(QStringLiteral("Titel:"), GroupBox1);
    Label_Title->setObjectName(QStringLiteral("Label_Title"));
    Edit_Title = new QLineEdit(GroupBox1);
    Edit_Title->setObjectName(QStringLiteral("Edit_Title"));
    Label_Title->setBuddy(Edit_Title);
    Label1 = new QLabel(QStringLiteral("Bevorzugte Schriftart:"), GroupBox1);
    Label1->setObjectName(QStringLiteral("Label1"));
    ComboBox_Font = new QComboBox(GroupBox1);
    ComboBox_Font->setObjectName(QStringLiteral("ComboBox_Font"));
    ComboBox_Font->setMinimumWidth(200);
    ComboBox_Font->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Label1->setBuddy(ComboBox_Font);
    ComboBox_FontSize = new QComboBox(GroupBox1);
    ComboBox_FontSize->setObjectName(QStringLiteral("ComboBox_FontSize"));
    ComboBox_FontSize->setAccessibleName(QStringLiteral("Schriftgröße"));
    for (const char16_t *size : kFontSizes)
        ComboBox_FontSize->addItem(QString::fromUtf16(size));
    auto *properties = new QGridLayout(GroupBox1);
    properties->addWidget(Label_Title, 0, 0);
    properties->addWidget(Edit_Title, 0, 1, 1, 2);
    properties->addWidget(Label1, 1, 0);
    properties->addWidget(ComboBox_Font, 1, 1);
    properties->addWidget(ComboBox_FontSize, 1, 2);
    properties->setColumnStretch(1, 1);

    GroupBox2 = new QGroupBox(QStringLiteral("Ausgabedatei"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    Edit_File = new QLineEdit(GroupBox2);
    Edit_File->setObjectName(QStringLiteral("Edit_File"));
    Edit_File->setAccessibleName(QStringLiteral("Ausgabedatei"));
    Edit_File->setMinimumWidth(320);
    Button_SearchFile = new QPushButton(QStringLiteral("Suchen"), GroupBox2);
    Button_SearchFile->setObjectName(QStringLiteral("Button_SearchFile"));
    Button_SearchFile->setAutoDefault(false);
    auto *output = new QHBoxLayout(GroupBox2);
    output->addWidget(Edit_File, 1);
    output->addWidget(Button_SearchFile);

    const DialogButtons buttons = makeDialogButtons(this, QStringLiteral("Exportieren"), "Button_Export");
    Button_Export = buttons.accept;
    Button_Cancel = buttons.cancel;
    Button_Cancel->setAutoDefault(false);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox1);
    layout->addWidget(GroupBox2);
    layout->addLayout(buttons.row);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(Button_SearchFile, &QPushButton::clicked, this, &HtmlExportWindow::Button_SearchFileClick);
    connect(Button_Export, &QPushButton::clicked, this, &HtmlExportWindow::Button_ExportClick);
}

void HtmlExportWindow::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        Edit_Title->clear();
        Edit_File->clear();
        fillFonts();
        ComboBox_FontSize->setCurrentIndex(1); // "sehr klein"
        Edit_Title->setFocus();
    }
    QDialog::showEvent(event);
}

void HtmlExportWindow::hideEvent(QHideEvent *event)
{
    if (!event->spontaneous())
        ComboBox_Font->clear();
    QDialog::hideEvent(event);
}

void HtmlExportWindow::fillFonts()
{
    ComboBox_Font->clear();
    const QStringList families = QFontDatabase::families();
    for (const QString &family : families)
        if (!QFontDatabase::isPrivateFamily(family))
            ComboBox_Font->addItem(family);
    // "Tahoma" when it is installed, else the desktop's own family.
    for (const QString &preferred : {QStringLiteral("Tahoma"), desktopFamily()}) {
        const int index = ComboBox_Font->findText(preferred, Qt::MatchFixedString);
        if (index >= 0) {
            ComboBox_Font->setCurrentIndex(index);
            return;
        }
    }
}

void HtmlExportWindow::Button_SearchFileClick()
{
    // The export asks itself before it overwrites a file.
    if (const std::optional<QString> chosen =
            m_dialogs.saveHtml(this, FileDialogs::Overwrite::DoNotAsk))
        Edit_File->setText(*chosen);
}

void HtmlExportWindow::Button_ExportClick()
{
    HtmlExportOptions options;
    options.fileName = outputPath(Edit_File->text());
    options.title = Edit_Title->text();
    options.fontFamily = ComboBox_Font->currentText();
    options.fallbackFontFamily = desktopFamily();
    options.fontSize = ComboBox_FontSize->currentIndex();
    const HtmlExportResult result =
        ExportDatabaseHTML(m_document.database(), options, m_prompt, m_progress);
    switch (result.outcome) {
    case HtmlExportResult::Exported:
        accept();
        break;
    case HtmlExportResult::InvalidInput:
        Edit_File->setFocus();
        Balloons::warn(Edit_File, result.inputError);
        break;
    case HtmlExportResult::Declined:
    case HtmlExportResult::Failed:
        break; // the window stays open with the input as it was
    }
}

} // namespace lexora
