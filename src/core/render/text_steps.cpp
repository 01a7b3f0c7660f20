#include "render/text_steps.h"

namespace lexora {
namespace {

bool lineBreaks(const Text &text, Text &out)
{
    qsizetype pair = findText(text, "\r\n", 0);
    if (pair < 0)
        return false;
    // The text as it stands is out followed by text from copied on; the neighbour before a
    // line break is therefore the last byte of out.
    prepareOutput(out, text.size());
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
    return true;
}

bool spacesAfter(const Text &text, QByteArrayView marker, Text &out)
{
    const Text place = marker.toByteArray() + ' ';
    TextRewriter rewriter(text, out);
    Text entities;
    for (qsizetype at = findText(text, place, 0); at >= 0;) {
        const qsizetype first = at + marker.size();
        qsizetype end = first;
        while (end < text.size() && text[end] == ' ')
            ++end;
        entities.clear();
        for (qsizetype i = first; i < end; ++i)
            entities += "&#160;";
        rewriter.replace(first, end, entities);
        at = findText(text, place, end);
    }
    return rewriter.finish();
}

} // namespace

void convertLineBreaks(RewrittenText &text)
{
    text.apply(lineBreaks);
}

void replaceEscapes(RewrittenText &text)
{
    text.replaceAll("%<%", "&lt;");
    text.replaceAll("%>%", "&gt;");
    text.replaceAll("%&%", "&amp;");
    text.replaceAll("%\"%", "&quot;");
}

void keepIndentation(RewrittenText &text)
{
    for (const char *marker : {"<br>", "\t"})
        text.apply([marker](const Text &in, Text &out) { return spacesAfter(in, marker, out); });
}

} // namespace lexora
