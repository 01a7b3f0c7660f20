#include "database/win1252.h"

#include <array>

namespace lexora::win1252 {
namespace {

// 0x80..0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void appendUtf8(QByteArray &out, char16_t cp)
{
    if (cp < 0x80) {
        out.append(char(cp));
    } else if (cp < 0x800) {
        out.append(char(0xC0 | (cp >> 6)));
        out.append(char(0x80 | (cp & 0x3F)));
    } else {
        out.append(char(0xE0 | (cp >> 12)));
        out.append(char(0x80 | ((cp >> 6) & 0x3F)));
        out.append(char(0x80 | (cp & 0x3F)));
    }
}

} // namespace

char16_t toCodePoint(unsigned char byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return kHighControls[byte - 0x80];
    return byte;
}

char fromCodePoint(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp < 0x100))
        return char(cp);
    for (std::size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == cp)
            return char(0x80 + i);
    return '?';
}

QString toUnicode(QByteArrayView text)
{
    QString out(text.size(), Qt::Uninitialized);
    QChar *dst = out.data();
    for (qsizetype i = 0; i < text.size(); ++i)
        dst[i] = QChar(toCodePoint(static_cast<unsigned char>(text[i])));
    return out;
}

QByteArray fromUnicode(QStringView text)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t cp = text[i].unicode();
        if (QChar::isHighSurrogate(cp) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        out.append(fromCodePoint(cp));
    }
    return out;
}

bool isAscii(QByteArrayView text)
{
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

QByteArray toUtf8(QByteArrayView text)
{
    QByteArray out;
    out.reserve(text.size() + text.size() / 2);
    for (char c : text)
        appendUtf8(out, toCodePoint(static_cast<unsigned char>(c)));
    return out;
}

QByteArray fromUtf8(QByteArrayView utf8)
{
    if (isAscii(utf8))
        return utf8.toByteArray();
    return fromUnicode(QString::fromUtf8(utf8));
}

QByteArray fromUtf16(const char16_t *units, qsizetype count)
{
    return fromUnicode(QStringView(units, count));
}

} // namespace lexora::win1252
