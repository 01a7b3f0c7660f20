// The code field adapter and its tool bar: real key presses, leaving the field, the model's
// text, the tag and placeholder menus in two windows, and the shared fonts and tab stops.
#include "codefield/code_field.h"
#include "codefield/code_field_settings.h"
#include "codefield/code_tool_bar.h"
#include "render/placeholders.h"
#include "support/gui_child.h"
#include "support/marked_text.h"
#include "text/code_insertions.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <functional>

#include <gtest/gtest.h>

using namespace lexora;
using namespace lexora::test;

namespace {

// A window with a tool bar, a code field and a line edit to move the focus to.
struct CodeWindow {
    explicit CodeWindow(CodeMenus &menus, const QToolBar *editorBar = nullptr)
    {
        auto *layout = new QVBoxLayout(&window);
        bar = editorBar ? CopyEditorToolBar(menus, *editorBar, &window) : menus.createToolBar(&window);
        field = new CodeField(&window);
        other = new QLineEdit(&window);
        layout->addWidget(bar);
        layout->addWidget(field);
        layout->addWidget(other);
        window.show();
        field->setFocus();
    }
    QToolButton *button(const char *name) { return child<QToolButton>(bar, name); }
    void set(const QString &marked)
    {
        const MarkedText m = parseMarked(marked);
        field->setPlainText(m.text);
        field->setSelection(m.selection);
    }
    QString marked() const { return markText(field->toPlainText(), field->selection()); }

    QWidget window;
    QToolBar *bar = nullptr;
    CodeField *field = nullptr;
    QLineEdit *other = nullptr;
};

// Chooses an entry from the drop-down menu of button, as a click in the open menu would. A
// submenu is filled first, as opening it does; pick then finds the entry.
void chooseFromMenu(QToolButton *button, std::function<QAction *()> pick, QMenu *submenu = nullptr)
{
    QTimer::singleShot(0, [=] {
        if (submenu)
            Q_EMIT submenu->aboutToShow();
        pick()->trigger();
        button->menu()->close();
    });
    button->showMenu();
}

QAction *entryWithData(QMenu *menu, int tag)
{
    for (QAction *a : menu->actions())
        if (!a->isSeparator() && !a->menu() && a->data().toInt() == tag)
            return a;
    return nullptr;
}

QMenu *submenuOf(QMenu *menu, int row)
{
    for (QAction *a : menu->actions())
        if (a->menu() && a->data().toInt() == row)
            return a->menu();
    return nullptr;
}

class CodeFieldTest : public ::testing::Test {
protected:
    Database db;
    CodeMenus menus{[this]() -> const Database & { return db; }};
};

} // namespace

