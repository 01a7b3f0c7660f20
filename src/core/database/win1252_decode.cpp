// Unicode and UTF-8 to Windows-1252. Encrypted strings are stored as UTF-8 of arbitrary bytes,
// so decoding them is the bulk of opening an encrypted database: whole 16-byte blocks go through
// SSE2 where the processor has it, the rest through a careful scalar loop, and anything that is
// not well-formed through Qt's decoder, whose replacement rules are the reference.
#include "database/win1252.h"

#include <array>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

#if defined(__SSE2__)

__m128i load(const unsigned char *p)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
}

__m128i bytes(unsigned char value)
{
    return _mm_set1_epi8(char(value));
}

// Per byte: all ones where the unsigned byte of x is at least value.
__m128i atLeast(__m128i x, unsigned char value)
{
    return _mm_cmpeq_epi8(_mm_max_epu8(x, bytes(value)), x);
}

__m128i equals(__m128i x, unsigned char value)
{
    return _mm_cmpeq_epi8(x, bytes(value));
}

__m128i select(__m128i mask, __m128i ifSet, __m128i ifClear)
{
    return _mm_or_si128(_mm_and_si128(mask, ifSet), _mm_andnot_si128(mask, ifClear));
}

// The byte of the two- or three-byte sequence at p, whose form the caller has checked.
char decodeSequence(const unsigned char *p, const std::array<char, 0x10000> &byteOf)
{
    if (p[0] < 0xE0)
        return byteOf[(p[0] & 0x1F) << 6 | (p[1] & 0x3F)];
    return byteOf[(p[0] & 0x0F) << 12 | (p[1] & 0x3F) << 6 | (p[2] & 0x3F)];
}

// Decodes whole blocks of 16 bytes from begin while each is well-formed in a way that needs no
// range check: no sequence of four bytes and no lead byte C0, C1, E0 or ED. Writes one byte per
// character that starts in a decoded block and returns where decoding stopped. The last of those
// characters may reach into the next two bytes without their having been checked.
const unsigned char *decodeBlocks(const unsigned char *begin, const unsigned char *end, char *&dst,
                                  const std::array<char, 0x10000> &byteOf)
{
    const unsigned char *in = begin;
    // Two bytes of look-ahead for a character starting at the end of a block.
    while (end - in >= 18) {
        const __m128i b0 = load(in);
        const __m128i b1 = load(in + 1);
        const __m128i before1 = in == begin ? _mm_slli_si128(b0, 1) : load(in - 1);
        const __m128i before2 = in == begin ? _mm_slli_si128(b0, 2) : load(in - 2);
        // A continuation byte exactly where a lead byte one or two places before calls for one.
        const __m128i continuation = equals(_mm_and_si128(b0, bytes(0xC0)), 0x80);
        const __m128i expected = _mm_or_si128(atLeast(before1, 0xC0), atLeast(before2, 0xE0));
        if (_mm_movemask_epi8(_mm_xor_si128(continuation, expected)) != 0)
            break;
        const unsigned high = unsigned(_mm_movemask_epi8(b0));
        if (high == 0) {
            _mm_storeu_si128(reinterpret_cast<__m128i *>(dst), b0);
            dst += 16;
            in += 16;
            continue;
        }
        const __m128i needsRangeCheck = _mm_or_si128(
            _mm_or_si128(atLeast(b0, 0xF0), equals(b0, 0xC0)),
            _mm_or_si128(_mm_or_si128(equals(b0, 0xC1), equals(b0, 0xE0)), equals(b0, 0xED)));
        if (_mm_movemask_epi8(needsRangeCheck) != 0)
            break;

        // ASCII stays; C3 xx is U+00C0..U+00FF; C2 xx is U+0080..U+00BF, of which the code page
        // has A0..BF and its five unassigned bytes. Every other lead byte is looked up below.
        const __m128i c2 = equals(b0, 0xC2);
        const __m128i c3 = equals(b0, 0xC3);
        const __m128i c2Kept = _mm_or_si128(
            _mm_or_si128(atLeast(b1, 0xA0), _mm_or_si128(equals(b1, 0x81), equals(b1, 0x8D))),
            _mm_or_si128(_mm_or_si128(equals(b1, 0x8F), equals(b1, 0x90)), equals(b1, 0x9D)));
        __m128i out = select(_mm_cmplt_epi8(b0, _mm_setzero_si128()), bytes('?'), b0);
        out = select(c3, _mm_add_epi8(b1, bytes(0x40)), out);
        out = select(_mm_and_si128(c2, c2Kept), b1, out);
        alignas(16) char decoded[16];
        _mm_store_si128(reinterpret_cast<__m128i *>(decoded), out);

        const unsigned starts = ~unsigned(_mm_movemask_epi8(continuation)) & 0xFFFF;
        unsigned others = starts & high & ~unsigned(_mm_movemask_epi8(_mm_or_si128(c2, c3)));
        for (; others != 0; others &= others - 1) {
            const int at = __builtin_ctz(others);
            decoded[at] = decodeSequence(in + at, byteOf);
        }
        for (int i = 0; i < 16; ++i) {
            *dst = decoded[i];
            dst += (starts >> i) & 1;
        }
        in += 16;
    }
    return in;
}

#else

const unsigned char *decodeBlocks(const unsigned char *begin, const unsigned char *, char *&,
                                  const std::array<char, 0x10000> &)
{
    return begin;
}

#endif

// Decodes well-formed UTF-8 straight to Windows-1252. False at the first malformed sequence,
// which the caller then leaves to Qt's decoder.
bool decodeWellFormedUtf8(QByteArrayView utf8, QByteArray &out)
{
    const std::array<char, 0x10000> &byteOf = bytesOfCodePoints();
    out.resize(utf8.size());
    const auto *begin = reinterpret_cast<const unsigned char *>(utf8.data());
    const auto *end = begin + utf8.size();
    char *dst = out.data();
    const unsigned char *in = decodeBlocks(begin, end, dst, byteOf);
    if (in != begin) {
        // The blocks' last character is decoded again here, with every check.
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
    return true;
}

} // namespace

char fromCodePoint(char32_t cp)
{
    return cp < 0x10000 ? bytesOfCodePoints()[cp] : '?';
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
