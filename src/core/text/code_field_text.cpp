#include "text/code_field_text.h"

#include "database/win1252.h"

namespace lexora {

namespace {

void appendReference(Text &out, char32_t codePoint)
{
    out += "&#";
    out += QByteArray::number(quint32(codePoint));
    out += ';';
}

} // namespace

Text codeFromField(QStringView fieldText)
{
    Text out;
    out.reserve(fieldText.size() + fieldText.size() / 16);
    const qsizetype n = fieldText.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t unit = fieldText[i].unicode();
        if (unit < 0x80 && unit != u'\n') {
            out += char(unit);
            continue;
        }
        if (unit == u'\n' || unit == QChar::ParagraphSeparator || unit == QChar::LineSeparator) {
            out += "\r\n";
            continue;
        }
        char32_t codePoint = unit;
        if (QChar::isHighSurrogate(unit) && i + 1 < n && fieldText[i + 1].isLowSurrogate()) {
            codePoint = QChar::surrogateToUcs4(unit, fieldText[i + 1].unicode());
            ++i;
        } else if (QChar::isSurrogate(unit)) {
            codePoint = QChar::ReplacementCharacter;
        }
        const char byte = win1252::fromCodePoint(codePoint);
        if (byte == '?')
            appendReference(out, codePoint);
        else
            out += byte;
    }
    return out;
}

QString codeForField(const Text &code)
{
    QString text = win1252::toUnicode(code);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

} // namespace lexora
