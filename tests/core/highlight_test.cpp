#include "search/highlight.h"

#include <gtest/gtest.h>

namespace lexora {
namespace {

using Pieces = std::vector<HighlightPiece>;

SearchQuery query(const char *keywords, SearchMode mode = SearchMode::All, bool wholeWords = false,
                  bool exactCase = false)
{
    SearchQuery q;
    q.keywordText = keywords;
    q.mode = mode;
    q.wholeWords = wholeWords;
    q.exactCase = exactCase;
    return q;
}

TEST(HighlightHits, Cases)
{
    struct Case {
        const char *what;
        QByteArray text;
        SearchQuery query;
        Pieces expected;
    } cases[] = {
        {"every occurrence, own case kept", "Ein Hinweis, ein hinweis", query("HINWEIS"),
         {{false, "Ein "}, {true, "Hinweis"}, {false, ", ein "}, {true, "hinweis"}, {false, ""}}},
        {"hit at the start, rest plain", "abc", query("a"), {{true, "a"}, {false, "bc"}}},
        {"empty text", "", query("a"), {{false, ""}}},
        {"no hit", "xyz", query("a"), {{false, "xyz"}}},
        {"mode all lacking a keyword shows nothing", "a b", query("a c"), {{false, "a b"}}},
        {"mode any shows what is there", "a b", query("a c", SearchMode::Any),
         {{true, "a"}, {false, " b"}}},
        {"mode all, later keywords one by one", "a b a", query("a b"),
         {{true, "a"}, {false, " "}, {true, "b"}, {false, " "}, {true, "a"}, {false, ""}}},
        {"all-matching keyword", "Alles", query("*"), {{true, "Alles"}, {false, ""}}},
        {"unbounded first occurrence hides all", "xab ab", query("ab", SearchMode::All, true),
         {{false, "xab ab"}}},
        {"only the first later occurrence counts", "ab xab ab", query("ab", SearchMode::All, true),
         {{true, "ab"}, {false, " xab ab"}}},
        {"exact case", "Ab ab", query("ab", SearchMode::All, false, true),
         {{false, "Ab "}, {true, "ab"}, {false, ""}}},
        {"empty keyword box", "abc", query(""), {{false, "abc"}}},
    };
    for (const Case &c : cases) {
        const Pieces pieces = HighlightHits(c.text, c.query);
        EXPECT_EQ(pieces, c.expected) << c.what;
        QByteArray joined;
        for (const HighlightPiece &p : pieces)
            joined += p.text;
        EXPECT_EQ(joined, c.text) << c.what;
    }
}

} // namespace
} // namespace lexora
