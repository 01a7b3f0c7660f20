#include "mainwindow/title_edit_delegate.h"

#include "database/win1252.h"
#include "help/balloons.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

namespace lexora {

namespace {

// The first character of the editor's text that Windows-1252 lacks; empty when there is none.
QString unusableCharacter(QObject *editor)
{
    const auto *edit = qobject_cast<QLineEdit *>(editor);
    if (!edit)
        return {};
    const QString text = edit->text();
    const qsizetype at = win1252::firstUnencodable(text);
    if (at < 0)
        return {};
    // The whole character, also one of two UTF-16 units.
    return text.mid(at, text.at(at).isHighSurrogate() ? 2 : 1);
}

} // namespace

void TitleEditDelegate::warn(const QString &character) const
{
    Balloons::warn(qobject_cast<QWidget *>(parent()),
                   QStringLiteral("Der Name enthält das Zeichen \"%1\", das in einer "
                                  "Lexora-Datenbank nicht gespeichert werden kann. Verwenden Sie "
                                  "nur Zeichen des westeuropäischen Zeichensatzes.")
                       .arg(character));
}

bool TitleEditDelegate::eventFilter(QObject *object, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            if (const QString c = unusableCharacter(object); !c.isEmpty()) {
                warn(c);
                return true;
            }
            break;
        default:
            break;
        }
    } else if (event->type() == QEvent::FocusOut) {
        if (const QString c = unusableCharacter(object); !c.isEmpty()) {
            // Leaving the window or opening a menu keeps the edit; a click elsewhere, which
            // would confirm it, gives the focus back to it.
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
                // After the focus has moved: the balloon would go with the focus leaving.
                auto *editor = static_cast<QWidget *>(object);
                QTimer::singleShot(0, editor, [this, editor, c] {
                    editor->setFocus();
                    warn(c);
                });
            }
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

} // namespace lexora
