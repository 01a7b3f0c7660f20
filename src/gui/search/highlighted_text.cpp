#include "search/highlighted_text.h"

#include "database/win1252.h"

#include <QTextCursor>
#include <QTextEdit>

namespace lexora {

void showHighlighted(QTextEdit *edit, const std::vector<HighlightPiece> &pieces)
{
    edit->clear();
    QTextCharFormat plain;
    plain.setFont(edit->font());
    plain.setForeground(edit->palette().color(QPalette::WindowText));
    QTextCharFormat hit = plain;
    hit.setForeground(QColor(255, 0, 0));
    hit.setFontWeight(QFont::Bold);
    QTextCursor cursor(edit->document());
    cursor.beginEditBlock();
    for (const HighlightPiece &piece : pieces)
        // A line ends in CR LF; the edit breaks the line at the LF.
        cursor.insertText(win1252::toUnicode(piece.text).remove(QLatin1Char('\r')),
                          piece.hit ? hit : plain);
    cursor.endEditBlock();
    edit->moveCursor(QTextCursor::Start);
}

} // namespace lexora
