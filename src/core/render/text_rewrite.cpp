#include "render/text_rewrite.h"

#include <QtGlobal>

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define LEXORA_X86_SEARCH 1
#include <immintrin.h>
#endif

namespace lexora {

namespace {

// Pages are full of "%": a search that stops at every "%" of a placeholder it does not look for
// is slow. So candidates are places where the needle's first two bytes stand side by side, many
// places at a time, and only those are compared in full. Each scan goes on while a whole block
// fits before last (the last possible start) and returns where it stopped, or sets found.
struct Scan {
    const char *at;
    const char *found = nullptr;
};

#ifdef LEXORA_X86_SEARCH
__attribute__((target("avx2"))) Scan scan32(const char *at, const char *last,
                                            QByteArrayView needle)
{
    const __m256i first = _mm256_set1_epi8(needle[0]);
    const __m256i second = _mm256_set1_epi8(needle[1]);
    const std::size_t restSize = std::size_t(needle.size() - 2);
    for (; last - at >= 32; at += 32) {
        const __m256i here = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(at));
        const __m256i next = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(at + 1));
        unsigned mask = unsigned(_mm256_movemask_epi8(
            _mm256_and_si256(_mm256_cmpeq_epi8(here, first), _mm256_cmpeq_epi8(next, second))));
        for (; mask; mask &= mask - 1) {
            const char *candidate = at + std::countr_zero(mask);
            if (std::memcmp(candidate + 2, needle.data() + 2, restSize) == 0)
                return {at, candidate};
        }
    }
    return {at};
}

Scan scan16(const char *at, const char *last, QByteArrayView needle)
{
    const __m128i first = _mm_set1_epi8(needle[0]);
    const __m128i second = _mm_set1_epi8(needle[1]);
    const std::size_t restSize = std::size_t(needle.size() - 2);
    for (; last - at >= 16; at += 16) {
        const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i *>(at));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i *>(at + 1));
        unsigned mask = unsigned(_mm_movemask_epi8(
            _mm_and_si128(_mm_cmpeq_epi8(here, first), _mm_cmpeq_epi8(next, second))));
        for (; mask; mask &= mask - 1) {
            const char *candidate = at + std::countr_zero(mask);
            if (std::memcmp(candidate + 2, needle.data() + 2, restSize) == 0)
                return {at, candidate};
        }
    }
    return {at};
}
#endif

} // namespace

qsizetype findText(QByteArrayView text, QByteArrayView needle, qsizetype from)
{
    if (from < 0 || from > text.size() || needle.size() > text.size() - from)
        return -1;
    if (needle.size() < 2)
        return needle.isEmpty() ? from : text.indexOf(needle.front(), from);
    const char *const begin = text.data();
    const char *const last = begin + (text.size() - needle.size());
    const char *at = begin + from;
#ifdef LEXORA_X86_SEARCH
    // LEXORA_NO_AVX2 takes the 16-byte scan anywhere, for the tests and for comparison.
    static const bool avx2 = __builtin_cpu_supports("avx2") && qEnvironmentVariableIsEmpty("LEXORA_NO_AVX2");
    const Scan scan = avx2 ? scan32(at, last, needle) : scan16(at, last, needle);
    if (scan.found)
        return scan.found - begin;
    at = scan.at;
#endif
    const std::size_t restSize = std::size_t(needle.size() - 2);
    for (; at <= last; ++at)
        if (at[0] == needle[0] && at[1] == needle[1]
            && std::memcmp(at + 2, needle.data() + 2, restSize) == 0)
            return at - begin;
    return -1;
}

void prepareOutput(Text &output, qsizetype size)
{
    // The memory stays, with room to grow, so that the two buffers of a page's steps are seldom
    // allocated anew: fresh memory of a large page costs more than the steps.
    output.truncate(0);
    output.reserve(size + size / 8);
}

qsizetype PageBudget::take(qsizetype bytes)
{
    const qsizetype taken = std::min(bytes, m_left);
    m_left -= taken;
    if (taken < bytes)
        m_cut = true;
    return taken;
}

void PageBudget::cut()
{
    m_left = 0;
    m_cut = true;
}

void TextRewriter::startOutput(qsizetype firstValueSize)
{
    if (!m_changed) {
        prepareOutput(m_output, m_input.size() + firstValueSize);
        m_changed = true;
    }
}

void TextRewriter::append(const char *data, qsizetype size)
{
    if (m_cut)
        return;
    if (m_budget) {
        // The output may be as long as the input and whatever growth the budget has paid for.
        qsizetype room = m_input.size() + m_paid - m_output.size();
        if (size > room) {
            m_paid += m_budget->take(size - room);
            room = m_input.size() + m_paid - m_output.size();
        }
        if (size > room) {
            m_output.append(data, room);
            m_cut = true;
            m_budget->cut();
            return;
        }
    }
    m_output.append(data, size);
}

void TextRewriter::replace(qsizetype start, qsizetype end, QByteArrayView value)
{
    startOutput(value.size());
    append(m_input.constData() + m_copied, start - m_copied);
    append(value.data(), value.size());
    m_copied = end;
}

void TextRewriter::cutAt(qsizetype at)
{
    startOutput(0);
    append(m_input.constData() + m_copied, at - m_copied);
    m_copied = at;
    m_cut = true;
    if (m_budget)
        m_budget->cut();
}

bool TextRewriter::finish()
{
    if (m_changed)
        append(m_input.constData() + m_copied, m_input.size() - m_copied);
    return m_changed;
}

bool replaceAll(const Text &text, QByteArrayView needle, QByteArrayView value, Text &out,
                PageBudget *budget)
{
    TextRewriter rewriter(text, out, budget);
    for (qsizetype at = findText(text, needle, 0); at >= 0 && !rewriter.isCut();
         at = findText(text, needle, at + needle.size()))
        rewriter.replace(at, at + needle.size(), value);
    return rewriter.finish();
}

} // namespace lexora
