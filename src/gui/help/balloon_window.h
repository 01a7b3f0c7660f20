#pragma once

#include "help/balloon_layout.h"

#include <QColor>
#include <QStringList>
#include <QWidget>

namespace lexora {

// The window of a balloon tip: a rounded box with a stem, an optional title line with its icon,
// and the text. It never takes the focus and passes its clicks on as a signal. Screen readers
// find it as a tool tip whose name is the title and whose description is the text.
class BalloonWindow : public QWidget {
    Q_OBJECT

public:
    enum class Icon { None, Information, Warning, Error };

    BalloonWindow();

    // The text's lines are already wrapped.
    void setText(const QString &text);
    void setTitle(const QString &title, Icon icon);
    void setColors(const QColor &background, const QColor &text);
    void setStem(bool withStem);
    bool hasStem() const { return m_stem; }
    QString text() const { return m_lines.join(QStringLiteral("\r\n")); }
    QString title() const { return m_title; }
    Icon icon() const { return m_icon; }

    // The body's size for the current title and text.
    QSize bodySize() const;
    // Moves and shapes the window for a placement computed from bodySize().
    void place(const BalloonPlacement &placement);
    const BalloonPlacement &placement() const { return m_placement; }

    // The font the text is measured and drawn in.
    QFont textFont() const;

Q_SIGNALS:
    void pressed(Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QPainterPath shape() const;
    QFont titleFont() const;
    QSize titleSize() const;

    QStringList m_lines;
    QString m_title;
    Icon m_icon = Icon::Information;
    QColor m_background;
    QColor m_textColor;
    bool m_stem = true;
    BalloonPlacement m_placement;
};

} // namespace lexora
