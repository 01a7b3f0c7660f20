#pragma once

#include <QComboBox>

#include <functional>

namespace lexora {

// A drop-down list that fills itself the moment it drops down (user names, templates).
class DropDownComboBox : public QComboBox {
    Q_OBJECT

public:
    using QComboBox::QComboBox;
    void setBeforeDropDown(std::function<void()> fill) { m_fill = std::move(fill); }
    void showPopup() override
    {
        if (m_fill)
            m_fill();
        QComboBox::showPopup();
    }

private:
    std::function<void()> m_fill;
};

} // namespace lexora
