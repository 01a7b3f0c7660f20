#pragma once

#include "database/model.h"

namespace lexora {

// The text a reader sees on the page: what the browser's document.body.innerText gives for it,
// computed from the HTML5 parse tree without a browser. Blocks start new lines (paragraphs are set
// off by a blank line), "<br>" breaks a line, table cells are separated by tabs and rows by line
// breaks, white space collapses except where it is preserved (pre), and nothing hidden shows:
// the head, scripts, styles, templates, the "hidden" attribute and "display:none" in a style
// attribute. Style sheets of the page are not applied. Characters of the page's entities that
// Windows-1252 lacks become '?'.
Text DisplayedText(const Text &page);

} // namespace lexora
