// The environment guard of the tests: after it, a variable is again what it was before, so that
// one test's environment never leaks into the next.
#include "support/scoped_env.h"

#include <gtest/gtest.h>

#include <optional>

using lexora::test::ScopedEnv;

namespace {

TEST(ScopedEnv, PutsBackWhatWasThereBefore)
{
    const char *const name = "LEXORA_SCOPED_ENV_PROBE";
    const struct {
        const char *what;
        std::optional<QByteArray> before; // nullopt: unset
    } cases[] = {
        {"unset stays unset", std::nullopt},
        {"empty stays empty", QByteArray("")},
        {"a value comes back", QByteArray("vorher")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        qunsetenv(name);
        if (c.before)
            qputenv(name, *c.before);
        // Set to a value, and unset (an empty value) for the guard's life.
        for (const QString &during : {QStringLiteral("während"), QString()}) {
            {
                const ScopedEnv env(name, during);
                EXPECT_EQ(qEnvironmentVariableIsSet(name), !during.isEmpty());
                EXPECT_EQ(qEnvironmentVariable(name), during);
            }
            EXPECT_EQ(qEnvironmentVariableIsSet(name), c.before.has_value());
            EXPECT_EQ(qgetenv(name), c.before.value_or(QByteArray()));
        }
    }
    qunsetenv(name);
}

} // namespace
