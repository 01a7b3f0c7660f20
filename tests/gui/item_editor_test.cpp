// The item editor in its real window on a document: what it shows, what OK stores, that Cancel
// stores nothing, the preview and its settings.
#include "browser/browser_view.h"
#include "codefield/code_field.h"
#include "codefield/code_field_settings.h"
#include "codefield/code_tool_bar.h"
#include "database/default_database.h"
#include "database/win1252.h"
#include "document/document.h"
#include "editor/editor_preview.h"
#include "editor/item_editor.h"
#include "settings/settings.h"
#include "support/gui_child.h"
#include "support/gui_main_window.h"
#include "support/gui_modal.h"
#include "support/progress.h"
#include "support/scripted_prompt.h"
#include "text/today.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QWebEnginePage>

#include <gtest/gtest.h>

#include <optional>

using namespace lexora;
using namespace lexora::test;

namespace {

QStringList entries(const QComboBox *box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

// A document with the built-in default templates ("HTML #1" … "HTML #5", "CSS #1") and one item.
class ItemEditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString templates = dir.filePath(QStringLiteral("Default.lxd"));
        WriteDefaultDatabase(templates);
        document.newDatabase(templates);
        auto values = document.newTipItem();
        values->Code = "alt\r\nzweite Zeile";
        values->Modified = 40000;
        values->ModifiedBy = "jemand";
        values->HTMLTemplate = document.database().HTMLTemplates[1].get();
        values->CSSTemplate = nullptr;
        item = document.appendNode(nullptr, "Eintrag", std::move(values));
        document.setModified(false);
    }

    // Opens the editor for node, lets act work in it and returns what EditItem returned.
    bool edit(Node *node, const std::function<void(ItemEditor *)> &act)
    {
        whenModal([&](QWidget *modal) {
            auto *form = qobject_cast<ItemEditor *>(modal);
            ASSERT_NE(form, nullptr);
            act(form);
            // Closed without a question, as "Abbrechen" closes it.
            if (form->isVisible())
                form->QDialog::reject();
        });
        return editor.EditItem(node);
    }

    QTemporaryDir dir;
    ScriptedPrompt prompt;
    NoProgress progress;
    Document document{dir.path() + QLatin1Char('/'), "tester", prompt, progress};
    CodeMenus menus{[this]() -> const Database & { return document.database(); }};
    CodeFieldSettings look;
    ItemEditor editor{document, menus, look};
    Node *item = nullptr;
};

} // namespace

TEST_F(ItemEditorTest, ShowsTheItemWithItsTemplates)
{
    const Database &db = document.database();
    edit(item, [&db](ItemEditor *f) {
        EXPECT_EQ(f->windowTitle(), QStringLiteral("Eintrag bearbeiten"));
        EXPECT_EQ(child<QLabel>(f, "Panel6")->text(), QStringLiteral("HTML-Quelltext"));
        EXPECT_EQ(child<QLabel>(f, "Panel2")->text(), QStringLiteral("Vorschau"));
        EXPECT_EQ(child<CodeField>(f, "Memo_Content")->toPlainText(), QStringLiteral("alt\nzweite Zeile"));
        auto *html = child<QComboBox>(f, "ComboBox_HTMLTemplate");
        QStringList names{QStringLiteral("Keine Vorlage")};
        for (const auto &t : db.HTMLTemplates)
            names << win1252::toUnicode(t->Name);
        EXPECT_EQ(names.size(), 6);
        EXPECT_EQ(entries(html), names);
        EXPECT_EQ(html->currentIndex(), 2);
        auto *css = child<QComboBox>(f, "ComboBox_CSSTemplate");
        EXPECT_EQ(entries(css), QStringList({QStringLiteral("Keine Vorlage"), QStringLiteral("CSS #1")}));
        EXPECT_EQ(css->currentIndex(), 0);
        EXPECT_EQ(css->currentText(), QStringLiteral("Keine Vorlage"));
        auto *autoFormat = child<QCheckBox>(f, "CheckBox_AutoFormat");
        EXPECT_TRUE(autoFormat->isChecked());
        EXPECT_EQ(autoFormat->text(),
                  QStringLiteral("Automatisches Ersetzen der Zeilenumbrüche durch \"<br>\""));
        EXPECT_EQ(child<QPushButton>(f, "Button_UpdatePreview")->text(), QStringLiteral("&Vorschau aktualisieren"));
        EXPECT_EQ(child<QPushButton>(f, "Button_Cancel")->text(), QStringLiteral("Ab&brechen"));
        EXPECT_TRUE(child<QPushButton>(f, "Button_OK")->isDefault());
        EXPECT_EQ(child<QToolButton>(f, "ToolButton_Tag")->text(), QStringLiteral("<b>"));
        EXPECT_EQ(child<QToolButton>(f, "ToolButton_Keyword")->text(), QStringLiteral("%css%"));
        EXPECT_EQ(child<QWidget>(f, "Panel5")->minimumWidth(), ItemEditor::MinCodeAreaWidth);

        // Hints of the menus and controls go to the editor's status bar.
        QStatusTipEvent tip(QStringLiteral("Fett"));
        QApplication::sendEvent(child<QToolButton>(f, "ToolButton_Tag"), &tip);
        EXPECT_EQ(child<QStatusBar>(f, "StatusBar")->currentMessage(), QStringLiteral("Fett"));
    });
}

