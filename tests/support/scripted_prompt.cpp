#include "support/scripted_prompt.h"

#include <gtest/gtest.h>

namespace lexora::test {

void ScriptedPrompt::message(Icon icon, const QString &caption, const QString &text)
{
    m_shown.append({QStringLiteral("message"), caption, text, icon});
}

UserPrompt::Answer ScriptedPrompt::question(const QString &caption, const QString &text, Buttons,
                                            Icon icon)
{
    m_shown.append({QStringLiteral("question"), caption, text, icon});
    if (m_answers.isEmpty()) {
        ADD_FAILURE() << "unexpected question: " << text.toStdString();
        return Answer::Cancel;
    }
    return m_answers.dequeue();
}

QByteArray ScriptedPrompt::password(const QString &caption, const QString &prompt)
{
    m_shown.append({QStringLiteral("password"), caption, prompt, Icon::Question});
    if (m_passwords.isEmpty()) {
        ADD_FAILURE() << "unexpected password request: " << prompt.toStdString();
        return {};
    }
    return m_passwords.dequeue();
}

std::optional<QString> ScriptedPrompt::input(const QString &caption, const QString &prompt,
                                             const QString &preset)
{
    m_shown.append({QStringLiteral("input"), caption, prompt + u'\n' + preset, Icon::Question});
    if (m_inputs.isEmpty()) {
        ADD_FAILURE() << "unexpected input box: " << prompt.toStdString();
        return std::nullopt;
    }
    return m_inputs.dequeue();
}

QStringList ScriptedPrompt::messages() const
{
    QStringList out;
    for (const Shown &s : m_shown)
        if (s.kind == QLatin1String("message"))
            out.append(s.text);
    return out;
}

} // namespace lexora::test
