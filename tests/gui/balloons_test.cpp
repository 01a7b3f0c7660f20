// The program's two balloons and the help texts: warnings, F1 over controls with and without a
// text, the introduction, and the table itself.
#include "help/balloon_help.h"
#include "help/balloon_window.h"
#include "help/balloons.h"
#include "help/help_texts.h"

#include "codefield/code_field_settings.h"
#include "dialogs/encryption_window.h"
#include "dialogs/template_choice_window.h"
#include "editor/display_settings_window.h"
#include "editor/item_editor.h"
#include "app/item_windows.h"
#include "exchange/html_export_window.h"
#include "exchange/import_window.h"
#include "itemwindow/item_window.h"
#include "tray/tray_window.h"
#include "search/search_window.h"
#include "sorting/sort_criteria_window.h"
#include "templates/template_manager.h"
#include "files/included_files_window.h"
#include "support/gui_activation.h"
#include "support/gui_main_window.h"
#include "support/gui_modal.h"

#include "app/window_manager.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QCursor>
#include <QLineEdit>
#include <QSet>
#include <QStackedWidget>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace lexora;
using lexora::test::activate;

namespace {

// A window named like the main window, with controls named like its own.
class LookAlike : public QWidget {
public:
    LookAlike()
    {
        setObjectName(QStringLiteral("TQZS_LXD_Form"));
        auto *layout = new QVBoxLayout(this);
        toolBar = named(new QToolBar(this), "ToolBar");
        toolBar->addAction(QStringLiteral("Neu"));
        tree = named(new QTreeWidget(this), "TreeView_Items");
        browser = named(new QLineEdit(this), "WebBrowser");
        info = named(new QWidget(this), "PaintBox_Info");
        info->setMinimumHeight(60);
        for (QWidget *w : std::initializer_list<QWidget *>{toolBar, tree, browser, info})
            layout->addWidget(w);
        resize(500, 500);
        move(100, 100);
    }
    template <typename W> W *named(W *w, const char *name)
    {
        w->setObjectName(QLatin1String(name));
        return w;
    }
    QToolBar *toolBar;
    QTreeWidget *tree;
    QLineEdit *browser;
    QWidget *info;
};

class BalloonsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.show();
        ASSERT_TRUE(activate(&window));
    }

    // F1 with the mouse pointer over the middle of control.
    void helpKeyOver(QWidget *control)
    {
        ASSERT_TRUE(activate(&window)); // another test's window on the display may have taken it
        const QPoint at = control->mapToGlobal(control->rect().center());
        QCursor::setPos(at);
        QTRY_COMPARE(QCursor::pos(), at);
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &window, Qt::Key_F1);
    }

    LookAlike window;
    Balloons balloons;
    TQZBalloonHelp &help = *balloons.QZBalloonHelp;
    TQZBalloonHelp &warning = *balloons.BalloonWarning;
};

TEST_F(BalloonsTest, TheTwoBalloonsAndTheirSettings)
{
    EXPECT_EQ(Balloons::instance(), &balloons);
    const struct {
        TQZBalloonHelp *balloon;
        const char *title;
        BalloonWindow::Icon icon;
        int autoHide;
    } cases[] = {
        {&help, "Information", BalloonWindow::Icon::Information, 0},
        {&warning, "Ungültige oder unvollständige Angaben", BalloonWindow::Icon::Warning, 5000},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.title);
        EXPECT_EQ(c.balloon->AutoHideMSec, c.autoHide);
        EXPECT_EQ(c.balloon->MaxLineWidth, 300);
        c.balloon->ShowBalloon(window.tree, QStringLiteral("Text"));
        EXPECT_EQ(c.balloon->window()->title(), QString::fromUtf8(c.title));
        EXPECT_EQ(c.balloon->window()->icon(), c.icon);
        // The stem at the centre of the control.
        const QRect tree(window.tree->mapToGlobal(QPoint()), window.tree->size());
        EXPECT_LE(std::abs(c.balloon->window()->placement().tip.x() - tree.center().x()), 1);
        EXPECT_LE(std::abs(c.balloon->window()->placement().tip.y() - tree.center().y()), 1);
        c.balloon->Hide();
    }
}

