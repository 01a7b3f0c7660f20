#include "search/search_engine.h"

#include "search/item_conditions.h"

#include <algorithm>
#include <optional>

namespace lexora {
namespace {

bool contains(const std::vector<const Node *> &scope, const Node *node)
{
    return std::find(scope.begin(), scope.end(), node) != scope.end();
}

// Calls examine for every node below the scope entries, in the order of the results: the entries
// in list order, below each the children in tree order, each child before what lies below it.
// Only keys are descended into, and only when the search is recursive. Iterative, so that a
// deep tree cannot exhaust the stack: each level is the rest of a child list still to go.
template <class Examine>
void visitScope(const Database &db, const SearchQuery &query, Examine examine)
{
    // A parent and the position of its next child to visit.
    using Level = std::pair<const Node *, int>;
    auto childrenOf = [](const Node &node) { return Level(&node, 0); };
    std::vector<Level> levels;
    for (const Node *entry : query.scope) {
        levels.push_back(childrenOf(entry ? *entry : db.topLevel()));
        while (!levels.empty()) {
            Level &level = levels.back();
            if (level.second == level.first->childCount()) {
                levels.pop_back();
                continue;
            }
            const Node &node = *level.first->child(level.second++);
            examine(node);
            if (!node.isItem() && query.recursive)
                levels.push_back(childrenOf(node));
        }
    }
}

} // namespace

void RemoveRedundantScopeEntries(std::vector<const Node *> &scope)
{
    for (std::size_t i = scope.size(); i-- > 0;) {
        const Node *entry = scope[i];
        if (!entry)
            continue;
        for (const Node *p = entry->parent();; p = p->parent()) {
            if (contains(scope, p)) {
                scope.erase(scope.begin() + std::ptrdiff_t(i));
                break;
            }
            if (!p)
                break;
        }
    }
}

SearchEngine::SearchEngine(const Database &db) : m_db(db), m_texts(db) {}

Text SearchEngine::DisplayedText(const Node &itemNode)
{
    return m_texts.lookup().text(itemNode);
}

bool SearchEngine::RunSearch(SearchQuery &query, std::vector<SearchResult> &results,
                             SearchMonitor *monitor)
{
    results.clear();
    if (query.recursive)
        RemoveRedundantScopeEntries(query.scope);
    const KeywordMatcher matcher(ParseKeywords(query.keywordText), query.exactCase,
                                 query.wholeWords, query.mode);
    const SearchPlaces &places = query.places;
    const bool itemPlaces = places.itemNames || places.itemCodes || places.itemTexts;
    // Gates and conditions: whether a node's places are looked at.
    auto isExamined = [&](const Node &node) {
        const TTipItem *item = node.item();
        return item ? itemPlaces && PassesItemConditions(*item, query) : places.keyNames;
    };
    std::vector<const Node *> &examined = m_examined;
    examined.clear();
    visitScope(m_db, query, [&](const Node &node) {
        if (isExamined(node))
            examined.push_back(&node);
    });

    // The nodes go in slices, so that a watcher sees results and progress early; with item texts
    // the pages of a slice are built together on all cores first.
    const std::size_t slice = places.itemTexts ? 2048 : 8192;
    std::optional<DisplayedTextCache::Lookup> texts;
    if (places.itemTexts)
        texts.emplace(m_texts.lookup());
    const qint64 total = qint64(examined.size());
    for (std::size_t begin = 0; begin < examined.size(); begin += slice) {
        if (monitor && monitor->cancelled())
            return false;
        const std::size_t end = std::min(begin + slice, examined.size());
        if (texts) {
            std::vector<const Node *> pages;
            for (std::size_t i = begin; i < end; ++i)
                if (examined[i]->isItem())
                    pages.push_back(examined[i]);
            texts->prepare(pages);
        }
        for (std::size_t i = begin; i < end; ++i) {
            const Node &node = *examined[i];
            const TTipItem *item = node.item();
            quint8 found = 0;
            if ((item ? places.itemNames : places.keyNames) && matcher.matches(node.name()))
                found |= PlaceName;
            if (item && places.itemCodes && matcher.matches(item->Code))
                found |= PlaceCode;
            if (item && places.itemTexts && matcher.matches(texts->text(node)))
                found |= PlaceText;
            if (found)
                results.push_back({&node, found});
        }
        if (monitor)
            monitor->progress(qint64(end), total, results);
    }
    return true;
}

} // namespace lexora
