// The main window's components: tool bar, menus, context menu and their state at start.
#include "dialogs/encryption_window.h"
#include "support/gui_main_window.h"
#include "support/gui_modal.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QWebEngineView>

using namespace lexora;
using namespace lexora::test;

namespace {

class LayoutTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        start();
    }
};

TEST_F(LayoutTest, ComponentsCarryTheirNames)
{
    EXPECT_EQ(window->objectName(), "TQZS_LXD_Form");
    EXPECT_EQ(window->metaObject()->className(), QByteArray("lexora::MainWindow"));
    for (const char *name : {"TreeView_Items", "Splitter", "Panel1", "PaintBox_Info", "StatusBar",
                             "ToolBar", "MainMenu", "PopupMenu_Items"})
        EXPECT_NE(window->findChild<QObject *>(name), nullptr) << name;
    EXPECT_NE(window->findChild<QWebEngineView *>("WebBrowser"), nullptr);
    EXPECT_EQ(window->findChild<QSplitter *>("Splitter")->sizes().value(0), 280);
}

TEST_F(LayoutTest, ToolBarButtonsInOrderWithTheirHints)
{
    struct Button {
        const char *name; // nullptr: a separator
        const char *hint;
        bool enabled;
    };
    const Button buttons[] = {
        {"ToolButton_New", "Neue Datenbank erstellen", true},
        {"ToolButton_Open", "Vorhandene Datenbank öffnen", true},
        {"ToolButton_Save", "Datenbank speichern", true},
        {nullptr, nullptr, false},
        {"ToolButton_Undo", "Die letzte Änderung der Datenbank rückgängig machen", false},
        {"ToolButton_Redo", "Die zuletzt rückgängig gemachte Änderung wiederherstellen", false},
        {nullptr, nullptr, false},
        {"ToolButton_NewKey", "Neuen Schlüssel erstellen", true},
        {"ToolButton_NewItem", "Neuen Eintrag erstellen", true},
        {"ToolButton_DelItem", "Eintrag löschen", false},
        {"ToolButton_NewWindow", "Eintrag in eigenem Fenster anzeigen", false},
        {"ToolButton_CopyText", "Im Anzeigebereich markierten Text in die Zwischenablage kopieren",
         false},
        {"ToolButton_CopyCode", "Code des markierten Eintrags in die Zwischenablage kopieren",
         false},
        {nullptr, nullptr, false},
        {"ToolButton_Search", "Nach Einträgen und Schlüsseln suchen", true},
        {nullptr, nullptr, false},
        {"ToolButton_Tray", "Ablagemappe anzeigen/verbergen", true},
        {nullptr, nullptr, false},
        {"ToolButton_HideMainWindow", "Hauptfenster verbergen (F3)", false},
    };
    const QList<QAction *> actions = window->findChild<QToolBar *>("ToolBar")->actions();
    ASSERT_EQ(actions.size(), int(std::size(buttons)));
    for (int i = 0; i < actions.size(); ++i) {
        const Button &b = buttons[i];
        if (!b.name) {
            EXPECT_TRUE(actions[i]->isSeparator()) << "position " << i;
            continue;
        }
        QWidget *widget = window->findChild<QToolBar *>("ToolBar")->widgetForAction(actions[i]);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->objectName(), b.name);
        EXPECT_EQ(actions[i]->statusTip(), QString::fromUtf8(b.hint)) << b.name;
        EXPECT_EQ(actions[i]->toolTip(), QString::fromUtf8(b.hint)) << b.name;
        EXPECT_FALSE(actions[i]->icon().isNull()) << b.name;
        // The search comes with its window; until then it stays disabled. The others wait for a
        // selected item or an open item window.
        EXPECT_EQ(widget->isEnabled(), b.enabled) << b.name;
    }
}

