#include "search/search_engine.h"

#include "search/item_conditions.h"

#include <algorithm>
#include <optional>

namespace lexora {
namespace {

bool contains(const std::vector<Node *> &scope, const Node *node)
{
    return std::find(scope.begin(), scope.end(), node) != scope.end();
}

} // namespace

void RemoveRedundantScopeEntries(std::vector<Node *> &scope)
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

void SearchEngine::RunSearch(SearchQuery &query, std::vector<SearchResult> &results)
{
    results.clear();
    if (query.recursive)
        RemoveRedundantScopeEntries(query.scope);
    const KeywordMatcher matcher(ParseKeywords(query.keywordText), query.exactCase,
                                 query.wholeWords, query.mode);
    const SearchPlaces &places = query.places;
    const bool itemPlaces = places.itemNames || places.itemCodes || places.itemTexts;
    std::optional<DisplayedTextCache::Lookup> texts;
    if (places.itemTexts)
        texts.emplace(m_texts.lookup());

    auto examine = [&](Node &node) {
        const TTipItem *item = node.item();
        if (item ? !itemPlaces : !places.keyNames)
            return;
        if (item && !PassesItemConditions(*item, query))
            return;
        quint8 found = 0;
        if ((item ? places.itemNames : places.keyNames) && matcher.matches(node.name()))
            found |= PlaceName;
        if (item && places.itemCodes && matcher.matches(item->Code))
            found |= PlaceCode;
        if (item && places.itemTexts && matcher.matches(texts->text(node)))
            found |= PlaceText;
        if (found)
            results.push_back({&node, found});
    };

    // Depth-first in tree order without recursion, so that a deep tree cannot exhaust the stack:
    // each level is the rest of a child list still to go.
    using Level = std::pair<const std::unique_ptr<Node> *, const std::unique_ptr<Node> *>;
    std::vector<Level> levels;
    for (Node *entry : query.scope) {
        const Node &start = entry ? *entry : m_db.topLevel();
        levels.emplace_back(start.children().data(), start.children().data() + start.childCount());
        while (!levels.empty()) {
            Level &level = levels.back();
            if (level.first == level.second) {
                levels.pop_back();
                continue;
            }
            Node &node = **level.first++;
            examine(node);
            if (!node.isItem() && query.recursive)
                levels.emplace_back(node.children().data(),
                                    node.children().data() + node.childCount());
        }
    }
}

} // namespace lexora
