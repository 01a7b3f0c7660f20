#pragma once

#include <QLabel>

namespace lexora {

// A label that works as a link: blue, underlined while the mouse is over it, red while a mouse
// button is held on it; a left click that ends on it reports clicked().
class LinkLabel : public QLabel {
    Q_OBJECT

public:
    explicit LinkLabel(QWidget *parent = nullptr);

    QColor color() const;

Q_SIGNALS:
    void clicked();

protected:
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void setColor(const QColor &color);
    void setUnderline(bool underline);
};

} // namespace lexora
