#include "search/keywords.h"

#include <gtest/gtest.h>

#include <set>

namespace lexora {
namespace {

using Keywords = std::vector<Text>;

TEST(ParseKeywords, Cases)
{
    struct Case {
        QByteArray text;
        Keywords expected;
    } cases[] = {
        {"a b,c", {"a", "b", "c"}},
        {"\"zwei W\xF6rter\" drei", {"zwei W\xF6rter", "drei"}},
        {"a,,b", {"a", "", "b"}},
        {"a,", {"a", ""}},
        {"a, ", {"a"}},               // the comma is not the last character
        {"a ,", {"a", ""}},
        {",a", {"", "a"}},
        {"\"ab\"cd", {"ab", "cd"}},   // no blank needed after a closing quote
        {"\"\"", {""}},
        {"\"\" x", {"", "x"}},
        {"\"a\"\"b\"", {"a\"b"}},     // a doubled quote inside a phrase
        {"\"a\"\"\"", {"a\""}},
        {"\"ohne Ende", {"ohne Ende"}},
        {"a\"b", {"a\"b"}},           // quotes inside a plain word are ordinary
        {"  a  ,  b  ", {"a", "b"}},
        {"\ta\r\nb", {"a", "b"}},
        {"a\x01" "b", {"a", "b"}},    // every code up to 32 separates
        {"\xC4nderung", {"\xC4nderung"}},
        {"*", {"*"}},
        {"   ", {}},
        {"", {}},
        {QByteArray("a\0b", 3), {"a"}}, // the text ends at a NUL
        {QByteArray("\0", 1), {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ParseKeywords(c.text), c.expected) << c.text.toStdString();
}

TEST(WordSeparators, ExactlyTheListedCharacters)
{
    const std::set<int> listed{9, 10, 13, 32, '!', '"', '\'', '(', ')', ',', '.', ':', ';', '?',
                               '[', ']', '{', '|', '}'};
    for (int c = 0; c < 256; ++c)
        EXPECT_EQ(IsWordSeparator(char(c)), listed.count(c) == 1) << c;
}

struct HitCase {
    const char *name;
    QByteArray text;
    Keywords keywords;
    qsizetype start;
    bool exactCase;
    bool wholeWords;
    SearchMode mode;
    KeywordHit expected;
};

constexpr auto All = SearchMode::All;
constexpr auto Any = SearchMode::Any;

TEST(FindKeywordHit, Cases)
{
    const HitCase cases[] = {
        {"empty text", "", {"a"}, 1, false, false, Any, {0, 0}},
        {"empty text, all-matching", "", {"*"}, 1, false, false, Any, {0, 0}},
        {"plain hit", "xxabc", {"abc"}, 1, true, false, All, {3, 3}},
        {"case folded", "HELLO", {"hello"}, 1, false, false, All, {1, 5}},
        {"exact case misses", "HELLO", {"hello"}, 1, true, false, All, {0, 0}},
        {"umlaut folded", "\xC4nderung", {"\xE4NDERUNG"}, 1, false, false, All, {1, 8}},
        {"umlaut keyword upper", "\xE4nderung", {"\xC4NDERUNG"}, 1, false, false, All, {1, 8}},
        {"umlaut exact case", "\xE4nderung", {"\xC4NDERUNG"}, 1, true, false, All, {0, 0}},
        {"sharp s stays", "STRASSE", {"stra\xDF" "e"}, 1, false, false, All, {0, 0}},
        {"sharp s on both sides", "Stra\xDF" "e", {"STRA\xDF" "E"}, 1, false, false, All, {1, 6}},
        {"y diaeresis", "\xFF", {"\x9F"}, 1, false, false, All, {1, 1}},
        {"first of two positions", "ab cd", {"cd", "ab"}, 1, false, false, All, {1, 2}},
        {"earlier keyword wins a tie", "abcd", {"ab", "abc"}, 1, false, false, All, {1, 2}},
        {"earlier keyword wins a tie, reversed", "abcd", {"abc", "ab"}, 1, false, false, All,
         {1, 3}},
        {"mode all, one missing", "ab", {"ab", "x"}, 1, false, false, All, {0, 0}},
        {"mode any, one missing", "ab", {"x", "b"}, 1, false, false, Any, {2, 1}},
        {"mode all, missing skipped after the start", "abc", {"x", "c"}, 2, false, false, All,
         {3, 1}},
        {"start beyond the hit", "ab ab", {"ab"}, 2, false, false, All, {4, 2}},
        {"start after the end", "ab", {"ab"}, 3, false, false, Any, {0, 0}},
        {"mode all, empty keyword", "abc", {"a", ""}, 1, false, false, All, {0, 0}},
        {"mode any, empty keyword ignored", "abc", {"", "b"}, 1, false, false, Any, {2, 1}},
        {"mode any, only an empty keyword", "abc", {""}, 1, false, false, Any, {0, 0}},
        {"whole word at both edges", "Hinweis", {"hinweis"}, 1, false, true, All, {1, 7}},
        {"whole word before a full stop", "Hinweis.", {"Hinweis"}, 1, true, true, All, {1, 7}},
        {"whole word in brackets", "(Hinweis)", {"Hinweis"}, 1, true, true, All, {2, 7}},
        {"whole word after a tag", "<b>Hinweis</b>", {"Hinweis"}, 1, true, true, All, {0, 0}},
        {"first occurrence unbounded, mode all", "xab ab", {"ab"}, 1, false, true, All, {0, 0}},
        {"first occurrence unbounded, mode any", "xab ab", {"ab"}, 1, false, true, Any, {0, 0}},
        {"bounded occurrence after the start", "xab ab", {"ab"}, 3, false, true, All, {5, 2}},
        {"hyphen is no separator", "a-b", {"a"}, 1, false, true, Any, {0, 0}},
        {"digit is no separator", "a1", {"a"}, 1, false, true, Any, {0, 0}},
        {"umlaut is a word character", "\xE4" "a", {"a"}, 1, false, true, Any, {0, 0}},
        {"bar separates", "a|b", {"b"}, 1, false, true, Any, {3, 1}},
        {"line break separates", "x\r\nab\r\n", {"ab"}, 1, false, true, Any, {4, 2}},
        {"all-matching alone", "abc", {"*"}, 1, false, false, All, {1, 3}},
        {"all-matching from a later start", "abc", {"*"}, 2, false, false, All, {2, 2}},
        {"all-matching after the end", "abc", {"*"}, 4, false, false, All, {0, 0}},
        {"all-matching after a missing keyword, mode all", "abc", {"x", "*"}, 1, false, false,
         All, {0, 0}},
        {"all-matching after a missing keyword, mode any", "abc", {"x", "*"}, 1, false, false,
         Any, {1, 3}},
        {"all-matching overrides an earlier hit", "abc", {"c", "*"}, 1, false, false, Any,
         {1, 3}},
        {"keywords after all-matching not examined", "abc", {"*", "x"}, 1, false, false, All,
         {1, 3}},
        {"all-matching ignores whole words", "xyz", {"*"}, 1, false, true, All, {1, 3}},
        {"asterisk inside a keyword is literal", "a*b", {"*b"}, 1, false, false, All, {2, 2}},
    };
    for (const HitCase &c : cases)
        EXPECT_EQ(FindKeywordHit(c.text, c.keywords, c.start, c.exactCase, c.wholeWords, c.mode),
                  c.expected)
            << c.name;
}

TEST(KeywordMatcher, ReusedForManyTextsGivesTheSameHits)
{
    const KeywordMatcher matcher({"\xE4", "b"}, false, false, SearchMode::Any);
    EXPECT_EQ(matcher.find("a long text without the keywords, longer than the next", 1),
              KeywordHit{});
    EXPECT_EQ(matcher.find("x\xC4", 1), (KeywordHit{2, 1}));
    EXPECT_TRUE(matcher.matches("B"));
    EXPECT_FALSE(matcher.matches(""));
}

} // namespace
} // namespace lexora
