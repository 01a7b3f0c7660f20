#include "support/failure_report.h"

#include "support/error.h"
#include "support/user_prompt.h"

namespace lexora {

void reportFailure(UserPrompt &prompt, const Error &error)
{
    switch (error.kind()) {
    case Error::Kind::WrongPassword:
        // The user may simply try again: a warning, not an error.
        prompt.message(UserPrompt::Icon::Warning, QStringLiteral("Falsches Passwort"),
                       error.message());
        return;
    case Error::Kind::Tampered:
        prompt.message(UserPrompt::Icon::Error, QStringLiteral("Beschädigte Datei"),
                       error.message());
        return;
    case Error::Kind::NotADatabase:
        prompt.message(UserPrompt::Icon::Error, QStringLiteral("Ungültige Datei"), error.message());
        return;
    case Error::Kind::IoError:
    case Error::Kind::Corrupt:
    case Error::Kind::InvalidInput:
        break;
    }
    prompt.message(UserPrompt::Icon::Error, QStringLiteral("Lexora"), error.message());
}

} // namespace lexora
