// The key handling of the code fields, written as the text before and after with its selection
// ("|" caret, "[" the other end of the selection).
#include "support/marked_text.h"
#include "text/code_editor_keys.h"

#include <gtest/gtest.h>

using namespace lexora;
using namespace lexora::test;
namespace Keys = lexora::CodeEditorKeys;

namespace {

enum class Act { Enter, ShiftEnter, CtrlShiftI, CtrlShiftK, CtrlShiftU, CtrlShiftJ, Leave };

QString perform(Act act, const QString &marked)
{
    const MarkedText in = parseMarked(marked);
    if (act == Act::Leave)
        return applyMarked(in.text, Keys::trimTrailingBlanks(in.text, in.selection));
    const Qt::KeyboardModifiers ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    Keys::KeyCommand command;
    switch (act) {
    case Act::Enter: command = Keys::commandFor(Qt::Key_Return, {}, u"\r"); break;
    case Act::ShiftEnter: command = Keys::commandFor(Qt::Key_Return, Qt::ShiftModifier, u"\r"); break;
    case Act::CtrlShiftI: command = Keys::commandFor(Qt::Key_I, ctrlShift, u"\t"); break;
    case Act::CtrlShiftK: command = Keys::commandFor(Qt::Key_K, ctrlShift, u"\v"); break;
    case Act::CtrlShiftU: command = Keys::commandFor(Qt::Key_U, ctrlShift, u"\x15"); break;
    case Act::CtrlShiftJ: command = Keys::commandFor(Qt::Key_J, ctrlShift, u"\n"); break;
    case Act::Leave: break;
    }
    const std::optional<TextEdit> edit = Keys::apply(command, in.text, in.selection);
    EXPECT_TRUE(edit.has_value());
    return edit ? applyMarked(in.text, *edit) : marked;
}

} // namespace

TEST(CodeEditorKeys, EditsTextAndSelection)
{
    struct Case {
        const char16_t *before;
        Act act;
        const char16_t *after;
    };
    const Case cases[] = {
        // Enter keeps the indentation of the caret's line, wherever the caret stands in it.
        {u"\t\tfoo|bar", Act::Enter, u"\t\tfoo\n\t\t|bar"},
        {u" \t x|", Act::Enter, u" \t x\n \t |"},
        {u"  |abc", Act::Enter, u"  \n  |abc"},
        {u"|  abc", Act::Enter, u"\n  |  abc"},
        {u"x|\ny", Act::Enter, u"x\n|\ny"},
        {u"a\n  b|\nc", Act::Enter, u"a\n  b\n  |\nc"},
        {u"  a|", Act::ShiftEnter, u"  a\n  |"},
        // A line of blanks only is emptied and its blanks start the new line.
        {u"   |", Act::Enter, u"\n   |"},
        {u"a\n  |  \nb", Act::Enter, u"a\n\n    |\nb"},
        {u"  x\n\t|", Act::Enter, u"  x\n\n\t|"},
        {u"|", Act::Enter, u"\n|"},
        // The selection is replaced; the indentation comes from the caret's line.
        {u"  a[bc|d", Act::Enter, u"  a\n  |d"},
        {u"  a[b\nc|d", Act::Enter, u"  a\n|d"},
        {u"  a|b\nc[d", Act::Enter, u"  a\n  |d"},
        {u"x[\n  |  ", Act::Enter, u"x\n    |"},

        // Block indent: every line of the selection, the selection keeps its text.
        {u"a|b", Act::CtrlShiftI, u"  a|b"},
        {u"ab|c", Act::CtrlShiftK, u"\tab|c"},
        {u"|ab", Act::CtrlShiftK, u"\t|ab"},
        {u"[ab\ncd|", Act::CtrlShiftI, u"  [ab\n  cd|"},
        {u"x\n[ab\n|cd", Act::CtrlShiftI, u"x\n  [ab\n|cd"},
        {u"[a\n\nb|", Act::CtrlShiftK, u"\t[a\n\t\n\tb|"},
        {u"a\nb|c\nd", Act::CtrlShiftI, u"a\n  b|c\nd"},
        {u"a\n|b", Act::CtrlShiftI, u"a\n  |b"},
        {u"a|\nb", Act::CtrlShiftK, u"\ta|\nb"},
        {u"a|b\nc[d", Act::CtrlShiftI, u"  a|b\n  c[d"},

        // Block unindent: up to the amount of leading spaces and tabs per line.
        {u"[  a\nb|", Act::CtrlShiftU, u"[a\nb|"},
        {u"    x|", Act::CtrlShiftU, u"  x|"},
        {u" \tx|", Act::CtrlShiftU, u"x|"},
        {u"\t\tx|", Act::CtrlShiftJ, u"\tx|"},
        {u"x  y|", Act::CtrlShiftU, u"x  y|"},
        {u"[ a\n   b\n\nc|", Act::CtrlShiftU, u"[a\n b\n\nc|"},
        {u"  a[b\n  c|", Act::CtrlShiftU, u"a[b\nc|"},
        {u"  |a\n  b[", Act::CtrlShiftU, u"|a\nb["},
        // A selection end within the removed blanks stays at the line's start.
        {u" | a", Act::CtrlShiftU, u"|a"},
        {u"[x\n |  y", Act::CtrlShiftU, u"[x\n| y"},

        // Leaving the field trims every line's end.
        {u"a  \nb\t\n c|", Act::Leave, u"a\nb\n c|"},
        {u"ab |  ", Act::Leave, u"ab|"},
        {u"x\x01\x1f \ny|", Act::Leave, u"x\ny|"},
        {u"  \n\t\n|", Act::Leave, u"\n\n|"},
        {u"a b\n c|", Act::Leave, u"a b\n c|"},
        {u"a\u00a0|", Act::Leave, u"a\u00a0|"},
        {u"[a \nb |", Act::Leave, u"[a\nb|"},
    };
    for (const Case &c : cases) {
        const QString before = QString::fromUtf16(c.before);
        SCOPED_TRACE(before.toStdString());
        EXPECT_EQ(perform(c.act, before), QString::fromUtf16(c.after));
    }
}

