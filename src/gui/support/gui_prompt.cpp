#include "support/gui_prompt.h"

#include "database/win1252.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

namespace lexora {

namespace {

QMessageBox::Icon boxIcon(UserPrompt::Icon icon)
{
    switch (icon) {
    case UserPrompt::Icon::Information: return QMessageBox::Information;
    case UserPrompt::Icon::Warning: return QMessageBox::Warning;
    case UserPrompt::Icon::Error: return QMessageBox::Critical;
    case UserPrompt::Icon::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QWidget *GuiPrompt::parentWidget() const
{
    return m_parent ? m_parent.data() : QApplication::activeWindow();
}

void GuiPrompt::message(Icon icon, const QString &caption, const QString &text)
{
    QMessageBox box(boxIcon(icon), caption, text, QMessageBox::Ok, parentWidget());
    box.exec();
}

UserPrompt::Answer GuiPrompt::question(const QString &caption, const QString &text, Buttons buttons,
                                      Icon icon)
{
    QApplication::beep();
    const bool withCancel = buttons == Buttons::YesNoCancel;
    QMessageBox box(boxIcon(icon), caption, text,
                    withCancel ? QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel
                               : QMessageBox::Yes | QMessageBox::No,
                    parentWidget());
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(withCancel ? QMessageBox::Cancel : QMessageBox::No);
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return withCancel ? Answer::Cancel : Answer::No;
    }
}

QByteArray GuiPrompt::password(const QString &caption, const QString &prompt)
{
    bool ok = false;
    const QString text = QInputDialog::getText(parentWidget(), caption, prompt, QLineEdit::Password,
                                               QString(), &ok);
    return ok ? win1252::fromUnicode(text) : QByteArray();
}

std::optional<QString> GuiPrompt::input(const QString &caption, const QString &prompt,
                                        const QString &preset)
{
    bool ok = false;
    const QString text = QInputDialog::getText(parentWidget(), caption, prompt, QLineEdit::Normal,
                                               preset, &ok);
    return ok ? std::optional<QString>(text) : std::nullopt;
}

} // namespace lexora
