// Unicode and UTF-8 to Windows-1252. Encrypted strings are stored as UTF-8 of arbitrary bytes,
// so decoding them is the bulk of opening an encrypted database: whole 64-byte blocks go through
// AVX-512 where the processor has it, the rest through a careful byte-wise loop, and anything that
// is not well-formed through Qt's decoder, whose replacement rules are the reference.
#include "database/win1252.h"

#include "database/avx512.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace lexora::win1252 {
namespace {

// The byte of every code point below U+10000, '?' where the code page has none.
const std::array<char, 0x10000> &bytesOfCodePoints()
{
    static const std::array<char, 0x10000> table = [] {
        std::array<char, 0x10000> t;
        t.fill('?');
        for (int b = 0; b < 256; ++b)
            t[toCodePoint(static_cast<unsigned char>(b))] = char(b);
        return t;
    }();
    return table;
}

bool isContinuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

#ifdef LEXORA_AVX512

// Every character of the code page above 0x7F has a two- or three-byte form; the forms fall
// into a few groups by their leading bytes (C2, C3, C5, C6, CB, E2 80, E2 82, E2 84). Each group
// gets a table of the code page's bytes by the last byte's low six bits, '?' where none.
struct FormGroups {
    static constexpr int kMax = 12;
    struct Group {
        std::uint8_t lead = 0;
        std::uint8_t middle = 0; // 0 for two-byte forms
        alignas(64) char byLast[64];
    };
    Group groups[kMax];
    int count = 0;
};

const FormGroups &formGroups()
{
    static const FormGroups table = [] {
        FormGroups t;
        for (int byte = 0x80; byte < 0x100; ++byte) {
            const QByteArray form = toUtf8(QByteArray(1, char(byte)));
            const auto lead = static_cast<std::uint8_t>(form[0]);
            const auto middle = form.size() == 3 ? static_cast<std::uint8_t>(form[1]) : std::uint8_t(0);
            int g = 0;
            while (g < t.count && !(t.groups[g].lead == lead && t.groups[g].middle == middle))
                ++g;
            if (g == t.count) {
                Q_ASSERT(t.count < FormGroups::kMax);
                if (t.count == FormGroups::kMax)
                    continue;
                t.groups[t.count].lead = lead;
                t.groups[t.count].middle = middle;
                std::memset(t.groups[t.count].byLast, '?', 64);
                ++t.count;
            }
            t.groups[g].byLast[static_cast<std::uint8_t>(form.back()) & 0x3F] = char(byte);
        }
        return t;
    }();
    return table;
}

LEXORA_AVX512_TARGET __m512i bytes(unsigned char value)
{
    return _mm512_set1_epi8(char(value));
}

// Lane i picks lane i - n.
LEXORA_AVX512_TARGET __m512i shiftedBy(int n)
{
    alignas(64) std::uint8_t lanes[64];
    for (int i = 0; i < 64; ++i)
        lanes[i] = std::uint8_t(i - n);
    return _mm512_load_si512(lanes);
}

// Decodes blocks of up to 64 bytes from begin while each is well-formed in a way that needs no
// range check: no sequence of four bytes and no lead byte C0, C1, E0 or ED. Writes one byte per
// character that starts in a decoded block and returns where decoding stopped. Bytes beyond end
// are neither read nor written (masked loads and stores).
LEXORA_AVX512_TARGET const unsigned char *decodeBlocksAvx512(const unsigned char *begin,
                                                            const unsigned char *end, char *&dst)
{
    const FormGroups &forms = formGroups();
    const unsigned char *in = begin;
    while (in < end) {
        const std::size_t left = std::size_t(end - in);
        // Masked loads and stores only near the end, where they are needed: they are slower.
        const bool whole = left >= 66;
        const __mmask64 valid = avx512::lanesBelow(left);
        const __m512i b0 = whole ? _mm512_loadu_si512(in) : _mm512_maskz_loadu_epi8(valid, in);
        // The bytes one and two places before; zeros before the first block.
        const bool first = in == begin;
        const __m512i before1 = first ? _mm512_maskz_permutexvar_epi8(~1ULL, shiftedBy(1), b0)
                              : whole ? _mm512_loadu_si512(in - 1)
                                      : _mm512_maskz_loadu_epi8(avx512::lanesBelow(left + 1), in - 1);
        const __m512i before2 = first ? _mm512_maskz_permutexvar_epi8(~3ULL, shiftedBy(2), b0)
                              : whole ? _mm512_loadu_si512(in - 2)
                                      : _mm512_maskz_loadu_epi8(avx512::lanesBelow(left + 2), in - 2);
        // A continuation byte exactly where a lead byte one or two places before calls for one.
        // Past the end b0 is zero, so a character cut short by the end stops the blocks here.
        const __mmask64 continuation =
            _mm512_cmpeq_epi8_mask(_mm512_and_si512(b0, bytes(0xC0)), bytes(0x80));
        const __mmask64 expected = _mm512_cmpge_epu8_mask(before1, bytes(0xC0))
                                   | _mm512_cmpge_epu8_mask(before2, bytes(0xE0));
        if (continuation != expected)
            break;
        const __mmask64 high = _mm512_movepi8_mask(b0);
        const std::size_t taken = left < 64 ? left : 64;
        if (high == 0) {
            if (whole)
                _mm512_storeu_si512(dst, b0);
            else
                _mm512_mask_storeu_epi8(dst, valid, b0);
            dst += taken;
            in += taken;
            continue;
        }
        const __mmask64 needsRangeCheck = _mm512_cmpge_epu8_mask(b0, bytes(0xF0))
                                          | _mm512_cmpeq_epi8_mask(b0, bytes(0xC0))
                                          | _mm512_cmpeq_epi8_mask(b0, bytes(0xC1))
                                          | _mm512_cmpeq_epi8_mask(b0, bytes(0xE0))
                                          | _mm512_cmpeq_epi8_mask(b0, bytes(0xED));
        if (needsRangeCheck != 0)
            break;

        // ASCII stays, every other character is '?' unless its group's table has it.
        const __m512i b1 = whole ? _mm512_loadu_si512(in + 1)
                                 : _mm512_maskz_loadu_epi8(avx512::lanesBelow(left - 1), in + 1);
        const __m512i b2 = whole ? _mm512_loadu_si512(in + 2)
                                 : _mm512_maskz_loadu_epi8(left >= 2 ? avx512::lanesBelow(left - 2) : 0, in + 2);
        __m512i out = _mm512_mask_mov_epi8(b0, high, bytes('?'));
        for (int g = 0; g < forms.count; ++g) {
            const FormGroups::Group &group = forms.groups[g];
            __mmask64 members = _mm512_cmpeq_epi8_mask(b0, bytes(group.lead)) & high;
            if (members == 0)
                continue;
            if (group.middle != 0)
                members &= _mm512_cmpeq_epi8_mask(b1, bytes(group.middle));
            const __m512i table = _mm512_load_si512(group.byLast);
            out = _mm512_mask_permutexvar_epi8(out, members, group.middle != 0 ? b2 : b1, table);
        }
        const __mmask64 starts = ~continuation & valid;
        const std::size_t count = std::size_t(_mm_popcnt_u64(starts));
        const __m512i packed = _mm512_maskz_compress_epi8(starts, out);
        if (whole)
            _mm512_storeu_si512(dst, packed);
        else
            _mm512_mask_storeu_epi8(dst, avx512::lanesBelow(count), packed);
        dst += count;
        in += taken;
    }
    return in;
}

const unsigned char *decodeBlocks(const unsigned char *begin, const unsigned char *end, char *&dst)
{
    return avx512::supported() ? decodeBlocksAvx512(begin, end, dst) : begin;
}

#else

const unsigned char *decodeBlocks(const unsigned char *begin, const unsigned char *, char *&)
{
    return begin;
}

#endif

// Decodes well-formed UTF-8 straight to Windows-1252. False at the first malformed sequence,
// which the caller then leaves to Qt's decoder.
bool decodeWellFormedUtf8(QByteArrayView utf8, QByteArray &out)
{
    const std::array<char, 0x10000> &byteOf = bytesOfCodePoints();
    // Room for one byte per UTF-8 byte, and for the full stores of whole blocks.
    out.resize(utf8.size());
    const auto *begin = reinterpret_cast<const unsigned char *>(utf8.data());
    const auto *end = begin + utf8.size();
    char *dst = out.data();
    const unsigned char *in = decodeBlocks(begin, end, dst);
    if (in != begin) {
        // The blocks' last character may reach into bytes that no block has checked (the end,
        // or a block that stopped them): it is decoded again here, with every check.
        --in;
        while (isContinuation(*in))
            --in;
        --dst;
    }
    while (in < end) {
        if (end - in >= 8) {
            std::uint64_t word;
            std::memcpy(&word, in, 8);
            if ((word & 0x8080808080808080ULL) == 0) {
                std::memcpy(dst, in, 8);
                dst += 8;
                in += 8;
                continue;
            }
        }
        const unsigned char c = *in;
        if (c < 0x80) {
            *dst++ = char(c);
            ++in;
        } else if (c >= 0xC2 && c <= 0xDF && end - in >= 2 && isContinuation(in[1])) {
            *dst++ = byteOf[(c & 0x1F) << 6 | (in[1] & 0x3F)];
            in += 2;
        } else if (c >= 0xE0 && c <= 0xEF && end - in >= 3 && isContinuation(in[1])
                   && isContinuation(in[2]) && !(c == 0xE0 && in[1] < 0xA0)
                   && !(c == 0xED && in[1] >= 0xA0)) {
            *dst++ = byteOf[(c & 0x0F) << 12 | (in[1] & 0x3F) << 6 | (in[2] & 0x3F)];
            in += 3;
        } else if (c >= 0xF0 && c <= 0xF4 && end - in >= 4 && isContinuation(in[1])
                   && isContinuation(in[2]) && isContinuation(in[3]) && !(c == 0xF0 && in[1] < 0x90)
                   && !(c == 0xF4 && in[1] >= 0x90)) {
            *dst++ = '?'; // beyond the code page
            in += 4;
        } else {
            return false;
        }
    }
    out.resize(dst - out.constData());
    // Encrypted text decodes to about two thirds of its UTF-8 size; the rest would stay
    // allocated for as long as the database is open. Shrinking in place costs no copy.
    out.squeeze();
    return true;
}

} // namespace

char fromCodePoint(char32_t cp)
{
    return cp < 0x10000 ? bytesOfCodePoints()[cp] : '?';
}

qsizetype firstUnencodable(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i] != u'?' && fromCodePoint(text[i].unicode()) == '?')
            return i; // a surrogate, half of a character beyond U+FFFF, is never encodable
    return -1;
}

QByteArray fromUnicode(QStringView text)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    char *dst = out.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t cp = text[i].unicode();
        if (QChar::isHighSurrogate(cp) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        *dst++ = fromCodePoint(cp);
    }
    out.resize(dst - out.constData());
    return out;
}

QByteArray fromUtf8(QByteArrayView utf8)
{
    QByteArray out;
    if (decodeWellFormedUtf8(utf8, out))
        return out;
    return fromUnicode(QString::fromUtf8(utf8));
}

QByteArray fromUtf16(const char16_t *units, qsizetype count)
{
    return fromUnicode(QStringView(units, count));
}

} // namespace lexora::win1252
