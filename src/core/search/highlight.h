#pragma once

#include "search/search_query.h"

#include <vector>

namespace lexora {

struct HighlightPiece {
    bool hit = false;
    Text text;
    bool operator==(const HighlightPiece &) const = default;
};

// Cuts text into plain pieces and hit pieces under the query's keywords and options, parsed
// afresh; the pieces joined give the text. A text without a hit is one plain piece (an empty one
// for an empty text).
std::vector<HighlightPiece> HighlightHits(const Text &text, const SearchQuery &query);

} // namespace lexora
