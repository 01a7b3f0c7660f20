#include "mainwindow/command_table.h"

#include <algorithm>
#include <cstring>

namespace lexora {

namespace {

constexpr QKeyCombination none{}; // Qt::Key_unknown: no shortcut
constexpr int noIcon = -1;
constexpr QKeyCombination ctrl(Qt::Key key) { return QKeyCombination(Qt::ControlModifier, key); }

using C = Command;
const Command kCommands[] = {
    // Datei
    {"MenuItem_New", u"&Neu", u"Neue Datenbank erstellen", ctrl(Qt::Key_N), ImgNew, C::None},
    {"MenuItem_Open", u"Ö&ffnen", u"Vorhandene Datenbank öffnen", ctrl(Qt::Key_O), ImgOpen, C::None},
    {"MenuItem_Save", u"&Speichern", u"Datenbank speichern", ctrl(Qt::Key_S), ImgSave, C::None},
    {"MenuItem_SaveAs", u"Speichern &unter", u"Datenbank unter neuem Namen speichern",
     QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_S), noIcon, C::None},
    {"MenuItem_SaveAsTemplate", u"Als &Vorlage speichern", u"Datenbank als Vorlage speichern", none,
     noIcon, C::None},
    {"MenuItem_ExportBrowserContent", u"Browser-Inhalt exportieren",
     u"Den aktuellen Inhalt des Browser-Fensters in eine HTML-Datei exportieren", none, noIcon,
     C::None},
    {"MenuItem_ExportDatabase", u"Gesamte Datenbank exportieren",
     u"Den gesamten Inhalt der Datenbank in eine HTML-Datei exportieren", none, noIcon,
     C::None},
    {"MenuItem_Import", u"Datenbank importieren",
     u"Daten aus anderen Datenbanken in die aktuelle Datenbank importieren", none, noIcon,
     C::None},
    {"MenuItem_Exit", u"Be&enden", u"Programm beenden", QKeyCombination(Qt::AltModifier, Qt::Key_F4),
     noIcon, C::None},
    // Bearbeiten. Undo and redo name their step; these are their captions with none to take.
    {"MenuItem_Undo", u"&Rückgängig", u"Die letzte Änderung der Datenbank rückgängig machen",
     ctrl(Qt::Key_Z), ImgUndo, C::DisabledAtStart},
    {"MenuItem_Redo", u"&Wiederherstellen",
     u"Die zuletzt rückgängig gemachte Änderung wiederherstellen", ctrl(Qt::Key_Y), ImgRedo,
     C::DisabledAtStart},
    {"MenuItem_IncludedFiles", u"Eingebundene Dateien",
     u"Eingebundene Dateien hinzufügen, umbenennen oder entfernen", none, noIcon, C::None},
    {"MenuItem_Search", u"Suchen", u"Nach Einträgen und Schlüsseln suchen", ctrl(Qt::Key_F),
     ImgSearch, C::None},
    {"MenuItem_CopyText", u"Markierten Text kopieren",
     u"Im Anzeigebereich markierten Text in die Zwischenablage kopieren", ctrl(Qt::Key_C),
     ImgCopyText, C::DisabledAtStart},
    {"MenuItem_CopyCode", u"Code kopieren",
     u"Code des markierten Eintrags in die Zwischenablage kopieren",
     QKeyCombination(Qt::ControlModifier | Qt::AltModifier, Qt::Key_C), ImgCopyCode,
     C::DisabledAtStart},
    // Ansicht
    {"MenuItem_SortCriteriums", u"Sortierkriterien...", nullptr, none, noIcon, C::None},
    {"MenuItem_ShowInfo", u"Informationen anzeigen",
     u"Informationen zum markierten Eintrag anzeigen/verbergen", none, noIcon, C::Checkable},
    {"Editierfelder1", u"Editierfelder...", u"Anzeigeeinstellungen der Editierfelder", none,
     noIcon, C::None},
    // Optionen
    {"MenuItem_Templates", u"Vorlagen (HTML, CSS)",
     u"HTML- und CSS-Vorlagen erstellen, bearbeiten oder löschen", none, noIcon, C::None},
    {"MenuItem_LXDTemplates", u"Standard-Vorlage", u"Standard-Datenbank-Vorlage auswählen", none,
     noIcon, C::None},
    {"MenuItem_OpenLast", u"Letzte Datenbank beim Start laden",
     u"Automatisch beim Starten des Programms die zuletzt geöffnete Datei laden", none, noIcon,
     C::Checkable},
    {"MenuItem_Encryption", u"Verschlüsselung",
     u"Verschlüsselung aktivieren oder deaktivieren und Passwort festlegen", none, noIcon, C::None},
    // ?
    {"MenuItem_BalloonHelp", u"Ballon-Hilfe...", u"Infos zur Ballon-Hilfe anzeigen", none, noIcon,
     C::None},
    {"MenuItem_Info", u"Info", u"Programminformationen", none, noIcon, C::None},
    // Tool bar
    {"ToolButton_NewKey", u"Neuer Schlüssel", u"Neuen Schlüssel erstellen", none, ImgKey, C::None},
    {"ToolButton_NewItem", u"Neuer Eintrag", u"Neuen Eintrag erstellen", none, ImgItem, C::None},
    {"ToolButton_DelItem", u"Eintrag löschen", u"Eintrag löschen", none, ImgDelete, C::DisabledAtStart},
    {"ToolButton_NewWindow", u"Eintrag in eigenem Fenster", u"Eintrag in eigenem Fenster anzeigen",
     none, ImgNewWindow, C::DisabledAtStart},
    {"ToolButton_Tray", u"Ablagemappe", u"Ablagemappe anzeigen/verbergen", none, ImgTray, C::None},
    {"ToolButton_HideMainWindow", u"Hauptfenster verbergen", u"Hauptfenster verbergen (F3)", none,
     ImgHideMainWindow, C::DisabledAtStart},
    // The tree's context menu
    {"MenuItem_NewTopKey", u"Neuer Schlüssel auf der höchsten Ebene", nullptr, none, ImgKey, C::None},
    {"MenuItem_NewKey", u"Neuer Schlüssel auf dieser Ebene", nullptr, none, ImgKey, C::None},
    {"MenuItem_NewSubKey", u"Neuer untergeordneter Schlüssel", nullptr, none, ImgKey, C::None},
    {"MenuItem_NewTopItem", u"Neuer Eintrag auf der höchsten Ebene", nullptr, none, ImgItem, C::None},
    {"MenuItem_NewItem", u"Neuer Eintrag auf dieser Ebene", nullptr, none, ImgItem, C::None},
    {"MenuItem_NewSubItem", u"Neuer untergeordneter Eintrag", nullptr, none, ImgItem, C::None},
    {"MenuItem_RenameItem", u"Eintrag umbenennen", nullptr, none, noIcon, C::None},
    {"MenuItem_DelItem", u"Eintrag löschen", nullptr, none, ImgDelete, C::None},
};

} // namespace

std::span<const Command> mainWindowCommands()
{
    return kCommands;
}

const Command &mainWindowCommand(const char *name)
{
    return *std::find_if(std::begin(kCommands), std::end(kCommands),
                         [name](const Command &c) { return std::strcmp(c.name, name) == 0; });
}

} // namespace lexora
