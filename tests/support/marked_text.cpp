#include "support/marked_text.h"

#include <gtest/gtest.h>

namespace lexora::test {

MarkedText parseMarked(const QString &marked)
{
    MarkedText result;
    qsizetype anchor = -1;
    qsizetype caret = -1;
    for (const QChar c : marked) {
        if (c == u'|')
            caret = result.text.size();
        else if (c == u'[')
            anchor = result.text.size();
        else
            result.text += c;
    }
    EXPECT_GE(caret, 0) << "no caret in " << marked.toStdString();
    result.selection = {anchor >= 0 ? anchor : caret, caret};
    return result;
}

QString markText(const QString &text, Selection selection)
{
    QString out = text;
    const bool hasAnchor = selection.anchor != selection.position;
    // Insert the later mark first so the earlier position stays valid.
    if (hasAnchor && selection.anchor > selection.position)
        out.insert(selection.anchor, u'[');
    out.insert(selection.position, u'|');
    if (hasAnchor && selection.anchor < selection.position)
        out.insert(selection.anchor, u'[');
    return out;
}

QString applyMarked(const QString &text, const TextEdit &edit)
{
    QString result;
    qsizetype done = 0;
    for (const TextChange &c : edit.changes) {
        EXPECT_GE(c.from, done) << "changes overlap or are out of order";
        EXPECT_LE(c.from, c.to);
        result += QStringView(text).mid(done, c.from - done);
        result += c.text;
        done = c.to;
    }
    result += QStringView(text).mid(done);
    EXPECT_LE(edit.selection.end(), result.size());
    return markText(result, edit.selection);
}

} // namespace lexora::test
