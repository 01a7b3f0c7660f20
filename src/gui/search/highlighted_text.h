#pragma once

#include "search/highlight.h"

class QTextEdit;

namespace lexora {

// Writes the pieces into edit: plain pieces in the window-text colour, hits in red and bold.
void showHighlighted(QTextEdit *edit, const std::vector<HighlightPiece> &pieces);

} // namespace lexora
