#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace lexora::test {

// Sets an environment variable for the life of the object (unset for an empty value).
class ScopedEnv {
public:
    ScopedEnv(const char *name, const QString &value)
        : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name))
    {
        if (value.isEmpty())
            qunsetenv(name);
        else
            qputenv(name, QFile::encodeName(value));
    }
    ~ScopedEnv()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }
    ScopedEnv(const ScopedEnv &) = delete;
    ScopedEnv &operator=(const ScopedEnv &) = delete;

private:
    const char *m_name;
    bool m_had;
    QByteArray m_old;
};

} // namespace lexora::test
