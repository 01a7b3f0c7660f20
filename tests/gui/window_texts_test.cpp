// The texts of every dialog as the user reads them: captions, labels, buttons, the default
// button that Enter presses and what Escape does.
#include "app/window_manager.h"
#include "codefield/code_field_settings.h"
#include "dialogs/encryption_window.h"
#include "dialogs/template_choice_window.h"
#include "editor/display_settings_window.h"
#include "editor/item_editor.h"
#include "exchange/html_export_window.h"
#include "exchange/import_window.h"
#include "files/included_files_window.h"
#include "search/search_window.h"
#include "sorting/sort_criteria_window.h"
#include "support/gui_main_window.h"
#include "templates/template_manager.h"
#include "tray/tray_window.h"

#include <QAbstractButton>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace lexora;
using namespace lexora::test;

namespace {

class WindowTexts : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        start();
        windows = {{"TForm2", &app->itemEditor()},   {"TForm3", &app->templateManager()},
                   {"TForm4", &form4},               {"TForm5", &form5},
                   {"TForm6", &app->search()},       {"TForm7", &app->includedFiles()},
                   {"TForm8", &form8},               {"TForm9", &app->importWindow()},
                   {"TForm11", &app->sortCriteria()}, {"TForm12", &app->exportWindow()},
                   {"TForm13", &app->tray()}};
    }
    void TearDown() override
    {
        finish();
        MainWindowTest::TearDown();
    }
    QWidget *control(const char *windowName, const char *name)
    {
        QWidget *owner = windows.value(QLatin1String(windowName));
        return owner ? owner->findChild<QWidget *>(QLatin1String(name)) : nullptr;
    }
    // The text a control shows: a button's or label's text, a group's title.
    static QString shownText(const QWidget *w)
    {
        if (auto *b = qobject_cast<const QAbstractButton *>(w))
            return b->text();
        if (auto *l = qobject_cast<const QLabel *>(w))
            return l->text();
        if (auto *g = qobject_cast<const QGroupBox *>(w))
            return g->title();
        return QStringLiteral("<no text>");
    }
    // The text of the label that names control (its buddy).
    static QString labelText(const QWidget *control)
    {
        for (const QLabel *l : control->window()->findChildren<QLabel *>())
            if (l->buddy() == control)
                return l->text();
        return QStringLiteral("<no label>");
    }

    CodeFieldSettings codeFields;
    DisplaySettingsWindow form4{codeFields};
    TemplateChoiceWindow form5;
    EncryptionWindow form8;
    QMap<QString, QWidget *> windows;
};

