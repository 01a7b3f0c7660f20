#include "support/changed_fields.h"

#include "support/user_prompt.h"

namespace lexora {

bool takeOrDropChanges(UserPrompt &prompt, const QString &caption, const std::function<bool()> &save)
{
    switch (prompt.question(caption, QStringLiteral("Sollen die Änderungen übernommen werden?"),
                            UserPrompt::Buttons::YesNoCancel)) {
    case UserPrompt::Answer::Yes:
        return save();
    case UserPrompt::Answer::No:
        return true;
    case UserPrompt::Answer::Cancel:
        return false;
    }
    return false;
}

} // namespace lexora
