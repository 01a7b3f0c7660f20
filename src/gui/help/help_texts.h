#pragma once

#include <QString>

#include <span>

class QWidget;

namespace lexora {

// The context help: for a control under the mouse pointer, the short German text that F1 shows
// in the help balloon. Every window's entries live in the one table of help_texts.cpp, in the
// order in which they are examined; the first entry that matches gives the text.
struct HelpEntry {
    enum class Match {
        Control,             // the control named `control` in the window named `window`
        Name,                // any control named `control`, in any window
        NameWithoutLast,     // any control whose name without its last character is `control`
        NameWithoutLastFive, // ... without its last five characters
    };
    Match match;
    const char *window;  // objectName of the control's window (Match::Control only)
    const char *control; // objectName of the control, or the name's front for the prefix matches
    const char *text;    // UTF-8; "\r\n" ends a line
};

// All entries, in the order they are examined.
std::span<const HelpEntry> helpEntries();

// True when entry describes control.
bool helpEntryMatches(const HelpEntry &entry, const QWidget &control);

// The text of the first entry that matches control; empty when none does.
QString helpText(const QWidget &control);

// The introduction that "Ballon-Hilfe..." shows.
QString balloonHelpIntroduction();

} // namespace lexora
