// The sort criteria "Sortierreihenfolge": its rules and messages, OK sorting the tree and the
// tray by the new criteria and keeping them for "Settings.ini", Cancel changing nothing.
#include "sorting/sort_criteria_window.h"

#include "help/balloon_help.h"
#include "help/balloons.h"
#include "help/help_texts.h"
#include "settings/settings.h"
#include "support/gui_main_window.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QTest>

#include <functional>

#include <gtest/gtest.h>

using namespace lexora;
using namespace lexora::test;

namespace {

// Group n (1 to 3): checked, with criterion and mode (-1: none chosen).
void setGroupOf(SortCriteriaWindow &form, int n, bool on, int criterion = -1, int mode = -1)
{
    const std::size_t g = std::size_t(n - 1);
    form.CheckBox_Criterium[g]->setChecked(on);
    form.ComboBox_Criterium[g]->setCurrentIndex(criterion);
    form.ComboBox_CriteriumClick(n - 1);
    form.ComboBox_CriteriumMode[g]->setCurrentIndex(mode);
}

class SortCriteriaWindowTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        start();
        doc().newDatabase({});
        form = &app->sortCriteria();
        form->FormShow();
        form->show();
    }
    void TearDown() override
    {
        form->hide();
        finish();
        MainWindowTest::TearDown();
    }
    void setGroup(int n, bool on, int criterion = -1, int mode = -1)
    {
        setGroupOf(*form, n, on, criterion, mode);
    }
    QStringList modes(int n) const
    {
        QStringList out;
        const QComboBox *box = form->ComboBox_CriteriumMode[std::size_t(n - 1)];
        for (int i = 0; i < box->count(); ++i)
            out.append(box->itemText(i));
        return out;
    }

    SortCriteriaWindow *form = nullptr;
};

TEST_F(SortCriteriaWindowTest, ShowsTheCurrentListWithEachGroupsListsEnabledByItsBox)
{
    // The default list: keys first, then titles ascending.
    EXPECT_TRUE(form->CheckBox_Criterium[0]->isChecked());
    EXPECT_EQ(form->ComboBox_Criterium[0]->currentText(), QStringLiteral("Elementtyp (Schlüssel/Eintrag)"));
    EXPECT_EQ(form->ComboBox_CriteriumMode[0]->currentText(), QStringLiteral("mit Schlüsseln beginnend"));
    EXPECT_EQ(form->ComboBox_Criterium[1]->currentText(), QStringLiteral("Titel"));
    EXPECT_EQ(modes(2), (QStringList{QStringLiteral("aufsteigend"), QStringLiteral("absteigend")}));
    EXPECT_FALSE(form->CheckBox_Criterium[2]->isChecked());
    EXPECT_FALSE(form->ComboBox_Criterium[2]->isEnabled());
    EXPECT_FALSE(form->ComboBox_CriteriumMode[2]->isEnabled());
    EXPECT_EQ(form->ComboBox_Criterium[2]->currentIndex(), -1);
    form->CheckBox_Criterium[2]->click();
    EXPECT_TRUE(form->ComboBox_Criterium[2]->isEnabled());
    EXPECT_TRUE(form->ComboBox_CriteriumMode[2]->isEnabled());
    // Another criterion empties the mode choice.
    form->ComboBox_Criterium[0]->setCurrentIndex(3);
    form->ComboBox_CriteriumClick(0);
    EXPECT_EQ(form->ComboBox_CriteriumMode[0]->currentIndex(), -1);
    EXPECT_EQ(modes(1), (QStringList{QStringLiteral("aufsteigend"), QStringLiteral("absteigend")}));
    // The group names, for the help texts by the front of the name.
    EXPECT_EQ(form->ComboBox_CriteriumMode[1]->objectName(), QStringLiteral("ComboBox_Criterium2Mode"));
    EXPECT_EQ(form->GroupBox_Criterium[2]->title(), QStringLiteral("3. Kriterium"));
    EXPECT_TRUE(helpText(*form->ComboBox_CriteriumMode[1]).startsWith(
        QStringLiteral("Wählen Sie hier den Modus, mit dem das Kriterium angewandt werden soll.")));
    EXPECT_NE(helpText(*form->CheckBox_Criterium[2]), helpText(*form->ComboBox_Criterium[2]));
    EXPECT_FALSE(helpText(*form->CheckBox_Criterium[2]).isEmpty());
}

