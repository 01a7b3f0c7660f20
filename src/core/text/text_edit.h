#pragma once

#include <QString>
#include <QStringView>

#include <algorithm>
#include <vector>

// Edits of a code field, computed without the field: a text and its selection go in, the
// changes and the new selection come out. Positions count characters of the field's text, in
// which a line break is the one character '\n'.
namespace lexora {

// The anchor is where the selection began, the position is where the caret stands.
struct Selection {
    qsizetype anchor = 0;
    qsizetype position = 0;

    qsizetype start() const { return std::min(anchor, position); }
    qsizetype end() const { return std::max(anchor, position); }
    qsizetype length() const { return end() - start(); }

    // The selection from start to end, with the caret at its end.
    static Selection range(qsizetype start, qsizetype end) { return {start, end}; }
    static Selection caret(qsizetype position) { return {position, position}; }

    friend bool operator==(const Selection &, const Selection &) = default;
};

// The characters [from, to) of the text are replaced by text.
struct TextChange {
    qsizetype from = 0;
    qsizetype to = 0;
    QString text;

    friend bool operator==(const TextChange &, const TextChange &) = default;
};

// Changes in the positions of the original text, in ascending order and not overlapping, so
// that applying them from the last to the first keeps every position valid; then the selection
// in the changed text.
struct TextEdit {
    std::vector<TextChange> changes;
    Selection selection;
};

// Where a position of the original text stands after the changes: behind text inserted at it,
// at the start of a removed range it lay in.
qsizetype mapPosition(qsizetype position, const std::vector<TextChange> &changes);

} // namespace lexora
