#pragma once

#include <QString>

#include <functional>

namespace lexora {

class UserPrompt;

// Before a window with changed fields closes or shows something else in them: asks "Sollen die
// Änderungen übernommen werden?" (Ja / Nein / Abbrechen). Ja takes the changes with save. True
// when the window may go on: the changes were taken or let go; false for Abbrechen and for a
// save that did not take them (it has told why).
bool takeOrDropChanges(UserPrompt &prompt, const QString &caption, const std::function<bool()> &save);

} // namespace lexora