TEST_F(LayoutTest, MenusInOrderWithCaptionsAndShortcuts)
{
    struct Entry {
        const char *name; // nullptr: a separator
        const char *caption;
        const char *shortcut;
        bool enabled;
    };
    struct Menu {
        const char *title;
        std::vector<Entry> entries;
    };
    const Menu menus[] = {
        {"&Datei",
         {{"MenuItem_New", "&Neu", "Ctrl+N", true},
          {"MenuItem_Open", "Ö&ffnen", "Ctrl+O", true},
          {"MenuItem_Save", "&Speichern", "Ctrl+S", true},
          {"MenuItem_SaveAs", "Speichern &unter", "Ctrl+Shift+S", true},
          {"MenuItem_SaveAsTemplate", "Als &Vorlage speichern", "", true},
          {nullptr, nullptr, nullptr, false},
          {"MenuItem_ExportBrowserContent", "Browser-Inhalt exportieren", "", true},
          {"MenuItem_ExportDatabase", "Gesamte Datenbank exportieren", "", true},
          {nullptr, nullptr, nullptr, false},
          {"MenuItem_Import", "Datenbank importieren", "", true},
          {nullptr, nullptr, nullptr, false},
          {"MenuItem_Exit", "Be&enden", "Alt+F4", true}}},
        {"Bearbeiten",
         {{"MenuItem_Undo", "&Rückgängig", "Ctrl+Z", false},
          {"MenuItem_Redo", "&Wiederherstellen", "Ctrl+Y", false},
          {nullptr, nullptr, nullptr, false},
          {"MenuItem_IncludedFiles", "Eingebundene Dateien", "", true},
          {"MenuItem_Search", "Suchen", "Ctrl+F", true},
          {nullptr, nullptr, nullptr, false},
          {"MenuItem_CopyText", "Markierten Text kopieren", "Ctrl+C", false},
          {"MenuItem_CopyCode", "Code kopieren", "Ctrl+Alt+C", false}}},
        {"Ansicht",
         {{"MenuItem_SortCriteriums", "Sortierkriterien...", "", true},
          {"MenuItem_ShowInfo", "Informationen anzeigen", "", true},
          {"Editierfelder1", "Editierfelder...", "", true}}},
        {"Optionen",
         {{"MenuItem_Templates", "Vorlagen (HTML, CSS)", "", true},
          {"MenuItem_LXDTemplates", "Standard-Vorlage", "", true},
          {"MenuItem_OpenLast", "Letzte Datenbank beim Start laden", "", true},
          {nullptr, nullptr, nullptr, false},
          {"MenuItem_Encryption", "Verschlüsselung", "", true}}},
        {"?",
         {{"MenuItem_BalloonHelp", "Ballon-Hilfe...", "", true},
          {nullptr, nullptr, nullptr, false},
          {"MenuItem_Info", "Info", "", true}}},
    };
    const QList<QAction *> bar = window->menuBar()->actions();
    ASSERT_EQ(bar.size(), int(std::size(menus)));
    for (int m = 0; m < bar.size(); ++m) {
        EXPECT_EQ(bar[m]->text(), QString::fromUtf8(menus[m].title));
        const QList<QAction *> entries = bar[m]->menu()->actions();
        ASSERT_EQ(entries.size(), int(menus[m].entries.size())) << menus[m].title;
        for (int i = 0; i < entries.size(); ++i) {
            const Entry &e = menus[m].entries[std::size_t(i)];
            if (!e.name) {
                EXPECT_TRUE(entries[i]->isSeparator()) << menus[m].title << " " << i;
                continue;
            }
            EXPECT_EQ(entries[i]->objectName(), e.name);
            EXPECT_EQ(entries[i]->text(), QString::fromUtf8(e.caption)) << e.name;
            EXPECT_EQ(entries[i]->shortcut(), QKeySequence(QString::fromLatin1(e.shortcut)))
                << e.name;
            EXPECT_EQ(entries[i]->isEnabled(), e.enabled) << e.name;
        }
    }
    const struct {
        const char *name;
        const char *hint;
    } hints[] = {
        {"MenuItem_SaveAs", "Datenbank unter neuem Namen speichern"},
        {"MenuItem_SaveAsTemplate", "Datenbank als Vorlage speichern"},
        {"MenuItem_ExportBrowserContent",
         "Den aktuellen Inhalt des Browser-Fensters in eine HTML-Datei exportieren"},
        {"MenuItem_ExportDatabase", "Den gesamten Inhalt der Datenbank in eine HTML-Datei exportieren"},
        {"MenuItem_Import", "Daten aus anderen Datenbanken in die aktuelle Datenbank importieren"},
        {"MenuItem_Exit", "Programm beenden"},
        {"MenuItem_IncludedFiles", "Eingebundene Dateien hinzufügen, umbenennen oder entfernen"},
        {"Editierfelder1", "Anzeigeeinstellungen der Editierfelder"},
        {"MenuItem_Templates", "HTML- und CSS-Vorlagen erstellen, bearbeiten oder löschen"},
        {"MenuItem_LXDTemplates", "Standard-Datenbank-Vorlage auswählen"},
        {"MenuItem_OpenLast", "Automatisch beim Starten des Programms die zuletzt geöffnete Datei laden"},
        {"MenuItem_Encryption", "Verschlüsselung aktivieren oder deaktivieren und Passwort festlegen"},
        {"MenuItem_BalloonHelp", "Infos zur Ballon-Hilfe anzeigen"},
        {"MenuItem_Info", "Programminformationen"},
        {"MenuItem_ShowInfo", "Informationen zum markierten Eintrag anzeigen/verbergen"},
    };
    for (const auto &h : hints)
        EXPECT_EQ(window->findChild<QAction *>(h.name)->statusTip(), QString::fromUtf8(h.hint)) << h.name;
    EXPECT_TRUE(window->findChild<QAction *>("MenuItem_ShowInfo")->isCheckable());
    EXPECT_TRUE(window->findChild<QAction *>("MenuItem_OpenLast")->isChecked());
}

TEST_F(LayoutTest, HintsReachTheStatusBar)
{
    QAction *save = window->findChild<QAction *>("MenuItem_Save");
    save->showStatusText(window);
    EXPECT_EQ(window->statusBar()->currentMessage(), "Datenbank speichern");
}

TEST_F(LayoutTest, TheEncryptionWindowSetsTheDatabasesSetting)
{
    whenModal([](QWidget *modal) {
        auto *form = qobject_cast<EncryptionWindow *>(modal);
        ASSERT_NE(form, nullptr);
        form->CheckBox_Encryption->click();
        form->Edit_Password->setText("geheim");
        form->accept();
    });
    window->findChild<QAction *>("MenuItem_Encryption")->trigger();
    EXPECT_TRUE(db().Encrypted);
    EXPECT_EQ(db().Password, "geheim");
    EXPECT_FALSE(db().DatabaseModified);
}

} // namespace
