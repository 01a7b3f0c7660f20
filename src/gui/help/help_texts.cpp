#include "help/help_texts.h"

#include <QWidget>

namespace lexora {

namespace {

using M = HelpEntry::Match;

// One entry per control, window by window, in the order of examination. A window adds its
// entries at its place in this table; name entries serve controls that several windows share.
constexpr HelpEntry kEntries[] = {
    // Main window.
    {M::Control, "TQZS_LXD_Form", "TreeView_Items",
     "Hier werden alle Schlüssel und Einträge der aktuellen Datenbank aufgelistet.\r\n\r\n"
     "Um einen neuen Eintrag anzulegen, klicken Sie mit der rechten Maustaste auf den Schlüssel, "
     "dem der neue Eintrag untergeordnet werden soll, und wählen Sie im erscheinenden Menü den "
     "Eintrag \"Neuer untergeordneter Eintrag\"."},
    {M::Control, "TQZS_LXD_Form", "WebBrowser",
     "Hier wird der markierte Eintrag so angezeigt, wie seine HTML- und CSS-Vorlage ihn "
     "darstellen. Für einen Schlüssel wird die Standard-Vorlage mit seinem Namen angezeigt."},
    {M::Control, "TQZS_LXD_Form", "PaintBox_Info",
     "Hier werden Informationen zum aktuell markierten Eintrag angezeigt. Bei Schlüsseln wird die "
     "Anzahl der enthaltenen Elemente angezeigt, bei Einträgen informiert der Infobereich über "
     "Erstellungs- und Änderungsdatum sowie Ersteller und letzten Bearbeiter."},
    {M::Control, "TQZS_LXD_Form", "ToolButton_Undo",
     "Macht die letzte Änderung der Datenbank rückgängig: ein Löschen, Verschieben, Umbenennen, "
     "eine Bearbeitung, einen Import und jede andere Änderung, Schritt für Schritt (Strg+Z). "
     "Der Hinweis nennt den Schritt, der zurückgenommen wird."},
    {M::Control, "TQZS_LXD_Form", "ToolButton_Redo",
     "Stellt die zuletzt rückgängig gemachte Änderung wieder her (Strg+Y oder "
     "Strg+Umschalt+Z). Nach einer neuen Änderung können die rückgängig gemachten Schritte "
     "nicht mehr wiederhergestellt werden."},

    // The tool bar of the item editor, whose copies every item window carries.
    {M::Name, nullptr, "ToolButton_Tag",
     "Hiermit können Sie HTML-Tags in den Quelltext einfügen. Ein markierter Text wird vom "
     "gewählten Tag umschlossen. Klicken Sie auf den Pfeil rechts, um eine Liste aller zur "
     "Verfügung stehenden Tags anzuzeigen."},
    {M::Name, nullptr, "ToolButton_Keyword",
     "Hiermit können Sie Platzhalter einfügen, die in der Darstellung des Eintrags durch "
     "bestimmte Daten ersetzt werden. Klicken Sie auf den Pfeil rechts, um eine Liste aller zur "
     "Verfügung stehenden Platzhalter anzuzeigen."},
    {M::Name, nullptr, "ToolButton_WantWrap",
     "Schaltet den automatischen Zeilenumbruch im Eingabefeld ein oder aus. Lange Zeilen werden "
     "dann am rechten Rand umbrochen; der Quelltext selbst bleibt unverändert."},

    // Item editor.
    {M::Control, "TForm2", "Memo_Content",
     "Hier bearbeiten Sie den HTML-Quelltext des Eintrags.\r\n\r\nMit Strg+Umschalt+I und "
     "Strg+Umschalt+K rücken Sie die markierten Zeilen um zwei Leerzeichen bzw. einen Tabulator "
     "ein, mit Strg+Umschalt+U und Strg+Umschalt+J nehmen Sie die Einrückung zurück."},
    {M::Control, "TForm2", "ComboBox_HTMLTemplate",
     "Wählen Sie hier die HTML-Vorlage, in die der Inhalt des Eintrags bei der Anzeige eingefügt "
     "wird. Mit \"Keine Vorlage\" wird nur der Quelltext des Eintrags angezeigt."},
    {M::Control, "TForm2", "ComboBox_CSSTemplate",
     "Wählen Sie hier die CSS-Vorlage, die an der Stelle des Platzhalters \"%css%\" eingefügt "
     "wird und das Aussehen des Eintrags bestimmt."},
    {M::Control, "TForm2", "CheckBox_AutoFormat",
     "Aktivieren Sie diese Option, damit jeder Zeilenumbruch im Quelltext bei der Anzeige durch "
     "\"<br>\" ersetzt wird. Steht am Ende einer Zeile das Zeichen \"_\", so bleibt dieser "
     "Zeilenumbruch unverändert."},
    {M::Control, "TForm2", "WebBrowser",
     "Hier sehen Sie, wie der Eintrag mit den gewählten Vorlagen angezeigt wird. Die Vorschau "
     "folgt Ihren Änderungen, sobald Sie beim Schreiben kurz innehalten."},
    {M::Control, "TForm2", "Button_UpdatePreview",
     "Klicken Sie hier, um die Vorschau sofort mit dem aktuellen Quelltext und den gewählten "
     "Vorlagen neu aufzubauen."},

    // Template manager.
    {M::Control, "TForm3", "ListView_Templates",
     "Hier werden alle Vorlagen der gewählten Art aufgelistet. Die Standard-Vorlage ist fett "
     "hervorgehoben. Klicken Sie auf eine Vorlage, um sie zu bearbeiten."},
    {M::Control, "TForm3", "Edit_Name",
     "Geben Sie hier den Namen der Vorlage ein. Er muss innerhalb der Liste eindeutig sein und "
     "darf die Zeichen \"<\" und \">\" nicht enthalten. Wird der Name geändert, werden alle "
     "Verweise in den Einträgen angepasst."},
    {M::Control, "TForm3", "Edit_Description",
     "Hier können Sie eine kurze Beschreibung der Vorlage eingeben, die ihren Zweck erklärt."},
    {M::Control, "TForm3", "Memo_Content",
     "Hier kann der Code der aktuellen Vorlage bearbeitet werden.\r\n\r\nHTML-Vorlagen:\r\n"
     "Verwenden Sie den Platzhalter \"%text%\" an der Stelle, an der der Inhalt der Einträge, "
     "die diese Vorlage verwenden, eingefügt werden soll."},
    {M::Control, "TForm3", "CheckBox_Default",
     "Aktivieren Sie diese Option, um die aktuelle Vorlage als Standard-Vorlage zu "
     "verwenden.\r\n\r\nDie Standard-Vorlage ist bei neuen Einträgen standardmäßig aktiviert "
     "und wird außerdem immer für die Anzeige von Schlüsseln verwendet."},
    {M::Control, "TForm3", "Button_Save",
     "Klicken Sie hier, um die Angaben zu speichern. Ist keine Vorlage markiert, wird eine neue "
     "Vorlage angelegt."},

    // Editor display settings.
    {M::Control, "TForm4", "TrackBar_TabStopPosition",
     "Stellen Sie hier den Abstand der Tabstopps in den Editierfeldern ein. Die Vorschau darunter "
     "zeigt die Wirkung sofort."},
    {M::Control, "TForm4", "Memo_TabPreview",
     "Hier sehen Sie, wie Text mit Tabulatoren beim eingestellten Tabstopp-Abstand in der "
     "Schriftart des Eintrag-Editors aussieht."},

    // Template database choice.
    {M::Control, "TForm5", "ComboBox_Template",
     "Wählen Sie hier eine Datenbank-Vorlage aus dem Ordner \"Templates\". Ihre Vorlagen, "
     "Schlüssel und Einträge bilden den Anfang jeder neuen Datenbank."},

    // Search window.
    {M::Control, "TForm6", "Edit_Words",
     "Geben Sie hier die Stichwörter ein, nach denen gesucht werden soll. Trennen Sie mehrere "
     "Stichwörter durch Leerzeichen oder Kommata; Wörter in Anführungszeichen werden als "
     "zusammenhängender Text gesucht."},
    {M::Control, "TForm6", "CheckBox_FullWords",
     "Aktivieren Sie diese Option, um nur Fundstellen zu finden, an denen das Stichwort als "
     "ganzes Wort steht, nicht als Teil eines längeren Wortes."},
    {M::Control, "TForm6", "CheckBox_ExactSpelling",
     "Aktivieren Sie diese Option, um Groß- und Kleinschreibung bei der Suche zu beachten."},
    {M::Control, "TForm6", "ListView_Keys",
     "Hier werden die Schlüssel aufgelistet, in denen gesucht wird. Fügen Sie weitere Schlüssel "
     "hinzu, indem Sie sie aus dem Hauptfenster in diese Liste ziehen."},
    {M::Control, "TForm6", "Label_TopLevel",
     "Ziehen Sie dieses Element in die Liste der Schlüssel, um auf der höchsten Ebene der "
     "Datenbank und damit in der gesamten Datenbank zu suchen."},
    {M::Control, "TForm6", "CheckBox_RecursiveSearch",
     "Aktivieren Sie diese Option, um auch die Schlüssel zu durchsuchen, die den aufgelisteten "
     "Schlüsseln untergeordnet sind."},
    {M::Control, "TForm6", "CheckBox_ItemCodes",
     "Aktivieren Sie diese Option, um den HTML-Quellcode der Einträge zu durchsuchen."},
    {M::Control, "TForm6", "CheckBox_ItemTexts",
     "Durchsuchen des Textes der Einträge, wie er im Browser-Fenster angezeigt wird"},
    {M::Control, "TForm6", "RichEdit_Title",
     "Hier wird der Name des in der Ergebnisliste ausgewählten Elements angezeigt. Fundstellen "
     "sind rot und fett hervorgehoben."},
    {M::Control, "TForm6", "RichEdit_Result",
     "Hier wird der Quellcode oder der angezeigte Text des ausgewählten Eintrags angezeigt. Alle "
     "Fundstellen sind rot und fett hervorgehoben."},
    {M::Control, "TForm6", "ListView_Results",
     "Hier werden alle gefundenen Schlüssel und Einträge aufgelistet. Klicken Sie doppelt auf "
     "ein Element, um es im Hauptfenster auszuwählen und anzuzeigen."},

    // Item windows.
    {M::Control, "TForm_Item", "WebBrowser",
     "Hier wird der Eintrag dieses Fensters so angezeigt, wie seine HTML- und CSS-Vorlage ihn "
     "darstellen."},
    {M::Control, "TForm_Item", "Memo_Content",
     "Hier können Sie den Quelltext des Eintrags direkt bearbeiten. Jede Änderung wird sofort in "
     "den Eintrag übernommen."},

    // Included files.
    {M::Control, "TForm7", "ListView_Files",
     "Hier werden alle Dateien aufgelistet, die in die Datenbank eingebunden sind. Sie können "
     "Dateien aus dem Dateimanager hierher ziehen, um sie hinzuzufügen. In den Einträgen "
     "verweisen Sie mit dem Platzhalter \"%file%Dateiname>\" auf eine Datei."},

    // Encryption settings.
    {M::Control, "TForm8", "CheckBox_Encryption",
     "Aktivieren Sie diese Option, um die Datenbank beim nächsten Speichern mit einem Passwort zu "
     "verschlüsseln. Ohne das Passwort kann die Datei dann nicht mehr geöffnet werden."},
    {M::Control, "TForm8", "Edit_Password",
     "Geben Sie hier das Passwort ein, mit dem die Datenbank verschlüsselt wird. Es wird beim "
     "Öffnen der Datei abgefragt; bewahren Sie es gut auf."},
    {M::Control, "TForm8", "RadioButton_Compatible",
     "Verschlüsselt die Datei so, dass auch ältere Lexora-Versionen sie öffnen können. Das hält nur "
     "einen flüchtigen Blick ab: Wer die Datei hat, kann ihren Inhalt auch ohne Passwort lesen."},
    {M::Control, "TForm8", "RadioButton_Strong",
     "Verschlüsselt die Datei so, dass niemand sie ohne das Passwort lesen oder unbemerkt verändern "
     "kann. Ältere Lexora-Versionen können sie nicht öffnen, und ein vergessenes Passwort lässt "
     "sich nicht wiederherstellen."},

    // Import.
    {M::Control, "TForm9", "ListView_Files",
     "Hier stehen die Datenbanken, deren Inhalt in die aktuelle Datenbank importiert werden soll. "
     "Mit \"Hinzufügen\" oder indem Sie Dateien aus dem Dateimanager hierher ziehen, erweitern "
     "Sie die Liste; mit \"Entfernen\" nehmen Sie die markierten Dateien wieder heraus."},
    {M::Control, "TForm9", "CheckListBox_Elements",
     "Markieren Sie hier, welche Teile der Datenbanken importiert werden sollen. Einträge, die es "
     "in der aktuellen Datenbank schon gibt, werden nur ersetzt, wenn \"Vorhandene Einträge "
     "importieren (bestehende ersetzen)\" markiert ist."},

    // HTML export.
    {M::Control, "TForm12", "Edit_Title",
     "Geben Sie hier den Titel der HTML-Datei ein. Er erscheint als Überschrift der Seite und in "
     "der Titelleiste des Browsers; ohne Titel erhält die Seite keine Überschrift."},
    {M::Control, "TForm12", "ComboBox_Font",
     "Wählen Sie hier die Schriftart, in der der Browser die Seite anzeigen soll. Ist sie auf dem "
     "Rechner des Lesers nicht vorhanden, nimmt der Browser seine Standardschrift."},
    {M::Control, "TForm12", "ComboBox_FontSize",
     "Wählen Sie hier die Grundgröße der Schrift auf der Seite. Schriftgrößen, die die Vorlagen "
     "der Einträge selbst festlegen, bleiben erhalten."},
    {M::Control, "TForm12", "Edit_File",
     "Geben Sie hier den vollständigen Pfad der HTML-Datei an, in die die Datenbank exportiert "
     "wird, oder wählen Sie ihn mit \"Suchen\" aus. Fehlende Ordner werden beim Exportieren "
     "angelegt."},

    // Tray.
    {M::Control, "TForm13", "ListView_Tray",
     "Hier können Sie durch Drag&Drop Einträge ablegen, um sie zu einem späteren Zeitpunkt wieder "
     "aufzurufen."},
    {M::Control, "TForm13", "ToolButton_Delete",
     "Klicken Sie hier, um die markierten Einträge aus der Ablagemappe zu entfernen. Die Einträge "
     "selbst bleiben in der Datenbank erhalten."},
    {M::Control, "TForm13", "ToolButton_GoTo",
     "Klicken Sie hier, um den markierten Eintrag im Hauptfenster zu markieren und anzuzeigen."},
    {M::Control, "TForm13", "ToolButton_Clear",
     "Klicken Sie hier, um alle Einträge aus der Ablagemappe zu entfernen. Die Einträge selbst "
     "bleiben in der Datenbank erhalten."},

    // Sort criteria, by the front of the names of the three numbered groups.
    {M::NameWithoutLast, nullptr, "CheckBox_Criterium",
     "Aktivieren Sie diese Option, um das Kriterium dieser Gruppe beim Sortieren anzuwenden. "
     "Die aktivierten Kriterien werden der Reihe nach angewandt."},
    {M::NameWithoutLast, nullptr, "ComboBox_Criterium",
     "Wählen Sie hier das Kriterium, nach dem die Schlüssel und Einträge sortiert werden sollen."},
    {M::NameWithoutLastFive, nullptr, "ComboBox_Criterium",
     "Wählen Sie hier den Modus, mit dem das Kriterium angewandt werden soll. Wählen Sie "
     "beispielsweise \"aufsteigend\", um Texte von A bis Z und Daten chronologisch zu sortieren."},
};

bool nameMatches(const QString &name, const char *front, qsizetype cut)
{
    return name.size() > cut && name.chopped(cut) == QLatin1String(front);
}

} // namespace

std::span<const HelpEntry> helpEntries()
{
    return kEntries;
}

bool helpEntryMatches(const HelpEntry &entry, const QWidget &control)
{
    const QString name = control.objectName();
    switch (entry.match) {
    case M::Control:
        return name == QLatin1String(entry.control)
               && control.window()->objectName() == QLatin1String(entry.window);
    case M::Name: return name == QLatin1String(entry.control);
    case M::NameWithoutLast: return nameMatches(name, entry.control, 1);
    case M::NameWithoutLastFive: return nameMatches(name, entry.control, 5);
    }
    return false;
}

QString helpText(const QWidget &control)
{
    for (const HelpEntry &entry : kEntries)
        if (helpEntryMatches(entry, control))
            return QString::fromUtf8(entry.text);
    return {};
}

QString balloonHelpIntroduction()
{
    return QStringLiteral("Wenn Sie zu einem Objekt des Programms Fragen haben, können Sie "
                          "jederzeit den Mauszeiger darüber bewegen und mit der F1-Taste "
                          "entsprechende Kurzinformationen abrufen.\r\n\r\n"
                          "Klicken Sie den Ballon an, um die Hilfe auszublenden.");
}

} // namespace lexora
