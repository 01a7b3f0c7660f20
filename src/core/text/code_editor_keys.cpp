#include "text/code_editor_keys.h"

namespace lexora::CodeEditorKeys {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

// The start of the line that holds the character at index (the line break ending a line
// belongs to it); index may be the text's size, which lies in the last line.
qsizetype lineStart(QStringView text, qsizetype index)
{
    return index > 0 ? text.lastIndexOf(u'\n', index - 1) + 1 : 0;
}

qsizetype lineEnd(QStringView text, qsizetype start)
{
    const qsizetype end = text.indexOf(u'\n', start);
    return end < 0 ? text.size() : end;
}

qsizetype leadingBlanks(QStringView text, qsizetype start, qsizetype end, qsizetype limit)
{
    qsizetype n = 0;
    while (n < limit && start + n < end && isBlank(text[start + n]))
        ++n;
    return n;
}

Selection mapSelection(Selection selection, const std::vector<TextChange> &changes)
{
    return {mapPosition(selection.anchor, changes), mapPosition(selection.position, changes)};
}

// Calls change(start, end) for every line the block commands act on: from the line of the
// selection's first character to the line of its last one. A caret stands for its own line.
template <class Change>
void forSelectedLines(QStringView text, Selection selection, Change change)
{
    const qsizetype first = lineStart(text, selection.start());
    const qsizetype last =
        selection.length() > 0 ? lineStart(text, selection.end() - 1) : first;
    for (qsizetype start = first;;) {
        const qsizetype end = lineEnd(text, start);
        change(start, end);
        if (start >= last)
            break;
        start = end + 1;
    }
}

} // namespace

KeyCommand commandFor(int key, Qt::KeyboardModifiers modifiers, QStringView text)
{
    const Qt::KeyboardModifiers held = modifiers & ~Qt::KeypadModifier;
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && (held & ~Qt::ShiftModifier) == 0)
        return {Command::NewLine, {}, 0};
    if (held == (Qt::ControlModifier | Qt::ShiftModifier)) {
        switch (key) {
        case Qt::Key_I: return {Command::Indent, u' ', 2};
        case Qt::Key_K: return {Command::Indent, u'\t', 1};
        case Qt::Key_U: return {Command::Unindent, {}, 2};
        case Qt::Key_J: return {Command::Unindent, {}, 1};
        default: break;
        }
    }
    // What Ctrl+I, Ctrl+J, Ctrl+K and Ctrl+U type must not reach the text.
    if (held.testFlags(Qt::ControlModifier | Qt::ShiftModifier) && text.size() == 1) {
        const char16_t c = text[0].unicode();
        if (c == 9 || c == 10 || c == 11 || c == 21)
            return {Command::Discard, {}, 0};
    }
    return {};
}

TextEdit newLine(QStringView text, Selection selection)
{
    const qsizetype start = lineStart(text, selection.position);
    const qsizetype end = lineEnd(text, start);
    const qsizetype indentation = leadingBlanks(text, start, end, end - start);
    TextChange change{selection.start(), selection.end(),
                      u'\n' + text.mid(start, indentation).toString()};
    if (start + indentation == end) {
        // A line of blanks only is emptied: it takes part in the replacement.
        change.from = std::min(change.from, start);
        change.to = std::max(change.to, end);
    }
    const qsizetype caret = change.from + change.text.size();
    return {{std::move(change)}, Selection::caret(caret)};
}

TextEdit indent(QStringView text, Selection selection, QChar character, int amount)
{
    TextEdit edit;
    forSelectedLines(text, selection, [&](qsizetype start, qsizetype) {
        edit.changes.push_back({start, start, QString(amount, character)});
    });
    edit.selection = mapSelection(selection, edit.changes);
    return edit;
}

TextEdit unindent(QStringView text, Selection selection, int amount)
{
    TextEdit edit;
    forSelectedLines(text, selection, [&](qsizetype start, qsizetype end) {
        if (const qsizetype n = leadingBlanks(text, start, end, amount))
            edit.changes.push_back({start, start + n, {}});
    });
    edit.selection = mapSelection(selection, edit.changes);
    return edit;
}

TextEdit trimTrailingBlanks(QStringView text, Selection selection)
{
    TextEdit edit;
    for (qsizetype start = 0;;) {
        const qsizetype end = lineEnd(text, start);
        qsizetype kept = end;
        while (kept > start && text[kept - 1].unicode() <= 32)
            --kept;
        if (kept < end)
            edit.changes.push_back({kept, end, {}});
        if (end >= text.size())
            break;
        start = end + 1;
    }
    edit.selection = mapSelection(selection, edit.changes);
    return edit;
}

std::optional<TextEdit> apply(const KeyCommand &command, QStringView text, Selection selection)
{
    switch (command.command) {
    case Command::NewLine: return newLine(text, selection);
    case Command::Indent: return indent(text, selection, command.character, command.amount);
    case Command::Unindent: return unindent(text, selection, command.amount);
    case Command::None:
    case Command::Discard: break;
    }
    return std::nullopt;
}

} // namespace lexora::CodeEditorKeys
