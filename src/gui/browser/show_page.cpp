#include "browser/show_page.h"

#include "browser/browser_view.h"
#include "database/win1252.h"

namespace lexora {

namespace {

void write(BrowserView &browser, const Database &db, const Text &page)
{
    browser.writeDocument(win1252::toUnicode(page), db.IncludedFilesFolder);
}

} // namespace

void ShowPage(BrowserView &browser, const Database &db, const Text &code, PageTemplates templates,
              const Node &node, const TTipItem *item, bool autoFormat)
{
    write(browser, db, BuildPage(db, code, templates, node, item, autoFormat));
}

void ShowNodePage(BrowserView &browser, const Database &db, const Node &node)
{
    write(browser, db, BuildNodePage(db, node));
}

} // namespace lexora