TEST_F(CodeFieldTest, KeysFollowTheCodeEditorRules)
{
    CodeWindow w(menus);
    w.set(QStringLiteral("\t\tfoo|bar"));
    QTest::keyClick(w.field, Qt::Key_Return);
    EXPECT_EQ(w.marked(), QStringLiteral("\t\tfoo\n\t\t|bar"));

    w.set(QStringLiteral("x\n[  a\nb|\nc"));
    QTest::keyClick(w.field, Qt::Key_U, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(w.marked(), QStringLiteral("x\n[a\nb|\nc"));
    QTest::keyClick(w.field, Qt::Key_K, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(w.marked(), QStringLiteral("x\n\t[a\n\tb|\nc"));
    // One key, one step back.
    w.field->undo();
    EXPECT_EQ(w.field->toPlainText(), QStringLiteral("x\na\nb\nc"));

    w.set(QStringLiteral("a|"));
    QTest::keyClick(w.field, Qt::Key_Tab);
    QTest::keyClick(w.field, Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(w.field->toPlainText(), QStringLiteral("a\t"));
    QKeyEvent controlCharacter(QEvent::KeyPress, Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier,
                               QStringLiteral("\t"));
    QApplication::sendEvent(w.field, &controlCharacter);
    EXPECT_EQ(w.field->toPlainText(), QStringLiteral("a\t"));
}

TEST_F(CodeFieldTest, LeavingTheFieldTrimsLineEndsButOpeningAMenuDoesNot)
{
    CodeWindow w(menus);
    QApplication::setActiveWindow(&w.window);
    w.set(QStringLiteral("a  \nb \t|"));
    QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
    QApplication::sendEvent(w.field, &popup);
    EXPECT_EQ(w.field->toPlainText(), QStringLiteral("a  \nb \t"));
    w.other->setFocus(Qt::TabFocusReason);
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(w.field, &leave);
    EXPECT_EQ(w.field->toPlainText(), QStringLiteral("a\nb"));
}

TEST_F(CodeFieldTest, TheModelGetsWindows1252WithReferences)
{
    CodeField field;
    // Unchanged code comes back byte for byte, line feeds and all.
    field.setCode("a\nb\r\n\xA0\xE4");
    EXPECT_EQ(field.toPlainText().size(), 6);
    EXPECT_EQ(field.code(), QByteArray("a\nb\r\n\xA0\xE4"));
    // Typed or pasted text: line breaks as CR LF, other scripts and emoji as references, the
    // non-breaking space kept.
    field.selectAll();
    field.insertPlainText(QString::fromUtf8("\xCE\xA9 \xE2\x86\x92\n\xC2\xA0\xF0\x9F\x98\x80\xC3\xA4"));
    EXPECT_EQ(field.code(), QByteArray("&#937; &#8594;\r\n\xA0&#128512;\xE4"));
}

TEST_F(CodeFieldTest, TagMenuInsertsAndTheButtonRepeatsTheLastTag)
{
    CodeWindow w(menus);
    QToolButton *tag = w.button("ToolButton_Tag");
    ASSERT_NE(tag, nullptr);
    EXPECT_EQ(tag->text(), QStringLiteral("<b>"));
    EXPECT_EQ(tag->toolTip(), QStringLiteral("Tag einfügen"));
    EXPECT_EQ(tag->menu(), menus.PopupMenu_Tags());
    ASSERT_EQ(menus.PopupMenu_Tags()->actions().size(), 17);
    EXPECT_EQ(menus.PopupMenu_Tags()->actions()[15]->text(), QStringLiteral("<script ...>"));
    EXPECT_EQ(menus.PopupMenu_Tags()->actions()[2]->statusTip(), QStringLiteral("HTML-Körper"));

    w.set(QStringLiteral("[Hallo|"));
    tag->click();
    EXPECT_EQ(w.marked(), QStringLiteral("<b>[Hallo|</b>"));

    w.set(QStringLiteral("x[y|"));
    chooseFromMenu(tag, [this] { return entryWithData(menus.PopupMenu_Tags(), 9); });
    EXPECT_EQ(w.marked(), QStringLiteral("x<p>[y|</p>"));
    EXPECT_EQ(tag->text(), QStringLiteral("<p>"));
    w.field->setSelection(Selection::caret(0));
    tag->click();
    EXPECT_EQ(w.marked(), QStringLiteral("<p>|</p>x<p>y</p>"));
}

TEST_F(CodeFieldTest, UndoingAnEditOfTheFieldPutsTheCaretWhereTheEditWas)
{
    CodeWindow w(menus);
    QToolButton *tag = w.button("ToolButton_Tag");
    ASSERT_NE(tag, nullptr);
    const struct {
        const char *name;
        const char *before;
        std::function<void()> edit;
    } cases[] = {
        {"a tag from the tool bar", "Zeile eins\nabc|def", [&] { tag->click(); }},
        {"an indent key", "Zeile eins\nab|c", [&] {
             QTest::keyClick(w.field, Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier);
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        w.set(QString::fromUtf8(c.before));
        const int caret = w.field->textCursor().position();
        c.edit();
        ASSERT_NE(w.field->toPlainText(), parseMarked(QString::fromUtf8(c.before)).text);
        w.field->undo();
        EXPECT_EQ(w.marked(), QString::fromUtf8(c.before)) << "caret at " << caret;
    }
}

TEST_F(CodeFieldTest, PlaceholderSubmenusFollowTheListsAndTheButtonKeepsThePosition)
{
    for (const char *name : {"Rahmen", "Liste"})
        db.HTMLTemplates.push_back(std::make_unique<TTemplate>(TTemplate{name, "%text%", "Beschreibung"}));
    CodeWindow w(menus);
    QToolButton *keyword = w.button("ToolButton_Keyword");
    ASSERT_NE(keyword, nullptr);
    EXPECT_EQ(keyword->text(), QStringLiteral("%css%"));
    ASSERT_EQ(menus.PopupMenu_Keywords()->actions().size(), PlaceholderCount);
    QMenu *xhtml = submenuOf(menus.PopupMenu_Keywords(), PhXhtml);
    ASSERT_NE(xhtml, nullptr);

    // The submenu: the fixed entry, a separator and one entry per template, refilled each time.
    Q_EMIT xhtml->aboutToShow();
    ASSERT_EQ(xhtml->actions().size(), 4);
    EXPECT_TRUE(xhtml->actions()[1]->isSeparator());
    EXPECT_EQ(xhtml->actions()[2]->text(), QStringLiteral("Rahmen"));
    EXPECT_EQ(xhtml->actions()[3]->statusTip(), QStringLiteral("Beschreibung"));

    w.set(QStringLiteral("[abc|"));
    chooseFromMenu(keyword, [xhtml] { return xhtml->actions()[3]; }, xhtml);
    EXPECT_EQ(w.marked(), QStringLiteral("%>xhtml%Liste>[abc|%<xhtml%"));
    EXPECT_EQ(keyword->text(), QStringLiteral("%>xhtml%[Name]>[Inhalt]%<xhtml%"));

    // The button names the list position: after the first template is gone it names the one now
    // there, and once the list is shorter, none.
    db.HTMLTemplates.erase(db.HTMLTemplates.begin());
    w.set(QStringLiteral("|"));
    keyword->click();
    EXPECT_EQ(w.marked(), QStringLiteral("%>xhtml%>|%<xhtml%"));
    Q_EMIT xhtml->aboutToShow();
    EXPECT_EQ(xhtml->actions().size(), 3);

    w.set(QStringLiteral("[abc|"));
    chooseFromMenu(keyword, [this] { return entryWithData(menus.PopupMenu_Keywords(), PhHeadline); });
    EXPECT_EQ(w.marked(), QStringLiteral("%headline%|"));
}

TEST_F(CodeFieldTest, CopiedToolBarStartsFromTheEditorsChoiceAndActsOnItsOwnWindow)
{
    CodeWindow editor(menus);
    editor.set(QStringLiteral("|"));
    chooseFromMenu(editor.button("ToolButton_Tag"),
                   [this] { return entryWithData(menus.PopupMenu_Tags(), 6); });
    CodeWindow copy(menus, editor.bar);
    QStringList names;
    for (QObject *child : copy.bar->children())
        if (auto *b = qobject_cast<QToolButton *>(child); b && b->objectName().startsWith(u"ToolButton_"))
            names << b->objectName();
    EXPECT_EQ(names, QStringList({QStringLiteral("ToolButton_Tag"), QStringLiteral("ToolButton_Keyword"),
                                  QStringLiteral("ToolButton_WantWrap")}));
    EXPECT_EQ(copy.button("ToolButton_Tag")->text(), QStringLiteral("<table>"));
    EXPECT_EQ(copy.button("ToolButton_Tag")->menu(), menus.PopupMenu_Tags());

    copy.set(QStringLiteral("|"));
    copy.button("ToolButton_Tag")->click();
    EXPECT_EQ(copy.field->toPlainText(), QStringLiteral("<table></table>"));
    EXPECT_EQ(editor.field->toPlainText(), QStringLiteral("<table></table>"));
    copy.button("ToolButton_Keyword")->click();
    EXPECT_EQ(copy.marked(), QStringLiteral("<table>%css%|</table>"));
    EXPECT_EQ(editor.field->toPlainText(), QStringLiteral("<table></table>"));

    // Wrapping acts on the field of the button's window.
    copy.button("ToolButton_WantWrap")->click();
    EXPECT_TRUE(copy.field->wraps());
    EXPECT_FALSE(editor.field->wraps());
}

TEST_F(CodeFieldTest, FontsAndTabStopsReachEveryAttachedField)
{
    CodeFieldSettings look;
    Settings values;
    values.TabStop = 20;
    values.F3_Font.Size = 14;
    look.load(values);
    CodeField editorField, templateField;
    look.attach(&editorField, CodeFieldSettings::ItemEditorFont);
    look.attach(&templateField, CodeFieldSettings::TemplateManagerFont);
    EXPECT_EQ(editorField.tabStopUnits(), 20);
    EXPECT_EQ(editorField.font().pointSize(), 8);
    EXPECT_EQ(templateField.font().pointSize(), 14);
    EXPECT_DOUBLE_EQ(editorField.tabStopDistance(),
                     20 * QFontMetricsF(editorField.font()).averageCharWidth() / 4);

    QFont larger = editorField.font();
    larger.setPointSize(12);
    larger.setItalic(true);
    look.apply(larger, templateField.font(), 4);
    EXPECT_EQ(editorField.font().pointSize(), 12);
    EXPECT_EQ(templateField.tabStopUnits(), 4);
    EXPECT_DOUBLE_EQ(editorField.tabStopDistance(),
                     4 * QFontMetricsF(larger).averageCharWidth() / 4);

    Settings stored;
    look.store(stored);
    EXPECT_EQ(stored.TabStop, 4);
    EXPECT_EQ(stored.F2_Font.Size, 12);
    EXPECT_TRUE(stored.F2_Font.Italic);
    EXPECT_EQ(stored.F2_Font.Color, values.F2_Font.Color);
    EXPECT_EQ(stored.F3_Font.Size, 14);
}