TEST_F(ItemEditorTest, OkStoresCodeTemplatesFlagDateAndUser)
{
    QSignalSpy changed(&document, &Document::itemChanged);
    const bool ok = edit(item, [](ItemEditor *f) {
        auto *field = child<CodeField>(f, "Memo_Content");
        field->selectAll();
        field->insertPlainText(QString::fromUtf8("neu \xCE\xA9  \n<b>fett</b>\t"));
        child<QComboBox>(f, "ComboBox_HTMLTemplate")->setCurrentIndex(0);
        child<QComboBox>(f, "ComboBox_CSSTemplate")->setCurrentIndex(1);
        child<QCheckBox>(f, "CheckBox_AutoFormat")->click();
        child<QPushButton>(f, "Button_OK")->click();
    });
    EXPECT_TRUE(ok);
    const TTipItem &stored = *item->item();
    EXPECT_EQ(stored.Code, QByteArray("neu &#937;\r\n<b>fett</b>"));
    EXPECT_EQ(stored.HTMLTemplate, nullptr);
    EXPECT_EQ(stored.CSSTemplate, document.database().CSSTemplates[0].get());
    EXPECT_FALSE(stored.AutoFormat);
    EXPECT_EQ(stored.Modified, today());
    EXPECT_EQ(stored.ModifiedBy, QByteArray("tester"));
    EXPECT_TRUE(document.isModified());
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed[0][0].value<Node *>(), item);
}

TEST_F(ItemEditorTest, OkWithoutChangesStillDatesAndSignsButKeepsTheCodesBytes)
{
    TTipItem values = *item->item();
    values.Code = "lone\nline feed\r\n";
    document.setItem(item, values);
    document.setModified(false);
    EXPECT_TRUE(edit(item, [](ItemEditor *f) { child<QPushButton>(f, "Button_OK")->click(); }));
    EXPECT_EQ(item->item()->Code, QByteArray("lone\nline feed\r\n"));
    EXPECT_EQ(item->item()->HTMLTemplate, document.database().HTMLTemplates[1].get());
    EXPECT_TRUE(item->item()->AutoFormat);
    EXPECT_EQ(item->item()->Modified, today());
    EXPECT_EQ(item->item()->ModifiedBy, QByteArray("tester"));
    EXPECT_TRUE(document.isModified());
}

TEST_F(ItemEditorTest, CancelAndEscapeChangeNothing)
{
    QSignalSpy changed(&document, &Document::itemChanged);
    for (const bool escape : {false, true}) {
        if (escape)
            prompt.answer(UserPrompt::Answer::No);
        const bool ok = edit(item, [escape](ItemEditor *f) {
            child<CodeField>(f, "Memo_Content")->setPlainText(QStringLiteral("anders"));
            child<QComboBox>(f, "ComboBox_CSSTemplate")->setCurrentIndex(1);
            child<QCheckBox>(f, "CheckBox_AutoFormat")->click();
            if (escape)
                QTest::keyClick(f, Qt::Key_Escape);
            else
                child<QPushButton>(f, "Button_Cancel")->click();
        });
        EXPECT_FALSE(ok);
    }
    EXPECT_EQ(item->item()->Code, QByteArray("alt\r\nzweite Zeile"));
    EXPECT_EQ(item->item()->CSSTemplate, nullptr);
    EXPECT_TRUE(item->item()->AutoFormat);
    EXPECT_EQ(item->item()->Modified, 40000);
    EXPECT_FALSE(document.isModified());
    EXPECT_EQ(changed.size(), 0);
    EXPECT_TRUE(prompt.allAnswersUsed());
}

