#pragma once

#include "render/text_rewrite.h"

namespace lexora {

// The steps of page building that need nothing but the text.

// Automatic line breaks. Only CR LF counts as a line break. A "_" directly before it, or else
// directly after it, is removed and the line break stays; any other CR LF becomes "<br>".
void convertLineBreaks(RewrittenText &text);

// "%<%", "%>%", "%&%" and "%"%" become "&lt;", "&gt;", "&amp;" and "&quot;", one after the other.
void replaceEscapes(RewrittenText &text);

// Every space of a run directly after "<br>", then of one directly after a tab, becomes
// "&#160;", so that indentation survives.
void keepIndentation(RewrittenText &text);

} // namespace lexora
