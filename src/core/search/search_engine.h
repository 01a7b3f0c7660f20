#pragma once

#include "search/displayed_text_cache.h"
#include "search/search_query.h"

#include <vector>

namespace lexora {

// Runs searches over one database and keeps the displayed texts of item pages between them.
// It reads the database and changes nothing in it.
class SearchEngine {
public:
    explicit SearchEngine(const Database &db);

    // Empties results, then fills it with the nodes below the query's scope entries whose places
    // match, in scope-list order and within each entry in tree order. With recursive on, scope
    // entries that lie below another entry are first removed from query.scope.
    void RunSearch(SearchQuery &query, std::vector<SearchResult> &results);

    // The text of an item's page as a reader sees it.
    Text DisplayedText(const Node &itemNode);

    // A node and its descendants are about to be deleted.
    void forgetNode(const Node &node) { m_texts.forget(node); }
    // The database was closed or replaced.
    void clear() { m_texts.clear(); }

private:
    const Database &m_db;
    DisplayedTextCache m_texts;
};

// Removes the scope entries that lie below another entry (the top level, nullptr, holds every
// key), looking from the last entry to the first.
void RemoveRedundantScopeEntries(std::vector<Node *> &scope);

} // namespace lexora
