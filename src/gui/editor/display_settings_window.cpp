#include "editor/display_settings_window.h"

#include "codefield/code_field.h"
#include "codefield/code_field_settings.h"
#include "support/dialog_buttons.h"

#include <QFontDialog>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSlider>
#include <QVBoxLayout>

namespace lexora {

namespace {

constexpr int kMinTabStop = 1;
constexpr int kMaxTabStop = 81;

QLabel *addLabel(QWidget *parent, const char *name, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

QPushButton *addButton(QWidget *parent, const char *name, const QString &caption)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

} // namespace

QString DisplaySettingsWindow::previewText()
{
    QStringList lines;
    for (int k = 0; k < 5; ++k) {
        QString line = QString(k, u'\t') + QStringLiteral("Tab");
        for (int j = 0; j < 10; ++j)
            line += QStringLiteral(" _") + QString::number((k + j) % 10);
        lines << line;
    }
    // The first sample line ends with a blank, as it always has.
    lines[0] += u' ';
    return lines.join(u'\n');
}

DisplaySettingsWindow::DisplaySettingsWindow(CodeFieldSettings &settings, QWidget *parent)
    : QDialog(parent), m_settings(settings)
{
    setObjectName(QStringLiteral("TForm4"));
    setWindowTitle(QStringLiteral("Anzeigeeigenschaften"));

    auto *groupBox1 = new QGroupBox(QStringLiteral("Tabstopp-Abstand"), this);
    groupBox1->setObjectName(QStringLiteral("GroupBox1"));
    TrackBar_TabStopPosition = new QSlider(Qt::Horizontal, groupBox1);
    TrackBar_TabStopPosition->setObjectName(QStringLiteral("TrackBar_TabStopPosition"));
    TrackBar_TabStopPosition->setAccessibleName(groupBox1->title());
    TrackBar_TabStopPosition->setRange(kMinTabStop, kMaxTabStop);
    TrackBar_TabStopPosition->setTickInterval(5);
    TrackBar_TabStopPosition->setTickPosition(QSlider::TicksBelow);
    Label_TabStopPosition = addLabel(groupBox1, "Label_TabStopPosition", {});
    Label_TabStopPosition->setAlignment(Qt::AlignCenter);
    QLabel *label1 = addLabel(groupBox1, "Label1", QStringLiteral("Vorschau:"));
    Memo_TabPreview = new CodeField(groupBox1);
    Memo_TabPreview->setObjectName(QStringLiteral("Memo_TabPreview"));
    Memo_TabPreview->setAccessibleName(QStringLiteral("Vorschau"));
    Memo_TabPreview->setReadOnly(true);
    Memo_TabPreview->setPlainText(previewText());
    label1->setBuddy(Memo_TabPreview);
    // Five lines of the usual font and the scroll bar; a larger font scrolls.
    Memo_TabPreview->setFixedHeight(100);
    auto *tabLayout = new QVBoxLayout(groupBox1);
    tabLayout->addWidget(TrackBar_TabStopPosition);
    tabLayout->addWidget(Label_TabStopPosition);
    tabLayout->addWidget(label1);
    tabLayout->addWidget(Memo_TabPreview, 1);

    auto *groupBox2 = new QGroupBox(QStringLiteral("Schriftarten"), this);
    groupBox2->setObjectName(QStringLiteral("GroupBox2"));
    QLabel *label2 =
        addLabel(groupBox2, "Label2", QStringLiteral("Im Bearbeitungsfenster der Einträge:"));
    Label_Font1 = addLabel(groupBox2, "Label_Font1", {});
    Button_ChangeF2Font = addButton(groupBox2, "Button_ChangeF2Font", QStringLiteral("Bearbeiten"));
    Button_ChangeF2Font->setAccessibleDescription(label2->text());
    auto *separator = new QFrame(groupBox2);
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    QLabel *label4 =
        addLabel(groupBox2, "Label4", QStringLiteral("Im Bearbeitungsfenster der Vorlagen:"));
    Label_Font2 = addLabel(groupBox2, "Label_Font2", {});
    Button_ChangeF3Font = addButton(groupBox2, "Button_ChangeF3Font", QStringLiteral("Bearbeiten"));
    Button_ChangeF3Font->setAccessibleDescription(label4->text());
    auto *fontLayout = new QGridLayout(groupBox2);
    fontLayout->addWidget(label2, 0, 0, 1, 2);
    fontLayout->addWidget(Label_Font1, 1, 0);
    fontLayout->addWidget(Button_ChangeF2Font, 1, 1);
    fontLayout->addWidget(separator, 2, 0, 1, 2);
    fontLayout->addWidget(label4, 3, 0, 1, 2);
    fontLayout->addWidget(Label_Font2, 4, 0);
    fontLayout->addWidget(Button_ChangeF3Font, 4, 1);
    fontLayout->setColumnStretch(0, 1);
    fontLayout->setRowStretch(5, 1);

    const DialogButtons buttons = makeDialogButtons(this);
    Button_OK = buttons.accept;
    Button_Cancel = buttons.cancel;

    auto *groups = new QHBoxLayout;
    groups->addWidget(groupBox1, 1);
    groups->addWidget(groupBox2, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(groups, 1);
    layout->addLayout(buttons.row);
    // A fixed dialog of its documented size, or larger where the fonts ask for more room.
    setFixedSize(layout->sizeHint().expandedTo(QSize(641, 258)));

    connect(TrackBar_TabStopPosition, &QSlider::valueChanged, this,
            &DisplaySettingsWindow::TrackBar_TabStopPositionChange);
    connect(Button_ChangeF2Font, &QPushButton::clicked, this, [this] { Button_ChangeFontClick(0); });
    connect(Button_ChangeF3Font, &QPushButton::clicked, this, [this] { Button_ChangeFontClick(1); });
    connect(Button_OK, &QPushButton::clicked, this, &DisplaySettingsWindow::Button_OKClick);
}

void DisplaySettingsWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    m_fonts = {m_settings.font(CodeFieldSettings::ItemEditorFont),
               m_settings.font(CodeFieldSettings::TemplateManagerFont)};
    showFonts();
    Memo_TabPreview->setFont(m_fonts[0]);
    // The change step runs even when the position stays the same.
    const QSignalBlocker block(TrackBar_TabStopPosition);
    TrackBar_TabStopPosition->setValue(m_settings.tabStop());
    TrackBar_TabStopPositionChange(TrackBar_TabStopPosition->value());
    Button_OK->setFocus();
}

void DisplaySettingsWindow::showFonts()
{
    Label_Font1->setText(CodeFieldSettings::describe(m_fonts[0]));
    Label_Font2->setText(CodeFieldSettings::describe(m_fonts[1]));
}

void DisplaySettingsWindow::TrackBar_TabStopPositionChange(int position)
{
    Label_TabStopPosition->setText(QString::number(position));
    Memo_TabPreview->setTabStopUnits(position);
}

void DisplaySettingsWindow::Button_ChangeFontClick(int font)
{
    QFontDialog dialog(m_fonts[std::size_t(font)], this);
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_fonts[std::size_t(font)] = dialog.selectedFont();
    showFonts();
    if (font == 0)
        Memo_TabPreview->setFont(m_fonts[0]); // the field sets its tab stops again
}

void DisplaySettingsWindow::Button_OKClick()
{
    m_settings.apply(m_fonts[0], m_fonts[1], TrackBar_TabStopPosition->value());
    accept();
}

} // namespace lexora
