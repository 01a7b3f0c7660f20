#pragma once

#include "text/text_edit.h"

#include <QChar>
#include <QStringView>
#include <Qt>

#include <optional>

// The key handling shared by every code field (the item editor's, the template manager's and
// the item window's): what a key press means, and what it does to the text and the selection.
namespace lexora::CodeEditorKeys {

enum class Command {
    None,     // the field handles the key itself
    NewLine,  // Enter: a new line with the indentation of the caret's line
    Indent,   // Ctrl+Shift+I (2 spaces), Ctrl+Shift+K (1 tab)
    Unindent, // Ctrl+Shift+U (up to 2 leading blanks), Ctrl+Shift+J (up to 1)
    Discard,  // a control character typed with Ctrl+Shift held: nothing is inserted
};

struct KeyCommand {
    Command command = Command::None;
    QChar character; // what Indent inserts
    int amount = 0;  // how many characters Indent inserts or Unindent removes at most

    friend bool operator==(const KeyCommand &, const KeyCommand &) = default;
};

// The meaning of a key press: the key, the modifiers held and the text the key produces.
KeyCommand commandFor(int key, Qt::KeyboardModifiers modifiers, QStringView text);

// Enter: the selection is replaced by a line break and the leading spaces and tabs of the
// caret's line; a line of nothing but spaces and tabs is emptied first. The caret ends behind
// the new indentation.
TextEdit newLine(QStringView text, Selection selection);

// Every line of the selection gets amount copies of character at its start. A caret stands for
// its own line; a selection that ends at the start of a line leaves that line alone. The
// selection keeps covering the same text.
TextEdit indent(QStringView text, Selection selection, QChar character, int amount);

// Every line of the selection loses up to amount leading spaces or tabs; the lines as for indent.
TextEdit unindent(QStringView text, Selection selection, int amount);

// Removes the characters up to code 32 (blanks, tabs, control characters) from the end of every
// line, as when the field is left. Only lines that change are touched.
TextEdit trimTrailingBlanks(QStringView text, Selection selection);

// The edit for a key command; nullopt for None and Discard, which change nothing.
std::optional<TextEdit> apply(const KeyCommand &command, QStringView text, Selection selection);

} // namespace lexora::CodeEditorKeys
