#pragma once

#include <QStringList>
#include <QWidget>

namespace lexora {

// The wizard's list of steps on a gradient from light blue at the left edge to white at the
// right; the current step is bold and italic.
class StepList : public QWidget {
    Q_OBJECT

public:
    explicit StepList(QStringList titles, QWidget *parent = nullptr);

    void setCurrent(int step);
    int current() const { return m_current; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QStringList m_titles;
    int m_current = 0;
};

} // namespace lexora
