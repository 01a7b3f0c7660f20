#pragma once

#include "database/model.h"

#include <QByteArrayView>
#include <QStringView>

#include <array>
#include <vector>

namespace lexora {

// How a placeholder is written: plain "%name%"; argument "%name%" followed by an argument ended
// by ">"; block "%>name%" with an argument ended by ">", content and a closing "%<name%".
enum class PlaceholderForm { Plain, Argument, Block };

struct Placeholder {
    const char *name;
    PlaceholderForm form;
    // A format pattern: "%s" stands for the name, "%%" for one "%"; nullptr for plain ones.
    const char *argumentPattern;
    QStringView description; // the text of the editor's placeholder menu
};

// The index into PlaceholderTable is a placeholder's identity.
enum PlaceholderIndex : int {
    PhCss, PhHeadline, PhText, PhXcss, PhXhtml, PhCreated, PhModified, PhCreatedBy, PhModifiedBy,
    PhLevel, PhParents, PhChildren, PhFileName, PhFilePath, PhAppPath, PhFile, PhType,
    PlaceholderCount
};

// In the order of the editor's placeholder menu.
inline constexpr std::array<Placeholder, PlaceholderCount> PlaceholderTable{{
    {"css", PlaceholderForm::Plain, nullptr, u"CSS-Vorlage"},
    {"headline", PlaceholderForm::Plain, nullptr, u"Überschrift des Eintrags"},
    {"text", PlaceholderForm::Plain, nullptr, u"Inhalt des Eintrags"},
    {"xcss", PlaceholderForm::Argument, "[Name]>",
     u"CSS-Vorlage mit dem Namen [Name] ([Name] = nicht def.: Standard-Vorlage)"},
    {"xhtml", PlaceholderForm::Block, "[Name]>[Inhalt]%%<%s%%",
     u"HTML-Vorlage mit dem Namen [Name] und dem Inhalt [Inhalt] ([Name] = nicht def.: "
     u"Standard-Vorlage)"},
    {"created", PlaceholderForm::Plain, nullptr, u"Datum der Erstellung"},
    {"modified", PlaceholderForm::Plain, nullptr, u"Datum der letzten Änderung"},
    {"createdby", PlaceholderForm::Plain, nullptr,
     u"Name des Benutzers, der den Eintrag erstellt hat"},
    {"modifiedby", PlaceholderForm::Plain, nullptr,
     u"Name des Benutzers, der den Eintrag zuletzt bearbeitet hat"},
    {"level", PlaceholderForm::Plain, nullptr,
     u"Ebene des Eintrags in der Baumstruktur (0: oberste Ebene)"},
    {"parents", PlaceholderForm::Argument, "[Index]>",
     u"Titel eines übergeordneten Schlüssels ([Index] = 0: direkt übergeordneter Schlüssel; "
     u"-1: Stammschlüssel)"},
    {"children", PlaceholderForm::Plain, nullptr, u"Anzahl der untergeordneten Einträge"},
    {"filename", PlaceholderForm::Plain, nullptr, u"Name der aktuellen Datei (ohne Pfad)"},
    {"filepath", PlaceholderForm::Plain, nullptr, u"Pfad der aktuellen Datei"},
    {"apppath", PlaceholderForm::Plain, nullptr, u"Pfad der Anwendung"},
    {"file", PlaceholderForm::Argument, "[Name]>",
     u"Dateiname der unter dem Namen \"Name\" eingebundenen Datei"},
    {"type", PlaceholderForm::Plain, nullptr, u"Elementtyp (0: Schlüssel; 1: Eintrag)"},
}};

// What the search looks for: "%name%", or "%>name%" for a block.
const Text &placeholderPattern(int index);
// The closing marker of a block placeholder: "%<name%".
Text blockClosing(int index);
// The caption of the editor's menu entry: the pattern followed by the argument pattern with its
// format resolved ("%>xhtml%[Name]>[Inhalt]%<xhtml%").
Text placeholderCaption(int index);

// One occurrence of a placeholder: text[start, end) is the pattern with its argument and ">".
struct PlaceholderMatch {
    qsizetype start = 0;
    qsizetype end = 0;
    Text argument;
};

// The search for one placeholder through one text. The text is not changed: the caller copies
// what lies around each occurrence and goes on at its end, which is what removing it and
// searching behind the inserted value comes to.
class PlaceholderSearch {
public:
    PlaceholderSearch(int index, QByteArrayView text);

    // The first occurrence at or after from. An argument runs from the pattern to the first ">"
    // after it, anywhere later in the text; without such a ">" the argument is empty and only the
    // pattern belongs to the occurrence.
    bool FindPlaceholder(qsizetype from, PlaceholderMatch &match) const;

private:
    QByteArrayView m_text;
    Text m_pattern;
    bool m_hasArgument;
    qsizetype m_lastGreater; // where the last ">" is, so that a missing one is not sought again
};

// The opening and closing markers of the blocks of one name in one text, indexed once so that
// the end of each of many blocks is found in constant time.
class BlockMarkers {
public:
    BlockMarkers(QByteArrayView text, int index);

    // The matching closing marker of a block whose content starts at from: counting from depth 1,
    // each opening at or after from deepens, each closing ends one level; the closing that ends
    // the last level is the block's end. -1 when no closing is left.
    qsizetype FindBlockEnd(qsizetype from) const;

private:
    std::vector<qsizetype> m_position;   // every marker, in text order
    std::vector<qsizetype> m_matchAfter; // for a marker i: the closing that ends a block opened
                                         // just before it, as an index into m_position, or -1
};

} // namespace lexora
