#include "render/text_steps.h"

#include "render/text_rewrite.h"

namespace lexora {

Text convertLineBreaks(const Text &text)
{
    qsizetype pair = findText(text, "\r\n", 0);
    if (pair < 0)
        return text;
    // The text as it stands is out followed by text from copied on; the neighbour before a
    // line break is therefore the last byte of out.
    Text out;
    out.reserve(text.size() + text.size() / 4);
    qsizetype copied = 0;
    for (; pair >= 0; pair = findText(text, "\r\n", copied)) {
        out.append(text.constData() + copied, pair - copied);
        copied = pair + 2;
        if (!out.isEmpty() && out.back() == '_') {
            out.back() = '\r';
            out += '\n';
        } else if (copied < text.size() && text[copied] == '_') {
            out += "\r\n";
            ++copied;
        } else {
            out += "<br>";
        }
    }
    out.append(text.constData() + copied, text.size() - copied);
    return out;
}

Text replaceEscapes(const Text &text)
{
    Text out = replaceAll(text, "%<%", "&lt;");
    out = replaceAll(out, "%>%", "&gt;");
    out = replaceAll(out, "%&%", "&amp;");
    return replaceAll(out, "%\"%", "&quot;");
}

namespace {

Text spacesAfter(const Text &text, QByteArrayView marker)
{
    const Text place = marker.toByteArray() + ' ';
    TextRewriter out(text);
    Text entities;
    for (qsizetype at = findText(text, place, 0); at >= 0;) {
        const qsizetype first = at + marker.size();
        qsizetype end = first;
        while (end < text.size() && text[end] == ' ')
            ++end;
        entities.clear();
        for (qsizetype i = first; i < end; ++i)
            entities += "&#160;";
        out.replace(first, end, entities);
        at = findText(text, place, end);
    }
    return out.finish();
}

} // namespace

Text keepIndentation(const Text &text)
{
    return spacesAfter(spacesAfter(text, "<br>"), "\t");
}

} // namespace lexora