TEST_F(SortCriteriaWindowTest, TheFirstBrokenRuleIsReportedAtItsListAndNothingChanges)
{
    const struct {
        const char *what;
        std::function<void(SortCriteriaWindow &)> setUp;
        int group;  // 1 to 3
        bool atMode;
        const char *message;
    } cases[] = {
        {"no criterion", [](SortCriteriaWindow &f) { setGroupOf(f, 1, true); }, 1, false,
         "Sie müssen ein Kriterium definieren oder das Feld deaktivieren."},
        {"the same criterion twice",
         [](SortCriteriaWindow &f) {
             setGroupOf(f, 1, true, 1, 0);
             setGroupOf(f, 2, true, 1, 1);
         },
         2, false, "Ein Kriterium kann nicht mehrfach angewandt werden."},
        {"twice across an unchecked group",
         [](SortCriteriaWindow &f) {
             setGroupOf(f, 2, false);
             setGroupOf(f, 3, true, 0, 0);
         },
         3, false, "Ein Kriterium kann nicht mehrfach angewandt werden."},
        {"no mode", [](SortCriteriaWindow &f) { setGroupOf(f, 2, true, 2); }, 2, true,
         "Sie müssen den Modus definieren, mit dem das Kriterium angewandt werden soll."},
        {"the first failing group wins",
         [](SortCriteriaWindow &f) {
             setGroupOf(f, 1, true, 3);
             setGroupOf(f, 2, true);
         },
         1, true, "Sie müssen den Modus definieren, mit dem das Kriterium angewandt werden soll."},
    };
    const SortCriteria before = doc().sortCriteria();
    const Settings settingsBefore = app->settings();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        form->FormShow();
        c.setUp(*form);
        form->Button_OKClick();
        const std::size_t g = std::size_t(c.group - 1);
        QWidget *control = c.atMode ? static_cast<QWidget *>(form->ComboBox_CriteriumMode[g])
                                    : form->ComboBox_Criterium[g];
        TQZBalloonHelp *warning = app->balloons().BalloonWarning;
        EXPECT_TRUE(warning->isVisible());
        EXPECT_EQ(warning->tipControl(), control);
        EXPECT_EQ(warning->Text, QString::fromUtf8(c.message));
        EXPECT_TRUE(form->isVisible());
        EXPECT_EQ(doc().sortCriteria(), before);
        EXPECT_EQ(app->settings(), settingsBefore);
    }
    // An unchecked group with an incomplete choice does not count.
    form->FormShow();
    setGroup(3, false, 2);
    form->Button_OKClick();
    EXPECT_EQ(form->result(), QDialog::Accepted);
}

TEST_F(SortCriteriaWindowTest, OkSortsTreeAndTrayByTheNewListAndKeepsItForTheSettings)
{
    addKey(nullptr, "k");
    Node *b = addItem(nullptr, "b");
    Node *a = addItem(nullptr, "A");
    Node *c = addItem(nullptr, "c");
    doc().addToTray({a, b, c});
    doc().sortTree();
    doc().setModified(false);
    ASSERT_EQ(childTitles(db(), nullptr), (QStringList{"k", "A", "b", "c"}));

    // Cancel changes nothing.
    setGroup(1, true, 1, 1);
    form->Button_Cancel->click();
    EXPECT_EQ(doc().sortCriteria(), DefaultSortCriteria());

    // Groups 1 and 3: titles descending, then items first; they close up into two entries.
    form->FormShow();
    form->show();
    setGroup(1, true, 1, 1);
    setGroup(2, false, 1, 0);
    setGroup(3, true, 0, 1);
    form->Button_OKClick();
    EXPECT_EQ(form->result(), QDialog::Accepted);
    const SortCriteria expected{{SortByTitle, 1}, {SortByType, 1}};
    EXPECT_EQ(doc().sortCriteria(), expected);
    EXPECT_EQ(childTitles(db(), nullptr), (QStringList{"k", "c", "b", "A"}));
    EXPECT_EQ(db().TrayNodes, (std::vector<Node *>{c, b, a}));
    EXPECT_EQ(app->settings().CountSortCriteriums, 2);
    EXPECT_EQ(app->settings().SortCriteriums[0], (SortCriterium{1, 1}));
    EXPECT_EQ(app->settings().SortCriteriums[1], (SortCriterium{0, 1}));
    EXPECT_FALSE(db().DatabaseModified);

    // The menu entry is there and opens the dialog on the new list.
    QAction *entry = window->command("MenuItem_SortCriteriums");
    ASSERT_TRUE(entry->isEnabled());
    form->FormShow();
    EXPECT_EQ(form->ComboBox_Criterium[1]->currentIndex(), SortByType);
    EXPECT_EQ(form->ComboBox_CriteriumMode[1]->currentIndex(), 1);
}

} // namespace
