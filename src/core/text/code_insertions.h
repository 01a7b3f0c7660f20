#pragma once

#include "database/model.h"
#include "text/text_edit.h"

#include <QString>
#include <QStringView>

#include <array>
#include <optional>
#include <vector>

// The HTML tags and placeholders that the code fields' tool bar inserts, and the menu entries
// that offer them. Every entry carries a tag: the row of its table in the low 8 bits and, for an
// entry naming a template or an included file, that record's list position plus 1 in bits 8-15.
namespace lexora {

struct HtmlTag {
    const char *name;
    const char *attributes; // written after the name in the opening tag; nullptr for none
    bool single;            // only the opening tag is inserted
    QStringView hint;
};

inline constexpr std::array<HtmlTag, 17> TagTable{{
    {"html", nullptr, false, u"HTML-Tag"},
    {"head", nullptr, false, u"HTML-Kopf"},
    {"body", nullptr, false, u"HTML-Körper"},
    {"b", nullptr, false, u"Fett"},
    {"i", nullptr, false, u"Kursiv"},
    {"u", nullptr, false, u"Unterstrichen"},
    {"table", nullptr, false, u"Tabelle"},
    {"tr", nullptr, false, u"Tabellenzeile"},
    {"td", nullptr, false, u"Tabellenzelle"},
    {"p", nullptr, false, u"Absatz"},
    {"div", nullptr, false, u"Abschnitt"},
    {"ul", nullptr, false, u"Liste"},
    {"ol", nullptr, false, u"nummerierte Liste"},
    {"li", nullptr, true, u"Listenelement"},
    {"br", nullptr, true, u"Zeilenumbruch"},
    {"script", "type=\"text/javascript\"", false, u"JavaScript"},
    {"style", "type=\"text/css\"", false, u"CSS-Definitionen"},
}};

// The row whose tag the tag button shows at first ("<b>").
inline constexpr int InitialTagRow = 3;

// How many records of a list a submenu can address.
inline constexpr int MaxSubmenuRecords = 255;

inline constexpr int menuTag(int row, int listPosition = -1) { return (listPosition + 1) * 256 + row; }
inline constexpr int tagRow(int tag) { return tag & 0xFF; }
// The record's list position plus 1; 0 for an entry that names no record.
inline constexpr int tagRecord(int tag) { return (tag >> 8) & 0xFF; }

// "<b>", "<script ...>".
QString tagCaption(int row);

// Inserts the tag of row at the selection: a single tag replaces the selected text; a paired tag
// encloses it and leaves it selected (the caret between both tags when nothing was selected).
TextEdit tagAction(int row, Selection selection, QStringView selectedText);

// Whether a placeholder row has a submenu of records (CSS templates, HTML templates, included
// files), and the names in that list.
bool hasSubmenu(int row);

// The name of the record an entry's tag addresses; nullopt when it addresses none, or a position
// the list no longer has (a stale entry).
std::optional<Text> chosenName(const Database &db, int tag);

// Inserts the placeholder of the entry's tag at the selection, as its form asks: a plain one
// replaces the selection; an argument ends with the chosen name and ">", or without one with the
// selected text and ">", which stays selected; a block encloses the selected text, which stays
// selected, after the chosen name.
TextEdit placeholderAction(const Database &db, int tag, Selection selection,
                           QStringView selectedText);

// The named entries of a placeholder's submenu: for each of the first MaxSubmenuRecords records
// of its list the caption (the name with "&" doubled, so that it is no accelerator), the hint
// (a template's description, a file's size) and the tag.
struct SubmenuEntry {
    QString caption;
    QString hint;
    int tag = 0;

    friend bool operator==(const SubmenuEntry &, const SubmenuEntry &) = default;
};
std::vector<SubmenuEntry> submenuEntries(const Database &db, int row);
// How many records of the list no submenu entry addresses.
int recordsBeyondSubmenu(const Database &db, int row);

} // namespace lexora
