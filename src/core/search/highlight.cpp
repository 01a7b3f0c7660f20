#include "search/highlight.h"

namespace lexora {

std::vector<HighlightPiece> HighlightHits(const Text &text, const SearchQuery &query)
{
    const KeywordMatcher matcher(ParseKeywords(query.keywordText), query.exactCase,
                                 query.wholeWords, query.mode);
    std::vector<HighlightPiece> pieces;
    qsizetype pos = 1;
    for (;;) {
        const KeywordHit hit = matcher.find(text, pos);
        if (hit.position == 0) {
            pieces.push_back({false, text.mid(pos - 1)});
            return pieces;
        }
        if (hit.position > pos)
            pieces.push_back({false, text.mid(pos - 1, hit.position - pos)});
        pieces.push_back({true, text.mid(hit.position - 1, hit.length)});
        pos = hit.position + hit.length;
    }
}

} // namespace lexora