TEST_F(BalloonsTest, AtMostOneBalloonIsVisibleAndAClickHidesIt)
{
    Balloons::warn(window.browser, QStringLiteral("Falsch."));
    EXPECT_TRUE(warning.isVisible());
    EXPECT_EQ(warning.tipControl(), window.browser);
    EXPECT_EQ(warning.window()->text(), QStringLiteral("Falsch."));

    helpKeyOver(window.tree);
    EXPECT_TRUE(help.isVisible());
    EXPECT_FALSE(warning.isVisible());

    Balloons::warn(window.browser, QStringLiteral("Falsch."));
    EXPECT_TRUE(warning.isVisible());
    EXPECT_FALSE(help.isVisible());

    for (TQZBalloonHelp *balloon : {&warning, &help}) {
        if (balloon == &help)
            helpKeyOver(window.tree);
        ASSERT_TRUE(balloon->isVisible());
        BalloonWindow *tip = balloon->window();
        QTest::mouseClick(tip, Qt::LeftButton, {}, tip->placement().body.center() - tip->pos());
        EXPECT_FALSE(balloon->isVisible());
    }
}

TEST_F(BalloonsTest, TheHelpKeyShowsMovesAndTogglesTheHelpText)
{
    helpKeyOver(window.tree);
    ASSERT_TRUE(help.isVisible());
    EXPECT_EQ(help.tipControl(), window.tree);
    EXPECT_EQ(help.window()->text().remove(QStringLiteral("\r\n")).remove(u' '),
              helpText(*window.tree).remove(QStringLiteral("\r\n")).remove(u' '));

    helpKeyOver(window.tree); // again: away
    EXPECT_FALSE(help.isVisible());
    helpKeyOver(window.tree);
    EXPECT_TRUE(help.isVisible());

    helpKeyOver(window.browser); // to another control with a text
    EXPECT_TRUE(help.isVisible());
    EXPECT_EQ(help.tipControl(), window.browser);
    EXPECT_EQ(help.window()->text().remove(QStringLiteral("\r\n")).remove(u' '),
              helpText(*window.browser).remove(QStringLiteral("\r\n")).remove(u' '));

    helpKeyOver(window.toolBar); // a control without a text: the help goes, nothing comes
    EXPECT_FALSE(help.isVisible());
    helpKeyOver(window.toolBar);
    EXPECT_FALSE(help.isVisible());
}

TEST_F(BalloonsTest, TheIntroductionPointsAtTheToolBar)
{
    Balloons::warn(window.browser, QStringLiteral("Falsch."));
    balloons.MenuItem_BalloonHelpClick(window.toolBar);
    EXPECT_FALSE(warning.isVisible());
    ASSERT_TRUE(help.isVisible());
    EXPECT_EQ(help.tipControl(), window.toolBar);
    EXPECT_EQ(help.window()->title(), QStringLiteral("Information"));
    EXPECT_EQ(help.window()->text().remove(QStringLiteral("\r\n")).remove(u' '),
              QStringLiteral("Wenn Sie zu einem Objekt des Programms Fragen haben, können Sie jederzeit "
                             "den Mauszeiger darüber bewegen und mit der F1-Taste entsprechende "
                             "Kurzinformationen abrufen.Klicken Sie den Ballon an, um die Hilfe auszublenden.")
                  .remove(u' '));
}

TEST(HelpTexts, EveryEntryIsUsableAndUnique)
{
    QSet<QString> seen;
    for (const HelpEntry &e : helpEntries()) {
        const QString key = QStringLiteral("%1|%2|%3").arg(int(e.match)).arg(
            QLatin1String(e.window ? e.window : ""), QLatin1String(e.control));
        SCOPED_TRACE(key.toStdString());
        EXPECT_FALSE(seen.contains(key)) << "twice";
        seen.insert(key);
        EXPECT_EQ(e.match == HelpEntry::Match::Control, e.window != nullptr);
        const QString text = QString::fromUtf8(e.text);
        EXPECT_GE(text.size(), 20);
        EXPECT_FALSE(text.contains(QChar::ReplacementCharacter));
        // The balloon breaks lines at "\r\n" only.
        EXPECT_EQ(text.count(u'\n'), text.count(QStringLiteral("\r\n")));
        // The one text that ends without a full stop, as the program has always shown it.
        const bool givenVerbatim = QLatin1String(e.control) == QLatin1String("CheckBox_ItemTexts");
        EXPECT_TRUE(givenVerbatim || text.endsWith(u'.') || text.endsWith(u'"'))
            << text.toStdString();
    }
}

