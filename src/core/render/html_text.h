#pragma once

#include "database/model.h"

#include <QString>

namespace lexora {

// A text that goes into a page as text, between tags or in a quoted attribute value, and is to
// show as typed: "&", "<", ">" and the double quote become "&amp;", "&lt;", "&gt;" and "&quot;".
// Nothing else changes, so a text without them comes out as it was.
Text escapeHtml(const Text &text);
// The same for a Unicode text; characters outside Windows-1252 stay as they are.
QString escapeHtml(const QString &text);

} // namespace lexora
