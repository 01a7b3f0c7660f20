#pragma once

#include "database/model.h"

namespace lexora {

// The HTML and the CSS template a page is built with; either may be none.
struct PageTemplates {
    const TTemplate *html = nullptr;
    const TTemplate *css = nullptr;
};

// The page of an element: code with its placeholders filled from the node, its item (nullptr for
// a key) and the database, wrapped into the page's HTML template. Line breaks become "<br>"
// when autoFormat is set. The names, users and paths that placeholders insert are text and go in
// with their markup characters escaped; code and templates are HTML and go in as they are. Reads
// the templates, the included files, CurrentFileName and IncludedFilesFolder of db and changes
// nothing. Never fails: whatever matches nothing stays in the page or disappears.
Text BuildPage(const Database &db, const Text &code, PageTemplates templates, const Node &node,
               const TTipItem *item, bool autoFormat);

// The page the main display shows for a node: an item's code with its own templates and
// auto-format flag, a key's empty text with the default templates and auto-format on.
Text BuildNodePage(const Database &db, const Node &node);

} // namespace lexora