TEST(HelpTexts, EntriesMatchByWindowAndNameByNameOrByTheFrontOfTheName)
{
    QWidget form;
    form.setObjectName(QStringLiteral("TForm11"));
    QWidget other;
    other.setObjectName(QStringLiteral("TForm2"));
    const auto child = [](QWidget *parent, const char *name) {
        auto *w = new QWidget(parent);
        w->setObjectName(QLatin1String(name));
        return w;
    };
    using M = HelpEntry::Match;
    const struct {
        HelpEntry entry;
        QWidget *control;
        bool matches;
    } cases[] = {
        {{M::Control, "TForm11", "Button_OK", ""}, child(&form, "Button_OK"), true},
        {{M::Control, "TForm11", "Button_OK", ""}, child(&other, "Button_OK"), false},
        {{M::Name, nullptr, "ToolButton_Tag", ""}, child(&other, "ToolButton_Tag"), true},
        {{M::Name, nullptr, "ToolButton_Tag", ""}, child(&other, "ToolButton_Tags"), false},
        {{M::NameWithoutLast, nullptr, "CheckBox_Criterium", ""}, child(&form, "CheckBox_Criterium3"), true},
        {{M::NameWithoutLast, nullptr, "CheckBox_Criterium", ""}, child(&form, "CheckBox_Criterium"), false},
        {{M::NameWithoutLast, nullptr, "ComboBox_Criterium", ""}, child(&form, "ComboBox_Criterium2Mode"), false},
        {{M::NameWithoutLastFive, nullptr, "ComboBox_Criterium", ""}, child(&form, "ComboBox_Criterium2Mode"), true},
        {{M::NameWithoutLastFive, nullptr, "ComboBox_Criterium", ""}, child(&form, "ComboBox_Criterium2"), false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(helpEntryMatches(c.entry, *c.control), c.matches)
            << c.entry.control << " / " << c.control->objectName().toStdString();
}

// Every entry that names a window's control finds that control in the real window. A window
// whose entries join the table joins this list.
class HelpTextWindows : public test::MainWindowTest {};

TEST_F(HelpTextWindows, EveryEntryFindsItsControl)
{
    CodeFieldSettings codeFields;
    DisplaySettingsWindow form4(codeFields);
    TemplateChoiceWindow form5;
    EncryptionWindow form8;
    MainWindow &mainWindow = start();
    select({addItem(nullptr, "Eintrag", "<p>Text</p>")});
    mainWindow.ShowSelected();
    ItemWindow *itemWindow = app->itemWindows().ToolButton_NewWindowClick();
    ASSERT_NE(itemWindow, nullptr);
    const QList<QWidget *> windows = {&mainWindow, &app->itemEditor(), &form4, &form5, itemWindow,
                                      &form8, &app->importWindow(), &app->exportWindow(),
                                      &app->tray(), &app->search(), &app->templateManager(),
                                      &app->includedFiles()};
    QSet<QString> checked;
    for (const HelpEntry &e : helpEntries()) {
        if (e.match != HelpEntry::Match::Control)
            continue;
        SCOPED_TRACE(std::string(e.window) + " " + e.control);
        QWidget *owner = nullptr;
        for (QWidget *w : windows)
            if (w->objectName() == QLatin1String(e.window))
                owner = w;
        ASSERT_NE(owner, nullptr) << "the window is missing from this test";
        auto *control = owner->findChild<QWidget *>(QLatin1String(e.control));
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->window(), owner);
        EXPECT_EQ(helpText(*control), QString::fromUtf8(e.text));
        checked.insert(QLatin1String(e.window));
    }
    EXPECT_EQ(checked.size(), windows.size()) << "a window in this test without help texts";
    finish();
}

// F1 over every control of the table, in its real window: the balloon shows the entry's text
// pointing at the control, F1 again takes it away. The texts given word for word are compared
// with their literal wording, line breaks included.
class HelpKeyInEveryWindow : public test::MainWindowTest {
protected:
    // Brings the tab page or stacked page holding control to the front, so the pointer can rest
    // on it.
    static void uncover(QWidget *control)
    {
        for (QWidget *w = control; w && !w->isWindow(); w = w->parentWidget())
            if (auto *stack = qobject_cast<QStackedWidget *>(w->parentWidget()))
                stack->setCurrentWidget(w);
    }
    void helpKeyOver(QWidget *control)
    {
        const QPoint at = control->mapToGlobal(control->rect().center());
        QCursor::setPos(at);
        QTRY_COMPARE(QCursor::pos(), at);
        QWidget *focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : control->window(), Qt::Key_F1);
    }
};

