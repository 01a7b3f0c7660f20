#pragma once

// Texts of a code field written with their selection: "|" is the caret, "[" the other end of a
// selection ("a[bc|d" has "bc" selected with the caret behind it). Line breaks are "\n".
#include "text/text_edit.h"

#include <QString>

namespace lexora::test {

struct MarkedText {
    QString text;
    Selection selection;
};

// The text without its marks; fails the test when the caret mark is missing.
MarkedText parseMarked(const QString &marked);
QString markText(const QString &text, Selection selection);

// The text after an edit, with the edit's selection marked.
QString applyMarked(const QString &text, const TextEdit &edit);

} // namespace lexora::test
