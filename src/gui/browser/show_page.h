#pragma once

#include "database/model.h"
#include "render/page_builder.h"

namespace lexora {

class BrowserView;

// Builds the page of an element and writes it into the browser as its whole document.
void ShowPage(BrowserView &browser, const Database &db, const Text &code, PageTemplates templates,
              const Node &node, const TTipItem *item, bool autoFormat);

// The page of a node as the main display shows it: an item with its own code and templates, a
// key with the default templates.
void ShowNodePage(BrowserView &browser, const Database &db, const Node &node);

} // namespace lexora