TEST_F(HelpKeyInEveryWindow, EveryEntryShowsItsTextAndASecondF1HidesIt)
{
    CodeFieldSettings codeFields;
    DisplaySettingsWindow form4(codeFields);
    TemplateChoiceWindow form5;
    EncryptionWindow form8;
    start();
    select({addItem(nullptr, "Eintrag", "<p>Text</p>")});
    window->ShowSelected();
    ItemWindow *itemWindow = app->itemWindows().ToolButton_NewWindowClick();
    ASSERT_NE(itemWindow, nullptr);
    const QList<QWidget *> windows = {
        window, &app->itemEditor(), &app->templateManager(), &form4, &form5, &app->search(),
        itemWindow, &app->includedFiles(), &form8, &app->importWindow(), &app->exportWindow(),
        &app->tray(), &app->sortCriteria()};
    TQZBalloonHelp &help = *app->balloons().QZBalloonHelp;

    // The wording the program has always had, line breaks included.
    const QString mainTree = QStringLiteral(
        "Hier werden alle Schlüssel und Einträge der aktuellen Datenbank aufgelistet.\r\n\r\n"
        "Um einen neuen Eintrag anzulegen, klicken Sie mit der rechten Maustaste auf den Schlüssel, "
        "dem der neue Eintrag untergeordnet werden soll, und wählen Sie im erscheinenden Menü den "
        "Eintrag \"Neuer untergeordneter Eintrag\".");
    const QMap<QString, QString> literal = {
        {QStringLiteral("TQZS_LXD_Form/TreeView_Items"), mainTree},
        {QStringLiteral("TQZS_LXD_Form/PaintBox_Info"),
         QStringLiteral("Hier werden Informationen zum aktuell markierten Eintrag angezeigt. Bei "
                        "Schlüsseln wird die Anzahl der enthaltenen Elemente angezeigt, bei Einträgen "
                        "informiert der Infobereich über Erstellungs- und Änderungsdatum sowie "
                        "Ersteller und letzten Bearbeiter.")},
        {QStringLiteral("/ToolButton_Keyword"),
         QStringLiteral("Hiermit können Sie Platzhalter einfügen, die in der Darstellung des Eintrags "
                        "durch bestimmte Daten ersetzt werden. Klicken Sie auf den Pfeil rechts, um "
                        "eine Liste aller zur Verfügung stehenden Platzhalter anzuzeigen.")},
        {QStringLiteral("TForm3/Memo_Content"),
         QStringLiteral("Hier kann der Code der aktuellen Vorlage bearbeitet werden.\r\n\r\n"
                        "HTML-Vorlagen:\r\nVerwenden Sie den Platzhalter \"%text%\" an der Stelle, an "
                        "der der Inhalt der Einträge, die diese Vorlage verwenden, eingefügt werden "
                        "soll.")},
        {QStringLiteral("TForm3/CheckBox_Default"),
         QStringLiteral("Aktivieren Sie diese Option, um die aktuelle Vorlage als Standard-Vorlage zu "
                        "verwenden.\r\n\r\nDie Standard-Vorlage ist bei neuen Einträgen standardmäßig "
                        "aktiviert und wird außerdem immer für die Anzeige von Schlüsseln verwendet.")},
        {QStringLiteral("TForm6/CheckBox_ItemTexts"),
         QStringLiteral("Durchsuchen des Textes der Einträge, wie er im Browser-Fenster angezeigt "
                        "wird")},
        {QStringLiteral("TForm13/ListView_Tray"),
         QStringLiteral("Hier können Sie durch Drag&Drop Einträge ablegen, um sie zu einem späteren "
                        "Zeitpunkt wieder aufzurufen.")},
        {QStringLiteral("/ComboBox_Criterium?????"),
         QStringLiteral("Wählen Sie hier den Modus, mit dem das Kriterium angewandt werden soll. "
                        "Wählen Sie beispielsweise \"aufsteigend\", um Texte von A bis Z und Daten "
                        "chronologisch zu sortieren.")},
    };

    QMap<const HelpEntry *, int> shownFor;
    int literalsChecked = 0;
    for (QWidget *owner : windows) {
        SCOPED_TRACE(owner->objectName().toStdString());
        owner->show();
        ASSERT_TRUE(activate(owner));
        for (const HelpEntry &e : helpEntries()) {
            for (QWidget *control : owner->findChildren<QWidget *>()) {
                if (control->window() != owner || !helpEntryMatches(e, *control))
                    continue;
                SCOPED_TRACE(control->objectName().toStdString());
                uncover(control);
                ASSERT_TRUE(control->isVisible());
                helpKeyOver(control);
                ASSERT_TRUE(help.isVisible());
                EXPECT_EQ(help.tipControl(), control);
                EXPECT_EQ(help.Text, QString::fromUtf8(e.text));
                // Prefix entries are keyed with one "?" per character they leave out.
                const int leftOut = e.match == HelpEntry::Match::NameWithoutLast       ? 1
                                    : e.match == HelpEntry::Match::NameWithoutLastFive ? 5
                                                                                       : 0;
                const QString key = QLatin1String(e.window ? e.window : "") + u'/'
                                    + QLatin1String(e.control) + QString(leftOut, u'?');
                if (literal.contains(key)) {
                    EXPECT_EQ(help.Text, literal.value(key));
                    ++literalsChecked;
                }
                helpKeyOver(control);
                EXPECT_FALSE(help.isVisible()) << "F1 again";
                ++shownFor[&e];
            }
        }
        owner->hide();
    }
    for (const HelpEntry &e : helpEntries())
        EXPECT_GT(shownFor.value(&e), 0) << "no control shows the text of " << e.control;
    EXPECT_GE(literalsChecked, int(literal.size()));
    finish();
}