TEST(CodeEditorKeys, LeavingChangesOnlyTheLinesThatEndInBlanks)
{
    const QString text = QStringLiteral("keep\nfix  \nkeep\nfix\t");
    const TextEdit edit = Keys::trimTrailingBlanks(text, Selection::caret(0));
    ASSERT_EQ(edit.changes.size(), 2u);
    EXPECT_EQ(edit.changes[0], (TextChange{8, 10, {}}));
    EXPECT_EQ(edit.changes[1], (TextChange{19, 20, {}}));
    EXPECT_TRUE(Keys::trimTrailingBlanks(u"a\nb", Selection::caret(0)).changes.empty());
}

TEST(CodeEditorKeys, MeaningOfKeys)
{
    using Keys::Command;
    const Qt::KeyboardModifiers ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    struct Case {
        int key;
        Qt::KeyboardModifiers modifiers;
        const char16_t *text;
        Keys::KeyCommand expected;
    };
    const Case cases[] = {
        {Qt::Key_Return, {}, u"\r", {Command::NewLine, {}, 0}},
        {Qt::Key_Enter, Qt::KeypadModifier, u"\r", {Command::NewLine, {}, 0}},
        {Qt::Key_Return, Qt::ShiftModifier, u"\r", {Command::NewLine, {}, 0}},
        {Qt::Key_Return, Qt::ControlModifier, u"", {}},
        {Qt::Key_Return, Qt::AltModifier, u"\r", {}},
        {Qt::Key_I, ctrlShift, u"\t", {Command::Indent, u' ', 2}},
        {Qt::Key_K, ctrlShift, u"\v", {Command::Indent, u'\t', 1}},
        {Qt::Key_U, ctrlShift, u"\x15", {Command::Unindent, {}, 2}},
        {Qt::Key_J, ctrlShift, u"\n", {Command::Unindent, {}, 1}},
        {Qt::Key_I, ctrlShift | Qt::KeypadModifier, u"", {Command::Indent, u' ', 2}},
        // Another modifier besides Ctrl and Shift: no block command, but the control
        // character still does not reach the text.
        {Qt::Key_I, ctrlShift | Qt::AltModifier, u"\t", {Command::Discard, {}, 0}},
        {Qt::Key_Tab, ctrlShift, u"\t", {Command::Discard, {}, 0}},
        {Qt::Key_A, ctrlShift, u"\x01", {}},
        {Qt::Key_I, Qt::ControlModifier, u"\t", {}},
        {Qt::Key_Tab, {}, u"\t", {}},
        {Qt::Key_A, {}, u"a", {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "key " << c.key << " modifiers " << c.modifiers.toInt());
        EXPECT_EQ(Keys::commandFor(c.key, c.modifiers, QString::fromUtf16(c.text)), c.expected);
    }
    EXPECT_FALSE(Keys::apply({Command::Discard, {}, 0}, u"a", Selection::caret(1)).has_value());
}
