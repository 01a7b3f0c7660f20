#pragma once

#include "search/displayed_text_cache.h"
#include "search/search_query.h"

#include <QtGlobal>

#include <vector>

namespace lexora {

// Watches a search that runs on a thread of its own: it may stop the search, and it hears how
// far the search is and which results it has found so far.
class SearchMonitor {
public:
    virtual ~SearchMonitor() = default;
    // Asked between nodes; true ends the search with the results found until then.
    virtual bool cancelled() const = 0;
    // done of total nodes are examined; the first entries of results are final (the search only
    // appends). Called often enough for a display to follow, from the searching thread.
    virtual void progress(qint64 done, qint64 total, const std::vector<SearchResult> &results) = 0;
};

// Runs searches over one database and keeps the displayed texts of item pages between them.
// It reads the database and changes nothing in it.
class SearchEngine {
public:
    explicit SearchEngine(const Database &db);

    // Empties results, then fills it with the nodes below the query's scope entries whose places
    // match, in scope-list order and within each entry in tree order. With recursive on, scope
    // entries that lie below another entry are first removed from query.scope. A monitor hears
    // of the progress and may end the search early; the database must not change meanwhile.
    // Returns false when the monitor ended it.
    bool RunSearch(SearchQuery &query, std::vector<SearchResult> &results,
                   SearchMonitor *monitor = nullptr);

    // The text of an item's page as a reader sees it.
    Text DisplayedText(const Node &itemNode);

    // A node and its descendants are about to be deleted.
    void forgetNode(const Node &node) { m_texts.forget(node); }
    // The database was closed or replaced.
    void clear() { m_texts.clear(); }

private:
    const Database &m_db;
    DisplayedTextCache m_texts;
    // The nodes a search looks at. Kept between searches: fresh memory of this size costs a
    // page fault per page on every search, a good part of a search's time.
    std::vector<const Node *> m_examined;
};

// Removes the scope entries that lie below another entry (the top level, nullptr, holds every
// key), looking from the last entry to the first.
void RemoveRedundantScopeEntries(std::vector<const Node *> &scope);

} // namespace lexora
