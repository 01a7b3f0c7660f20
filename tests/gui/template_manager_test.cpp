// The template manager in the running program: opened from its menu entry, the name check in the
// warning balloon, a new template, a rename that rewrites the items, the CSS tab and a delete.
#include "templates/template_manager.h"

#include "app/window_manager.h"
#include "codefield/code_field.h"
#include "database/win1252.h"
#include "help/balloon_help.h"
#include "help/balloons.h"
#include "support/gui_main_window.h"
#include "support/gui_modal.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <optional>

using namespace lexora;
using namespace lexora::test;

namespace {

class TemplateManagerTest : public MainWindowTest {
protected:
    QStringList rows(const TemplateManager &form) const
    {
        QStringList out;
        const QAbstractItemModel *model = form.ListView_Templates->model();
        for (int r = 0; r < model->rowCount(); ++r)
            out.append(model->index(r, 0).data().toString());
        return out;
    }
    int row(const TemplateManager &form, const char *name) const { return int(rows(form).indexOf(name)); }
    void clickRow(TemplateManager &form, const char *name)
    {
        const QModelIndex index = form.ListView_Templates->model()->index(row(form, name), 0);
        ASSERT_TRUE(index.isValid()) << name;
        QTest::mouseClick(form.ListView_Templates->viewport(), Qt::LeftButton, {},
                          form.ListView_Templates->visualRect(index).center());
    }
    QString selected(const TemplateManager &form) const
    {
        const TTemplate *tmpl = form.selectedTemplate();
        return tmpl ? win1252::toUnicode(tmpl->Name) : QString();
    }
};

TEST_F(TemplateManagerTest, TheMenuEntryOpensIt)
{
    start();
    QAction *command = window->command("MenuItem_Templates");
    ASSERT_TRUE(command->isEnabled());
    QWidget *shown = nullptr;
    whenModal([&](QWidget *modal) {
        shown = modal;
        QTest::mouseClick(static_cast<TemplateManager *>(modal)->Button_Close, Qt::LeftButton);
    });
    command->trigger();
    EXPECT_EQ(shown, &app->templateManager());
    EXPECT_EQ(shown->windowTitle(), QStringLiteral("HTML- und CSS-Vorlagen"));
}

TEST_F(TemplateManagerTest, NewSaveRenameAndDeleteThroughTheWindow)
{
    start();
    // The standard template database: five HTML templates, "HTML #1" the default, and "CSS #1".
    Node *item = addItem(nullptr, "Eintrag", "%>xhtml%HTML #1>innen%<xhtml% %xcss%CSS #1>");
    TemplateManager &form = app->templateManager();
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const QStringList html = rows(form);
    ASSERT_EQ(html.size(), int(db().HTMLTemplates.size()));
    EXPECT_EQ(form.TabControl->currentIndex(), 0);
    EXPECT_TRUE(form.ToolBar->isVisible());
    EXPECT_EQ(form.ToolBar->findChild<QToolButton *>(QStringLiteral("ToolButton_Tag"))->text(),
              QStringLiteral("<html>"));
    const QModelIndex defaultRow = form.ListView_Templates->model()->index(row(form, "HTML #1"), 0);
    EXPECT_TRUE(defaultRow.data(Qt::FontRole).value<QFont>().bold());
    EXPECT_FALSE(form.ListView_Templates->model()->index(0, 0).data(Qt::FontRole).value<QFont>().bold());
    EXPECT_FALSE(form.Button_Del->isEnabled());
    EXPECT_FALSE(form.CheckBox_Default->isChecked()) << "the list has templates";

    // Nothing entered: the balloon at the name, nothing saved.
    QTest::mouseClick(form.Button_New, Qt::LeftButton);
    QTest::mouseClick(form.Button_Save, Qt::LeftButton);
    TQZBalloonHelp &warning = *app->balloons().BalloonWarning;
    EXPECT_TRUE(warning.isVisible());
    EXPECT_EQ(warning.tipControl(), form.Edit_Name);
    EXPECT_EQ(warning.Text, QStringLiteral("Sie müssen einen Namen für die Vorlage eingeben."));
    EXPECT_EQ(rows(form), html);

    // A taken name: refused the same way, the fields keep what was typed.
    QTest::keyClicks(form.Edit_Name, QStringLiteral("Code #1"));
    QTest::mouseClick(form.Button_Save, Qt::LeftButton);
    EXPECT_EQ(warning.Text,
              QStringLiteral("Der Name \"Code #1\" ist bereits von einer anderen Vorlage belegt."));
    EXPECT_EQ(form.Edit_Name->text(), QStringLiteral("Code #1"));

    // A new template, saved with the keyboard's default button.
    form.Edit_Name->clear();
    QTest::keyClicks(form.Edit_Name, QStringLiteral("Rahmen"));
    QTest::keyClicks(form.Edit_Description, QStringLiteral("Ein Kasten"));
    QTest::keyClicks(form.Memo_Content, QStringLiteral("<div>%text%</div>"));
    QTest::keyClick(form.Edit_Name, Qt::Key_Return);
    const TTemplate *rahmen = db().FindTemplate(HtmlTemplates, "Rahmen");
    ASSERT_NE(rahmen, nullptr);
    EXPECT_EQ(rahmen->Code, Text("<div>%text%</div>"));
    EXPECT_EQ(rahmen->Description, Text("Ein Kasten"));
    EXPECT_EQ(selected(form), QStringLiteral("Rahmen"));
    EXPECT_TRUE(form.Button_Del->isEnabled());
    EXPECT_TRUE(doc().isModified());

    // Renaming the default rewrites the item's reference and keeps it the default.
    clickRow(form, "HTML #1");
    EXPECT_TRUE(form.CheckBox_Default->isChecked());
    form.Edit_Name->setText(QStringLiteral("Seite"));
    QTest::mouseClick(form.Button_Save, Qt::LeftButton);
    EXPECT_EQ(item->item()->Code, Text("%>xhtml%Seite>innen%<xhtml% %xcss%CSS #1>"));
    EXPECT_EQ(db().DefaultHTMLTemplate, db().FindTemplate(HtmlTemplates, "Seite"));
    EXPECT_EQ(selected(form), QStringLiteral("Seite"));
    EXPECT_EQ(form.Edit_Name->text(), QStringLiteral("Seite"));

    // The CSS tab: no tool bar; deleting its only template, the default, leaves the items none
    // and an empty list whose next template is offered as default.
    form.TabControl->setCurrentIndex(1);
    EXPECT_FALSE(form.ToolBar->isVisible());
    EXPECT_FALSE(warning.isVisible());
    EXPECT_EQ(rows(form), QStringList{"CSS #1"});
    EXPECT_TRUE(form.Edit_Name->text().isEmpty());
    clickRow(form, "CSS #1");
    EXPECT_EQ(form.Edit_Name->text(), QStringLiteral("CSS #1"));
    QTest::mouseClick(form.Button_Del, Qt::LeftButton);
    EXPECT_TRUE(rows(form).isEmpty());
    EXPECT_EQ(item->item()->CSSTemplate, nullptr);
    EXPECT_EQ(db().DefaultCSSTemplate, nullptr);
    EXPECT_TRUE(form.Edit_Name->text().isEmpty());
    EXPECT_TRUE(form.CheckBox_Default->isChecked());
    EXPECT_FALSE(form.Button_Del->isEnabled());
    form.close();
}

} // namespace

