#include "search/keywords.h"

#include "text/ansi_upper.h"

namespace lexora {
namespace {

bool isBlank(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

} // namespace

bool IsWordSeparator(char c)
{
    switch (c) {
    case '\t': case '\n': case '\r': case ' ':
    case '!': case '"': case '\'': case '(': case ')': case ',': case '.':
    case ':': case ';': case '?': case '[': case ']': case '{': case '|': case '}':
        return true;
    default:
        return false;
    }
}

std::vector<Text> ParseKeywords(QByteArrayView keywordText)
{
    // The keyword box cannot hold a NUL; a text that does ends there, so the reading below
    // always moves on.
    const qsizetype nul = keywordText.indexOf('\0');
    const QByteArrayView text = nul < 0 ? keywordText : keywordText.first(nul);
    const qsizetype n = text.size();
    std::vector<Text> keywords;
    qsizetype i = 0;
    auto skipBlanks = [&] {
        while (i < n && isBlank(text[i]))
            ++i;
    };
    skipBlanks();
    while (i < n) {
        Text keyword;
        if (text[i] == '"') {
            ++i;
            while (i < n) {
                if (text[i] == '"') {
                    if (i + 1 < n && text[i + 1] == '"') {
                        keyword += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                keyword += text[i++];
            }
        } else {
            const qsizetype begin = i;
            while (i < n && !isBlank(text[i]) && text[i] != ',')
                ++i;
            keyword = text.sliced(begin, i - begin).toByteArray();
        }
        keywords.push_back(keyword);
        skipBlanks();
        if (i < n && text[i] == ',') {
            if (i == n - 1)
                keywords.emplace_back();
            ++i;
            skipBlanks();
        }
    }
    return keywords;
}

KeywordMatcher::KeywordMatcher(std::vector<Text> keywords, bool exactCase, bool wholeWords,
                               SearchMode mode)
    : m_keywords(std::move(keywords)), m_exactCase(exactCase), m_wholeWords(wholeWords),
      m_mode(mode)
{
    for (Text &keyword : m_keywords) {
        m_matchesAll.push_back(keyword == "*");
        if (!exactCase)
            keyword = ansi::toUpper(keyword);
    }
}

std::string_view KeywordMatcher::casedText(QByteArrayView text) const
{
    if (m_exactCase)
        return {text.data(), std::size_t(text.size())};
    if (m_upper.size() < std::size_t(text.size()))
        m_upper.resize(std::size_t(text.size()));
    ansi::toUpper(text, m_upper.data());
    return {m_upper.data(), std::size_t(text.size())};
}

bool KeywordMatcher::bounded(std::string_view text, std::size_t at, std::size_t length) const
{
    if (at > 0 && !IsWordSeparator(text[at - 1]))
        return false;
    const std::size_t end = at + length;
    return end >= text.size() || IsWordSeparator(text[end]);
}

KeywordHit KeywordMatcher::find(QByteArrayView text, qsizetype start) const
{
    if (text.isEmpty())
        return {};
    const std::string_view cased = casedText(text);
    const auto length = qsizetype(cased.size());
    KeywordHit best;
    for (std::size_t k = 0; k < m_keywords.size(); ++k) {
        if (m_matchesAll[k]) {
            if (length < start)
                return {};
            return {start, length - start + 1};
        }
        const Text &keyword = m_keywords[k];
        std::size_t at = std::string_view::npos;
        if (!keyword.isEmpty() && start <= length) {
            at = cased.find(std::string_view(keyword.constData(), std::size_t(keyword.size())),
                            std::size_t(start - 1));
            if (at != std::string_view::npos && m_wholeWords
                && !bounded(cased, at, std::size_t(keyword.size())))
                at = std::string_view::npos;
        }
        if (at != std::string_view::npos) {
            const auto position = qsizetype(at) + 1;
            if (best.position == 0 || position < best.position)
                best = {position, keyword.size()};
        } else if (start == 1 && m_mode == SearchMode::All) {
            return {};
        }
    }
    return best;
}

KeywordHit FindKeywordHit(QByteArrayView text, const std::vector<Text> &keywords, qsizetype start,
                          bool exactCase, bool wholeWords, SearchMode mode)
{
    return KeywordMatcher(keywords, exactCase, wholeWords, mode).find(text, start);
}

} // namespace lexora
