// The display settings of the code fields: the window's texts, its preview, and what OK and
// Cancel do to the fonts and tab stops of the code fields.
#include "codefield/code_field.h"
#include "codefield/code_field_settings.h"
#include "editor/display_settings_window.h"
#include "support/gui_child.h"
#include "support/gui_modal.h"

#include <QFontDialog>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

#include <gtest/gtest.h>

using namespace lexora;
using namespace lexora::test;

namespace {

// Answers the font dialog that the window opens next with font.
void whenFontDialog(QFont font, int triesLeft = 500)
{
    QTimer::singleShot(10, [font, triesLeft] {
        if (auto *dialog = qobject_cast<QFontDialog *>(QApplication::activeModalWidget())) {
            dialog->setCurrentFont(font);
            dialog->accept();
        } else if (triesLeft > 0) {
            whenFontDialog(font, triesLeft - 1);
        }
    });
}

class DisplaySettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        look.attach(&editorField, CodeFieldSettings::ItemEditorFont);
        look.attach(&templateField, CodeFieldSettings::TemplateManagerFont);
    }
    // Opens the window, lets change act in it, and closes it with the button named close.
    void run(const std::function<void(DisplaySettingsWindow *)> &change, const char *close)
    {
        DisplaySettingsWindow form(look);
        whenModal([&](QWidget *modal) {
            auto *f = qobject_cast<DisplaySettingsWindow *>(modal);
            ASSERT_NE(f, nullptr);
            change(f);
            child<QPushButton>(f, close)->click();
        });
        form.exec();
    }
    QFont fontOfSize(int points)
    {
        QFont f = editorField.font();
        f.setPointSize(points);
        return f;
    }

    CodeFieldSettings look;
    CodeField editorField;
    CodeField templateField;
};

} // namespace

TEST_F(DisplaySettingsTest, TextsAndThePreview)
{
    run([this](DisplaySettingsWindow *f) {
        EXPECT_EQ(f->windowTitle(), QStringLiteral("Anzeigeeigenschaften"));
        auto *track = child<QSlider>(f, "TrackBar_TabStopPosition");
        EXPECT_EQ(track->minimum(), 1);
        EXPECT_EQ(track->maximum(), 81);
        EXPECT_EQ(track->tickInterval(), 5);
        EXPECT_EQ(track->value(), 12);
        EXPECT_EQ(child<QLabel>(f, "Label_TabStopPosition")->text(), QStringLiteral("12"));
        EXPECT_EQ(child<QLabel>(f, "Label2")->text(), QStringLiteral("Im Bearbeitungsfenster der Einträge:"));
        EXPECT_EQ(child<QLabel>(f, "Label4")->text(), QStringLiteral("Im Bearbeitungsfenster der Vorlagen:"));
        EXPECT_EQ(child<QPushButton>(f, "Button_ChangeF2Font")->text(), QStringLiteral("Bearbeiten"));
        EXPECT_EQ(child<QPushButton>(f, "Button_Cancel")->text(), QStringLiteral("Ab&brechen"));
        const QString font1 = child<QLabel>(f, "Label_Font1")->text();
        EXPECT_TRUE(font1.endsWith(QStringLiteral(", 8 Punkte"))) << font1.toStdString();
        EXPECT_EQ(font1, CodeFieldSettings::describe(look.font(CodeFieldSettings::ItemEditorFont)));

        auto *preview = child<CodeField>(f, "Memo_TabPreview");
        EXPECT_TRUE(preview->isReadOnly());
        const QStringList lines = preview->toPlainText().split(u'\n');
        ASSERT_EQ(lines.size(), 5);
        EXPECT_EQ(lines[0], QStringLiteral("Tab _0 _1 _2 _3 _4 _5 _6 _7 _8 _9 "));
        EXPECT_EQ(lines[1], QStringLiteral("\tTab _1 _2 _3 _4 _5 _6 _7 _8 _9 _0"));
        EXPECT_EQ(lines[4], QStringLiteral("\t\t\t\tTab _4 _5 _6 _7 _8 _9 _0 _1 _2 _3"));
        track->setValue(81);
        EXPECT_EQ(child<QLabel>(f, "Label_TabStopPosition")->text(), QStringLiteral("81"));
        EXPECT_EQ(preview->tabStopUnits(), 81);
    }, "Button_Cancel");
}

TEST_F(DisplaySettingsTest, OkAppliesTheDistanceAndBothFontsToEveryField)
{
    run([this](DisplaySettingsWindow *f) {
        child<QSlider>(f, "TrackBar_TabStopPosition")->setValue(30);
        whenFontDialog(fontOfSize(11));
        child<QPushButton>(f, "Button_ChangeF2Font")->click();
        EXPECT_TRUE(child<QLabel>(f, "Label_Font1")->text().endsWith(QStringLiteral(", 11 Punkte")));
        auto *preview = child<CodeField>(f, "Memo_TabPreview");
        EXPECT_EQ(preview->font().pointSize(), 11);
        whenFontDialog(fontOfSize(15));
        child<QPushButton>(f, "Button_ChangeF3Font")->click();
        EXPECT_TRUE(child<QLabel>(f, "Label_Font2")->text().endsWith(QStringLiteral(", 15 Punkte")));
        // The preview always shows the item editor's font.
        EXPECT_EQ(preview->font().pointSize(), 11);
        // Nothing reaches the fields before OK.
        EXPECT_EQ(editorField.font().pointSize(), 8);
    }, "Button_OK");
    EXPECT_EQ(look.tabStop(), 30);
    EXPECT_EQ(editorField.font().pointSize(), 11);
    EXPECT_EQ(editorField.tabStopUnits(), 30);
    EXPECT_EQ(templateField.font().pointSize(), 15);
    EXPECT_EQ(templateField.tabStopUnits(), 30);
}

TEST_F(DisplaySettingsTest, CancelLeavesDistanceAndFonts)
{
    run([this](DisplaySettingsWindow *f) {
        child<QSlider>(f, "TrackBar_TabStopPosition")->setValue(2);
        whenFontDialog(fontOfSize(20));
        child<QPushButton>(f, "Button_ChangeF2Font")->click();
        whenFontDialog(fontOfSize(21));
        child<QPushButton>(f, "Button_ChangeF3Font")->click();
    }, "Button_Cancel");
    EXPECT_EQ(look.tabStop(), 12);
    EXPECT_EQ(editorField.font().pointSize(), 8);
    EXPECT_EQ(templateField.font().pointSize(), 8);
    EXPECT_EQ(editorField.tabStopUnits(), 12);

    // The next showing starts from the applied values again.
    run([](DisplaySettingsWindow *f) {
        EXPECT_EQ(child<QSlider>(f, "TrackBar_TabStopPosition")->value(), 12);
        EXPECT_TRUE(child<QLabel>(f, "Label_Font2")->text().endsWith(QStringLiteral(", 8 Punkte")));
    }, "Button_Cancel");
}
