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

    // Encryption settings.
    {M::Control, "TForm8", "CheckBox_Encryption",
     "Aktivieren Sie diese Option, um die Datenbank beim nächsten Speichern mit einem Passwort zu "
     "verschlüsseln. Ohne das Passwort kann die Datei dann nicht mehr geöffnet werden."},
    {M::Control, "TForm8", "Edit_Password",
     "Geben Sie hier das Passwort ein, mit dem die Datenbank verschlüsselt wird. Es wird beim "
     "Öffnen der Datei abgefragt; bewahren Sie es gut auf."},
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
