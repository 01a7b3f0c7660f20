#pragma once

#include "database/model.h"

#include <optional>

namespace lexora {

// What the program knows when it asks whether to invite the user to look for updates.
struct UpdateStart {
    bool uninstall = false;            // the first argument is exactly "/uninstall"
    bool manual = false;               // Ctrl+U rather than the program's start
    bool programFolderWritable = true; // false also for a read-only file system
    bool serverNamed = false;          // "UpdateServer" is not empty
    DateTime today = 0;                // at 00:00
    std::optional<DateTime> dueDate;   // "Update"
    bool noUpdate = false;             // "NoUpdate" present
    bool onlyUpdate = false;           // "OnlyUpdate" present
};

struct UpdateDecision {
    bool writeApplicationFileName = false;
    bool showWizard = false;
    // After the wizard the program ends at once, without its usual closing work ("OnlyUpdate"
    // at the start; never on Ctrl+U).
    bool endProgram = false;
    bool operator==(const UpdateDecision &) const = default;
};

// The decision of AutomaticUpdate. The program's path is recorded at every automatic start, even
// where no update can be installed. A program folder the user cannot write (or a read-only file
// system) takes no update, neither at start nor on Ctrl+U. Ctrl+U and "OnlyUpdate" always show
// the wizard; otherwise it comes only when today is later than the due date (yesterday when none
// is stored), "NoUpdate" is absent and an update server is named.
UpdateDecision decideAutomaticUpdate(const UpdateStart &start);

} // namespace lexora
