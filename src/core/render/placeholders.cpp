#include "render/placeholders.h"

#include "render/text_rewrite.h"

#include <algorithm>

namespace lexora {

const Text &placeholderPattern(int index)
{
    // Made once: pages are built often, and nested blocks build many texts per page.
    static const std::array<Text, PlaceholderCount> patterns = [] {
        std::array<Text, PlaceholderCount> out;
        for (std::size_t i = 0; i < out.size(); ++i) {
            const Placeholder &p = PlaceholderTable[i];
            out[i] = (p.form == PlaceholderForm::Block ? Text("%>") : Text("%")) + p.name + '%';
        }
        return out;
    }();
    return patterns[std::size_t(index)];
}

Text blockClosing(int index)
{
    return Text("%<") + PlaceholderTable[std::size_t(index)].name + '%';
}

Text placeholderCaption(int index)
{
    const Placeholder &p = PlaceholderTable[std::size_t(index)];
    Text out = placeholderPattern(index);
    for (const char *c = p.argumentPattern; c && *c; ++c) {
        if (c[0] == '%' && c[1] == 's') {
            out += p.name;
            ++c;
        } else if (c[0] == '%' && c[1] == '%') {
            out += '%';
            ++c;
        } else {
            out += *c;
        }
    }
    return out;
}

PlaceholderSearch::PlaceholderSearch(int index, QByteArrayView text)
    : m_text(text),
      m_pattern(placeholderPattern(index)),
      m_hasArgument(PlaceholderTable[std::size_t(index)].form != PlaceholderForm::Plain),
      m_lastGreater(m_hasArgument ? text.lastIndexOf('>') : -1)
{
}

bool PlaceholderSearch::FindPlaceholder(qsizetype from, PlaceholderMatch &match) const
{
    const qsizetype start = findText(m_text, m_pattern, from);
    if (start < 0)
        return false;
    match.start = start;
    match.end = start + m_pattern.size();
    match.argument.clear();
    if (m_hasArgument && match.end <= m_lastGreater) {
        const qsizetype greater = m_text.indexOf('>', match.end);
        match.argument = m_text.sliced(match.end, greater - match.end).toByteArray();
        match.end = greater + 1;
    }
    return true;
}

namespace {

// Every occurrence of needle, overlapping ones included.
std::vector<qsizetype> occurrences(QByteArrayView text, QByteArrayView needle)
{
    std::vector<qsizetype> out;
    for (qsizetype at = findText(text, needle, 0); at >= 0; at = findText(text, needle, at + 1))
        out.push_back(at);
    return out;
}

} // namespace

BlockMarkers::BlockMarkers(QByteArrayView text, int index)
{
    const std::vector<qsizetype> openings = occurrences(text, placeholderPattern(index));
    const std::vector<qsizetype> closings = occurrences(text, blockClosing(index));
    const qsizetype count = qsizetype(openings.size() + closings.size());

    // depth[k]: openings minus closings among the first k markers.
    std::vector<qsizetype> depth{0};
    m_position.reserve(std::size_t(count));
    depth.reserve(std::size_t(count) + 1);
    auto o = openings.begin();
    auto c = closings.begin();
    while (o != openings.end() || c != closings.end()) {
        const bool opening = c == closings.end() || (o != openings.end() && *o < *c);
        m_position.push_back(opening ? *o++ : *c++);
        depth.push_back(depth.back() + (opening ? 1 : -1));
    }

    // A block opened just before marker i ends at the first marker j >= i after which the depth
    // is one below the depth before i. Walking from the right, firstReaching[d] is the first
    // marker so far after which the depth is d.
    m_matchAfter.assign(std::size_t(count), -1);
    std::vector<qsizetype> firstReaching(std::size_t(2 * count + 3), -1);
    const qsizetype offset = count + 1;
    for (qsizetype i = count - 1; i >= 0; --i) {
        firstReaching[std::size_t(depth[std::size_t(i) + 1] + offset)] = i;
        m_matchAfter[std::size_t(i)] = firstReaching[std::size_t(depth[std::size_t(i)] - 1 + offset)];
    }
}

qsizetype BlockMarkers::FindBlockEnd(qsizetype from) const
{
    const auto next = std::lower_bound(m_position.begin(), m_position.end(), from);
    if (next == m_position.end())
        return -1;
    const qsizetype end = m_matchAfter[std::size_t(next - m_position.begin())];
    return end < 0 ? -1 : m_position[std::size_t(end)];
}

} // namespace lexora
