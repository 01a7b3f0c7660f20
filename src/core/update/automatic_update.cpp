#include "update/automatic_update.h"

namespace lexora {

UpdateDecision decideAutomaticUpdate(const UpdateStart &start)
{
    UpdateDecision decision;
    if (start.uninstall)
        return decision;
    decision.writeApplicationFileName = !start.manual;
    if (!start.programFolderWritable)
        return decision;
    if (!start.manual && !start.onlyUpdate) {
        const DateTime due = start.dueDate.value_or(start.today - 1);
        // Without a server the invitation could only end in "no connection".
        if (!(start.today > due) || start.noUpdate || !start.serverNamed)
            return decision;
    }
    decision.showWizard = true;
    // On Ctrl+U the user is at work: ending without the closing work would lose unsaved changes.
    decision.endProgram = start.onlyUpdate && !start.manual;
    return decision;
}

} // namespace lexora