TEST_F(ItemEditorTest, LeavingWithChangedFieldsAsksWhetherToTakeThem)
{
    enum class Leave { CancelButton, Escape, TitleBarClose };
    using A = UserPrompt::Answer;
    const struct {
        const char *name;
        Leave leave;
        bool change;
        std::optional<A> answer; // nullopt: no question
        bool stillOpen;
        bool stored;
    } cases[] = {
        {"Abbrechen with changes: no question", Leave::CancelButton, true, std::nullopt, false, false},
        {"Escape, nothing changed: closes at once", Leave::Escape, false, std::nullopt, false, false},
        {"close, nothing changed", Leave::TitleBarClose, false, std::nullopt, false, false},
        {"Escape, Nein", Leave::Escape, true, A::No, false, false},
        {"close, Nein", Leave::TitleBarClose, true, A::No, false, false},
        {"Escape, Ja", Leave::Escape, true, A::Yes, false, true},
        {"close, Ja", Leave::TitleBarClose, true, A::Yes, false, true},
        {"Escape, Abbrechen", Leave::Escape, true, A::Cancel, true, false},
        {"close, Abbrechen", Leave::TitleBarClose, true, A::Cancel, true, false},
    };
    const TTipItem original = *item->item();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        if (c.answer)
            prompt.answer(*c.answer);
        const qsizetype shownBefore = prompt.shown().size();
        bool open = false;
        const bool ok = edit(item, [&](ItemEditor *f) {
            if (c.change)
                child<QComboBox>(f, "ComboBox_CSSTemplate")->setCurrentIndex(1);
            switch (c.leave) {
            case Leave::CancelButton:
                child<QPushButton>(f, "Button_Cancel")->click();
                break;
            case Leave::Escape:
                QTest::keyClick(f, Qt::Key_Escape);
                break;
            case Leave::TitleBarClose:
                f->close();
                break;
            }
            open = f->isVisible();
        });
        EXPECT_EQ(open, c.stillOpen);
        EXPECT_EQ(ok, c.stored);
        EXPECT_EQ(item->item()->CSSTemplate != nullptr, c.stored);
        ASSERT_EQ(prompt.shown().size(), shownBefore + (c.answer ? 1 : 0));
        if (c.answer) {
            EXPECT_EQ(prompt.shown().back().text, QStringLiteral("Sollen die Änderungen übernommen werden?"));
            EXPECT_EQ(prompt.shown().back().caption, QStringLiteral("Eintrag bearbeiten"));
        }
        document.setItem(item, original);
    }
}

TEST_F(ItemEditorTest, PreviewShowsTheTextWithTheChosenTemplatesAndFollowsTyping)
{
    edit(item, [](ItemEditor *f) {
        auto *preview = f->findChild<EditorPreview *>();
        ASSERT_NE(preview, nullptr);
        auto *browser = child<BrowserView>(f, "WebBrowser");
        const auto pageText = [browser] {
            return runJavaScript(browser->page(), QStringLiteral("document.body.innerHTML")).toString();
        };
        ASSERT_TRUE(QTest::qWaitFor([&] { return pageText().contains(QStringLiteral("alt<br>zweite")); }, 15000))
            << pageText().toStdString();

        // Typing: the page follows after a pause, without a click.
        QSignalSpy written(preview, &EditorPreview::pageWritten);
        auto *field = child<CodeField>(f, "Memo_Content");
        field->setSelection(Selection::caret(0));
        QTest::keyClicks(field, QStringLiteral("%headline%:"));
        EXPECT_TRUE(written.isEmpty());
        ASSERT_TRUE(written.wait(5000));
        EXPECT_EQ(written.size(), 1);
        ASSERT_TRUE(QTest::qWaitFor([&] { return pageText().contains(QStringLiteral("Eintrag:alt<br>")); }, 15000))
            << pageText().toStdString();

        // The check box and the template lists rebuild the page at once.
        child<QCheckBox>(f, "CheckBox_AutoFormat")->click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return pageText().contains(QStringLiteral("Eintrag:alt\nzweite")); }, 15000))
            << pageText().toStdString();
        child<QComboBox>(f, "ComboBox_HTMLTemplate")->setCurrentIndex(0);
        ASSERT_TRUE(QTest::qWaitFor([&] { return pageText().startsWith(QStringLiteral("Eintrag:alt")); }, 15000))
            << pageText().toStdString();
    });
}

TEST_F(ItemEditorTest, SettingsReachTheWindowAndComeBack)
{
    Settings in;
    in.F2_Wrap = true;
    in.F2_RightArea = 250;
    in.F2_Width = 900;
    in.F2_Height = 560;
    in.F2_Maximized = false;
    editor.applySettings(in);
    int rightWidth = 0;
    edit(item, [&rightWidth](ItemEditor *f) {
        EXPECT_TRUE(child<QToolButton>(f, "ToolButton_WantWrap")->isChecked());
        EXPECT_TRUE(child<CodeField>(f, "Memo_Content")->wraps());
        EXPECT_EQ(f->size(), QSize(900, 560));
        EXPECT_EQ(child<QWidget>(f, "Panel_RightArea")->width(), 250);
        // A drag never makes the code side narrower than its minimum.
        auto *splitter = child<QSplitter>(f, "Splitter");
        splitter->setSizes({10, splitter->width()});
        EXPECT_GE(child<QWidget>(f, "Panel5")->width(), ItemEditor::MinCodeAreaWidth);
        splitter->setSizes({600, 280});
        rightWidth = child<QWidget>(f, "Panel_RightArea")->width();
    });
    Settings out;
    editor.storeSettings(out);
    EXPECT_TRUE(out.F2_Wrap);
    EXPECT_EQ(out.F2_Width, 900);
    EXPECT_EQ(out.F2_Height, 560);
    EXPECT_FALSE(out.F2_Maximized);
    EXPECT_NE(rightWidth, 250);
    EXPECT_EQ(out.F2_RightArea, rightWidth);
}
