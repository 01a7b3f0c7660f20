#pragma once

#include "database/model.h"
#include "text/text_edit.h"

#include <QPlainTextEdit>

namespace lexora {

// A code field (`Memo_Content` of the item editor, the template manager and the item window):
// a plain text field whose keys follow CodeEditorKeys, whose line ends lose their blanks when the
// field is left, and whose text reaches the model as Windows-1252 with character references
// (code_field_text.h). Tab inserts a tab character.
class CodeField : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit CodeField(QWidget *parent = nullptr);

    // Shows the model's code; the field is then unmodified.
    void setCode(const Text &code);
    // The field's text in the model's form. Unchanged since setCode, it is the very bytes given
    // there (a lone line feed, for instance, stays one).
    Text code() const;
    // Changed since setCode (and not undone to that state).
    bool isModified() const;
    // The text as the field holds it, lines separated by U+2029: what codeFromField takes, so
    // that a large text can be converted away from the user-interface thread.
    QString fieldText() const;

    // The distance between tab stops in dialog units: a quarter of the font's average character
    // width, so 12 puts a tab stop every three characters.
    void setTabStopUnits(int units);
    int tabStopUnits() const { return m_tabStopUnits; }

    // Long lines wrap at the field's width (only a vertical scroll bar), or run on (both).
    void setWrap(bool wrap);
    bool wraps() const { return lineWrapMode() != NoWrap; }

    Selection selection() const;
    void setSelection(Selection selection);
    QString selectedFieldText() const;
    // Applies an edit as one step of the field's undo history.
    void applyEdit(const TextEdit &edit);
    // What leaving the field does: line ends lose their blanks and control characters.
    void trimTrailingBlanks();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void applyTabStops();
    // The lines from the selection's first to its last, with the position of their start: what
    // the key commands look at, so that a key never copies the whole of a large text.
    QString selectedLines(qsizetype &start) const;

    Text m_loadedCode;
    int m_tabStopUnits = 12;
};

} // namespace lexora
