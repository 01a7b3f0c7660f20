#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Model text is Windows-1252, byte-exact. These are the only conversions between it and Unicode:
// every byte value maps to one code point and back (the five unassigned bytes 0x81, 0x8D, 0x8F,
// 0x90, 0x9D to U+0081, U+008D, U+008F, U+0090, U+009D), a 0x00 byte included.
namespace lexora::win1252 {

char16_t toCodePoint(unsigned char byte);
// The byte for a code point; '?' when Windows-1252 has no such character.
char fromCodePoint(char32_t codePoint);

QString toUnicode(QByteArrayView text);
QByteArray fromUnicode(QStringView text);
// The position of the first character of text that Windows-1252 lacks (fromUnicode would make
// it '?'), or -1 when it has them all.
qsizetype firstUnencodable(QStringView text);

QByteArray toUtf8(QByteArrayView text);
// Writes the UTF-8 form of text to out, which needs room for 3 * text.size() + 3 bytes (the
// last 3 as slack); returns the end of the UTF-8 bytes.
char *writeUtf8(QByteArrayView text, char *out);
QByteArray fromUtf8(QByteArrayView utf8);
// UTF-16 little-endian code units, as one older string form of the file format stores them.
QByteArray fromUtf16(const char16_t *units, qsizetype count);

// True when every byte is below 0x80, so the UTF-8 form equals the bytes themselves.
bool isAscii(QByteArrayView text);

} // namespace lexora::win1252
