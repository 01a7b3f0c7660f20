#pragma once

#include "support/user_prompt.h"

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <utility>

namespace lexora::bench {

// The prompt of a benchmark: errors go to stderr, every question gets the same answer and every
// password request the same password.
class BenchPrompt : public UserPrompt {
public:
    explicit BenchPrompt(Answer answer = Answer::Cancel, QByteArray password = {})
        : m_answer(answer), m_password(std::move(password))
    {
    }
    void message(Icon icon, const QString &, const QString &text) override
    {
        if (icon == Icon::Error || icon == Icon::Warning)
            std::fprintf(stderr, "%s\n", qPrintable(text));
    }
    Answer question(const QString &, const QString &, Buttons, Icon) override { return m_answer; }
    QByteArray password(const QString &, const QString &) override { return m_password; }

private:
    Answer m_answer;
    QByteArray m_password;
};

} // namespace lexora::bench