TEST_F(WindowTexts, CaptionsOfTheWindows)
{
    const struct {
        const char *window;
        const char *caption;
    } cases[] = {
        {"TForm2", "Eintrag bearbeiten"},     {"TForm3", "HTML- und CSS-Vorlagen"},
        {"TForm4", "Anzeigeeigenschaften"},   {"TForm6", "Suchen"},
        {"TForm7", "Eingebundene Dateien"},   {"TForm8", "Verschlüsselung"},
        {"TForm9", "Datenbank importieren"},  {"TForm11", "Sortierreihenfolge"},
        {"TForm12", "Datenbank exportieren"}, {"TForm13", "Ablagemappe"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(windows.value(QLatin1String(c.window))->windowTitle(), QString::fromUtf8(c.caption))
            << c.window;
}

TEST_F(WindowTexts, ButtonsLabelsAndGroupsSayWhatTheyAlwaysSaid)
{
    const struct {
        const char *window;
        const char *control;
        const char *text;
        bool ofLabel; // the text of the label that names the control
    } cases[] = {
        {"TForm2", "Button_UpdatePreview", "&Vorschau aktualisieren", false},
        {"TForm2", "Button_Cancel", "Ab&brechen", false},
        {"TForm2", "Button_OK", "&OK", false},
        {"TForm2", "Label1", "HTML-Vorlage:", false},
        {"TForm2", "Label2", "CSS-Vorlage:", false},
        {"TForm2", "CheckBox_AutoFormat", "Automatisches Ersetzen der Zeilenumbrüche durch \"<br>\"", false},
        {"TForm3", "Edit_Name", "Name:", true},
        {"TForm3", "Edit_Description", "Beschreibung:", true},
        {"TForm3", "CheckBox_Default", "Standard-Vorlage", false},
        {"TForm3", "Button_New", "Neu", false},
        {"TForm3", "Button_Del", "Löschen", false},
        {"TForm3", "Button_Save", "Speichern", false},
        {"TForm3", "Button_Close", "Schließen", false},
        {"TForm4", "GroupBox1", "Tabstopp-Abstand", false},
        {"TForm4", "Label1", "Vorschau:", false},
        {"TForm4", "GroupBox2", "Schriftarten", false},
        {"TForm4", "Label2", "Im Bearbeitungsfenster der Einträge:", false},
        {"TForm4", "Label4", "Im Bearbeitungsfenster der Vorlagen:", false},
        {"TForm4", "Button_ChangeF2Font", "Bearbeiten", false},
        {"TForm4", "Button_ChangeF3Font", "Bearbeiten", false},
        {"TForm4", "Button_OK", "&OK", false},
        {"TForm4", "Button_Cancel", "Ab&brechen", false},
        {"TForm5", "Button_OK", "&OK", false},
        {"TForm5", "Button_Cancel", "Ab&brechen", false},
        {"TForm6", "Edit_Words", "Stichwörter:", true},
        {"TForm6", "RadioButton_AND", "Alle Stichwörter müssen vorkommen.", false},
        {"TForm6", "RadioButton_OR", "Mindestens eins der Stichwörter muss vorkommen.", false},
        {"TForm6", "CheckBox_FullWords", "Nur ganze Wörter", false},
        {"TForm6", "CheckBox_ExactSpelling", "Groß-/Kleinschreibung", false},
        {"TForm6", "Button_Search", "Suchen", false},
        {"TForm6", "Button_DelKey", "Löschen", false},
        {"TForm6", "CheckBox_RecursiveSearch", "Untergeordnete Schlüssel durchsuchen", false},
        {"TForm6", "CheckBox_KeyNames", "Schlüsselnamen", false},
        {"TForm6", "CheckBox_ItemNames", "Eintragsnamen", false},
        {"TForm6", "CheckBox_ItemCodes", "Quellcode der Einträge", false},
        {"TForm6", "CheckBox_ItemTexts", "Text der Einträge (wie im Anzeigefenster angezeigt)", false},
        {"TForm6", "Label3", "Nur Einträge durchsuchen, für die gilt:", false},
        {"TForm6", "Label5", "Ausgewählter Eintrag:", false},
        {"TForm7", "Button_Add", "Hinzufügen", false},
        {"TForm7", "Button_Del", "Entfernen", false},
        {"TForm7", "Button_Rename", "Umbenennen", false},
        {"TForm7", "Button_Close", "Schließen", false},
        {"TForm8", "CheckBox_Encryption", "Verschlüsselung aktivieren", false},
        {"TForm8", "Edit_Password", "Passwort:", true},
        {"TForm8", "Button_OK", "OK", false},
        {"TForm9", "Label1", "Geben Sie die Datenbanken an, die importiert werden sollen.", false},
        {"TForm9", "Button_Add", "Hinzufügen", false},
        {"TForm9", "Button_Del", "Entfernen", false},
        {"TForm9", "Button_Next", "Weiter >", false},
        {"TForm9", "Label2", "Markieren Sie die zu importierenden Elemente.", false},
        {"TForm9", "Button_Back", "< Zurück", false},
        {"TForm9", "Button_Import", "Importieren", false},
        {"TForm11", "GroupBox_Criterium1", "1. Kriterium", false},
        {"TForm11", "GroupBox_Criterium2", "2. Kriterium", false},
        {"TForm11", "GroupBox_Criterium3", "3. Kriterium", false},
        {"TForm11", "CheckBox_Criterium1", "Aktiviert", false},
        {"TForm11", "CheckBox_Criterium2", "Aktiviert", false},
        {"TForm11", "CheckBox_Criterium3", "Aktiviert", false},
        {"TForm11", "Button_OK", "&OK", false},
        {"TForm11", "Button_Cancel", "Ab&brechen", false},
        {"TForm12", "GroupBox1", "Eigenschaften der HTML-Datei", false},
        {"TForm12", "Edit_Title", "Titel:", true},
        {"TForm12", "Label1", "Bevorzugte Schriftart:", false},
        {"TForm12", "GroupBox2", "Ausgabedatei", false},
        {"TForm12", "Button_SearchFile", "Suchen", false},
        {"TForm12", "Button_Export", "Exportieren", false},
        {"TForm12", "Button_Cancel", "Ab&brechen", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.window) + " " + c.control);
        QWidget *w = control(c.window, c.control);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(c.ofLabel ? labelText(w) : shownText(w), QString::fromUtf8(c.text));
    }
}

// Enter presses the default button; Escape closes a dialog the way its cancel button does (or,
// without one, as the close box does).
TEST_F(WindowTexts, EnterPressesTheDefaultButtonAndEscapeCancels)
{
    const struct {
        const char *window;
        const char *defaultButton;
    } cases[] = {
        {"TForm2", "Button_OK"},      {"TForm3", "Button_Save"}, {"TForm4", "Button_OK"},
        {"TForm5", "Button_OK"},      {"TForm8", "Button_OK"},   {"TForm11", "Button_OK"},
        {"TForm12", "Button_Export"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.window);
        auto *dialog = qobject_cast<QDialog *>(windows.value(QLatin1String(c.window)));
        ASSERT_NE(dialog, nullptr);
        auto *button = qobject_cast<QPushButton *>(control(c.window, c.defaultButton));
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(button->isDefault());
        for (QPushButton *other : dialog->findChildren<QPushButton *>())
            EXPECT_EQ(other->isDefault(), other == button) << other->objectName().toStdString();

        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
        QTest::keyClick(dialog, Qt::Key_Escape);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog->isVisible(); }, 2000)) << "Escape";
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
    }
}

} // namespace
