#pragma once

#include "database/model.h"

namespace lexora {

// The steps of page building that need nothing but the text. Each returns the text itself, not a
// copy, when it has nothing to change.

// Automatic line breaks. Only CR LF counts as a line break. A "_" directly before it, or else
// directly after it, is removed and the line break stays; any other CR LF becomes "<br>".
Text convertLineBreaks(const Text &text);

// "%<%", "%>%", "%&%" and "%"%" become "&lt;", "&gt;", "&amp;" and "&quot;", one after the other.
Text replaceEscapes(const Text &text);

// Every space of a run directly after "<br>", then of one directly after a tab, becomes
// "&#160;", so that indentation survives.
Text keepIndentation(const Text &text);

} // namespace lexora