TEST_F(TemplateManagerTest, ChangedFieldsAreAskedAboutBeforeTheyWouldGo)
{
    start();
    TemplateManager &form = app->templateManager();
    using A = UserPrompt::Answer;
    enum class Leave { OtherTemplate, OtherTab, New, Escape, CloseButton };
    const struct {
        const char *name;
        Leave leave;
        std::optional<A> answer; // nullopt: nothing was changed, nothing is asked
        bool left;               // the fields or the window went on
        bool saved;
    } cases[] = {
        {"another template, nothing changed", Leave::OtherTemplate, std::nullopt, true, false},
        {"another template, Ja", Leave::OtherTemplate, A::Yes, true, true},
        {"another template, Nein", Leave::OtherTemplate, A::No, true, false},
        {"another template, Abbrechen", Leave::OtherTemplate, A::Cancel, false, false},
        {"the CSS tab, Ja", Leave::OtherTab, A::Yes, true, true},
        {"the CSS tab, Abbrechen", Leave::OtherTab, A::Cancel, false, false},
        {"Neu, Nein", Leave::New, A::No, true, false},
        {"Neu, Abbrechen", Leave::New, A::Cancel, false, false},
        {"Escape, nothing changed", Leave::Escape, std::nullopt, true, false},
        {"Escape, Ja", Leave::Escape, A::Yes, true, true},
        {"Escape, Abbrechen", Leave::Escape, A::Cancel, false, false},
        {"Schließen, Nein", Leave::CloseButton, A::No, true, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        clickRow(form, "Code #1");
        ASSERT_EQ(selected(form), QStringLiteral("Code #1"));
        const qsizetype shownBefore = prompt.shown().size();
        if (c.answer) {
            prompt.answer(*c.answer);
            form.Edit_Description->setText(QStringLiteral("geändert"));
        }
        switch (c.leave) {
        case Leave::OtherTemplate:
            clickRow(form, ".Code #2");
            EXPECT_EQ(selected(form), c.left ? QStringLiteral(".Code #2") : QStringLiteral("Code #1"));
            break;
        case Leave::OtherTab:
            form.TabControl->setCurrentIndex(CssTemplates);
            EXPECT_EQ(form.TabControl->currentIndex(), c.left ? CssTemplates : HtmlTemplates);
            break;
        case Leave::New:
            QTest::mouseClick(form.Button_New, Qt::LeftButton);
            EXPECT_EQ(form.Edit_Name->text().isEmpty(), c.left);
            break;
        case Leave::Escape:
            QTest::keyClick(&form, Qt::Key_Escape);
            EXPECT_EQ(form.isVisible(), !c.left);
            break;
        case Leave::CloseButton:
            QTest::mouseClick(form.Button_Close, Qt::LeftButton);
            EXPECT_EQ(form.isVisible(), !c.left);
            break;
        }
        if (!c.left) {
            EXPECT_EQ(form.Edit_Description->text(), QStringLiteral("geändert")) << "the typing stays";
        }
        const TTemplate *edited = db().FindTemplate(HtmlTemplates, "Code #1");
        ASSERT_NE(edited, nullptr);
        EXPECT_EQ(edited->Description == "ge\xE4ndert", c.saved);
        ASSERT_EQ(prompt.shown().size(), shownBefore + (c.answer ? 1 : 0));
        if (c.answer) {
            EXPECT_EQ(prompt.shown().back().text, QStringLiteral("Sollen die Änderungen übernommen werden?"));
            EXPECT_EQ(prompt.shown().back().caption, QStringLiteral("HTML- und CSS-Vorlagen"));
        }
        if (c.saved)
            doc().undo();
        form.QDialog::reject();
    }
}
