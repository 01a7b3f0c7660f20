#include "support/error.h"
#include "support/failure_report.h"
#include "support/scripted_prompt.h"

#include <gtest/gtest.h>

using namespace lexora;
using lexora::test::ScriptedPrompt;

// Each kind reaches the user under its caption and icon; the text is the error's, unchanged.
TEST(FailureReport, EachKindHasItsCaptionAndIcon)
{
    const struct {
        Error::Kind kind;
        bool refusesFile;
        UserPrompt::Icon icon;
        const char *caption;
    } cases[] = {
        {Error::Kind::WrongPassword, true, UserPrompt::Icon::Warning, "Falsches Passwort"},
        {Error::Kind::Tampered, true, UserPrompt::Icon::Error, "Beschädigte Datei"},
        {Error::Kind::NotADatabase, true, UserPrompt::Icon::Error, "Ungültige Datei"},
        {Error::Kind::Corrupt, false, UserPrompt::Icon::Error, "Lexora"},
        {Error::Kind::IoError, false, UserPrompt::Icon::Error, "Lexora"},
        {Error::Kind::InvalidInput, false, UserPrompt::Icon::Error, "Lexora"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.caption);
        const Error error(c.kind, QStringLiteral("Die Datei „ä.lxd“ ist nicht zu gebrauchen."));
        EXPECT_EQ(error.refusesFile(), c.refusesFile);
        ScriptedPrompt prompt;
        reportFailure(prompt, error);
        ASSERT_EQ(prompt.shown().size(), 1);
        EXPECT_EQ(prompt.shown()[0].icon, c.icon);
        EXPECT_EQ(prompt.shown()[0].caption, QString::fromUtf8(c.caption));
        EXPECT_EQ(prompt.shown()[0].text, error.message());
    }
}
