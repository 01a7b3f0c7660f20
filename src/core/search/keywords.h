#pragma once

#include "database/model.h"

#include <QByteArrayView>

#include <string_view>
#include <vector>

namespace lexora {

// "Alle Stichwörter müssen vorkommen." or "Mindestens eins der Stichwörter muss vorkommen."
enum class SearchMode { All, Any };

// The characters that bound a whole word: tab, line feed, carriage return, blank and
// ! " ' ( ) , . : ; ? [ ] { | }. Everything else, umlauts included, belongs to a word.
bool IsWordSeparator(char c);

// Splits the text of the keyword box into keywords: blanks and commas separate them, a quoted
// phrase ("" inside it standing for one ") is one keyword. Empty keywords are kept: they come
// from two commas in a row, a trailing comma or "". The text ends at its first NUL byte.
std::vector<Text> ParseKeywords(QByteArrayView keywordText);

// A hit: position counted from 1, 0 for no hit (the length then means nothing).
struct KeywordHit {
    qsizetype position = 0;
    qsizetype length = 0;
    bool operator==(const KeywordHit &) const = default;
};

// The search of keywords in texts under fixed options, prepared once for many texts: the keywords
// are upper-cased here, each text once per call. Not for use from two threads at once.
class KeywordMatcher {
public:
    KeywordMatcher(std::vector<Text> keywords, bool exactCase, bool wholeWords, SearchMode mode);

    // The earliest hit of a keyword at or after start (counted from 1, at least 1). With
    // start 1 in mode all, every keyword before the all-matching "*" must occur, else no hit.
    // Under whole words only the first occurrence of each keyword counts, and only if bounded.
    KeywordHit find(QByteArrayView text, qsizetype start) const;
    // A text matches when it has a hit from its start.
    bool matches(QByteArrayView text) const { return find(text, 1).position > 0; }

private:
    std::string_view casedText(QByteArrayView text) const;
    bool bounded(std::string_view text, std::size_t at, std::size_t length) const;

    std::vector<Text> m_keywords; // upper-cased unless the case is exact
    std::vector<bool> m_matchesAll;
    bool m_exactCase;
    bool m_wholeWords;
    SearchMode m_mode;
    mutable std::vector<char> m_upper;
};

// One search of keywords in text (see KeywordMatcher::find).
KeywordHit FindKeywordHit(QByteArrayView text, const std::vector<Text> &keywords, qsizetype start,
                          bool exactCase, bool wholeWords, SearchMode mode);

} // namespace lexora
