#pragma once

#include "database/model.h"

#include <QStringList>
#include <QWidget>

class QFontMetrics;

namespace lexora {

// What the information area says about the selected node.
struct InfoContent {
    enum class Kind { None, Key, Item };
    Kind kind = Kind::None;
    QString title;
    QString note;     // none for an item
    QString created;  // an item's "Erstellt:" line: date, " von ", user
    QString modified; // an item's "Bearbeitet:" line

    static InfoContent forNode(const Node *node);
};

// The text cut to width pixels: while it is too wide, "..." is appended and the character before
// it removed, until it fits or only "..." is left.
QString shortenToWidth(const QString &text, const QFontMetrics &metrics, int width);

// The text broken into lines of at most width pixels: each line ends before a space (which is
// dropped) or after a "-" or "/", at the last such place of the shortest piece that is too wide.
// A word without such a place is broken where it no longer fits.
QStringList wrapToWidth(const QString &text, const QFontMetrics &metrics, int width);

// The information area under the page display (PaintBox_Info): an icon, the selected node's
// title in bold and a note or, for an item, its dates and authors.
class InfoArea : public QWidget {
    Q_OBJECT

public:
    explicit InfoArea(QWidget *parent = nullptr);

    void setContent(InfoContent content);
    const InfoContent &content() const { return m_content; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // The height of a line: that of "A" in the window's font.
    int lineHeight() const;
    int boxHeight() const;

    InfoContent m_content;
};

} // namespace lexora