// The help key, "Ballon-Hilfe..." and "Info" in the running program.
class ProgramHelp : public test::MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        start();
        ASSERT_TRUE(activate(window));
    }
    void helpKeyOver(QWidget *control)
    {
        const QPoint at = control->mapToGlobal(control->rect().center());
        QCursor::setPos(at);
        QTRY_COMPARE(QCursor::pos(), at);
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : window, Qt::Key_F1);
    }
};

TEST_F(ProgramHelp, TheHelpKeyExplainsTheMainWindowsControls)
{
    TQZBalloonHelp &help = *app->balloons().QZBalloonHelp;
    for (const char *name : {"TreeView_Items", "WebBrowser", "PaintBox_Info"}) {
        SCOPED_TRACE(name);
        auto *control = window->findChild<QWidget *>(QLatin1String(name));
        ASSERT_NE(control, nullptr);
        helpKeyOver(control);
        ASSERT_TRUE(help.isVisible());
        EXPECT_EQ(help.tipControl(), control);
        EXPECT_EQ(help.Text, helpText(*control));
    }
    helpKeyOver(window->findChild<QWidget *>(QStringLiteral("ToolButton_New")));
    EXPECT_FALSE(help.isVisible());
    finish();
}

TEST_F(ProgramHelp, BalloonHelpAndInfoCommands)
{
    TQZBalloonHelp &help = *app->balloons().QZBalloonHelp;
    window->command("MenuItem_BalloonHelp")->trigger();
    ASSERT_TRUE(help.isVisible());
    EXPECT_EQ(help.tipControl(), window->findChild<QToolBar *>(QStringLiteral("ToolBar")));
    EXPECT_EQ(help.Text, balloonHelpIntroduction());

    QString caption;
    test::whenModal([&caption](QWidget *modal) {
        caption = modal->windowTitle();
        static_cast<QDialog *>(modal)->accept();
    });
    window->command("MenuItem_Info")->trigger();
    EXPECT_EQ(caption, QStringLiteral("Info über Lexora"));
    finish();
}

} // namespace
