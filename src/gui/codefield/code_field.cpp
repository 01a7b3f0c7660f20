#include "codefield/code_field.h"

#include "text/code_editor_keys.h"
#include "text/code_field_text.h"

#include <QFocusEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QTextBlock>

namespace lexora {

namespace {

// A text cursor separates paragraphs by U+2029; the edits count '\n'.
QString withLineFeeds(QString text)
{
    text.replace(QChar::ParagraphSeparator, u'\n');
    return text;
}

} // namespace

CodeField::CodeField(QWidget *parent) : QPlainTextEdit(parent)
{
    setObjectName(QStringLiteral("Memo_Content"));
    setAccessibleName(QStringLiteral("HTML-Quelltext"));
    setTabChangesFocus(false);
    setWrap(false);
    applyTabStops();
}

void CodeField::setCode(const Text &code)
{
    m_loadedCode = code;
    setPlainText(codeForField(code));
    document()->setModified(false);
}

Text CodeField::code() const
{
    return isModified() ? codeFromField(fieldText()) : m_loadedCode;
}

bool CodeField::isModified() const
{
    return document()->isModified();
}

QString CodeField::fieldText() const
{
    return document()->toRawText();
}

void CodeField::setTabStopUnits(int units)
{
    m_tabStopUnits = units;
    applyTabStops();
}

void CodeField::applyTabStops()
{
    setTabStopDistance(m_tabStopUnits * QFontMetricsF(font()).averageCharWidth() / 4.0);
}

void CodeField::setWrap(bool wrap)
{
    setLineWrapMode(wrap ? WidgetWidth : NoWrap);
    setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
}

Selection CodeField::selection() const
{
    const QTextCursor cursor = textCursor();
    return {cursor.anchor(), cursor.position()};
}

void CodeField::setSelection(Selection selection)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(selection.anchor);
    cursor.setPosition(selection.position, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

QString CodeField::selectedFieldText() const
{
    return withLineFeeds(textCursor().selectedText());
}

void CodeField::applyEdit(const TextEdit &edit)
{
    // The field's own cursor: its position when the block begins is where an undo puts the caret.
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    for (auto change = edit.changes.rbegin(); change != edit.changes.rend(); ++change) {
        cursor.setPosition(change->from);
        cursor.setPosition(change->to, QTextCursor::KeepAnchor);
        if (change->text.isEmpty())
            cursor.removeSelectedText();
        else
            cursor.insertText(change->text);
    }
    cursor.endEditBlock();
    setSelection(edit.selection);
}

QString CodeField::selectedLines(qsizetype &start) const
{
    const QTextCursor current = textCursor();
    const QTextBlock first = document()->findBlock(current.selectionStart());
    const QTextBlock last = document()->findBlock(current.selectionEnd());
    QTextCursor lines(document());
    start = first.position();
    lines.setPosition(start);
    lines.setPosition(last.position() + last.length() - 1, QTextCursor::KeepAnchor);
    return withLineFeeds(lines.selectedText());
}

void CodeField::keyPressEvent(QKeyEvent *event)
{
    const CodeEditorKeys::KeyCommand command =
        CodeEditorKeys::commandFor(event->key(), event->modifiers(), event->text());
    if (command.command == CodeEditorKeys::Command::None) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    event->accept();
    if (isReadOnly())
        return;
    qsizetype base = 0;
    const QString lines = selectedLines(base);
    Selection local = selection();
    local.anchor -= base;
    local.position -= base;
    std::optional<TextEdit> edit = CodeEditorKeys::apply(command, lines, local);
    if (!edit)
        return;
    for (TextChange &change : edit->changes) {
        change.from += base;
        change.to += base;
    }
    edit->selection.anchor += base;
    edit->selection.position += base;
    applyEdit(*edit);
}

void CodeField::focusOutEvent(QFocusEvent *event)
{
    // A menu opened from the tool bar or another window taking over is no leaving of the field.
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        trimTrailingBlanks();
    QPlainTextEdit::focusOutEvent(event);
}

void CodeField::trimTrailingBlanks()
{
    if (isReadOnly())
        return;
    const QString text = withLineFeeds(document()->toRawText());
    const TextEdit edit = CodeEditorKeys::trimTrailingBlanks(text, selection());
    if (!edit.changes.empty())
        applyEdit(edit);
}

void CodeField::changeEvent(QEvent *event)
{
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        applyTabStops();
}

} // namespace lexora
