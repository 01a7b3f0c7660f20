#include "render/text_steps.h"

namespace lexora {
namespace {

bool lineBreaks(const Text &text, Text &out, PageBudget *budget)
{
    TextRewriter rewriter(text, out, budget);
    // A "_" before a line break counts only where it is still in the text: the one after the
    // line break before has been removed already.
    qsizetype copied = 0;
    for (qsizetype pair = findText(text, "\r\n", 0); pair >= 0 && !rewriter.isCut();
         pair = findText(text, "\r\n", copied)) {
        if (pair > copied && text[pair - 1] == '_') {
            rewriter.replace(pair - 1, pair + 2, "\r\n");
            copied = pair + 2;
        } else if (pair + 2 < text.size() && text[pair + 2] == '_') {
            rewriter.replace(pair, pair + 3, "\r\n");
            copied = pair + 3;
        } else {
            rewriter.replace(pair, pair + 2, "<br>");
            copied = pair + 2;
        }
    }
    return rewriter.finish();
}

bool spacesAfter(const Text &text, QByteArrayView marker, Text &out, PageBudget *budget)
{
    const Text place = marker.toByteArray() + ' ';
    TextRewriter rewriter(text, out, budget);
    for (qsizetype at = findText(text, place, 0); at >= 0 && !rewriter.isCut();) {
        qsizetype end = at + marker.size();
        // One space at a time, so that a long run costs no text of its own.
        for (; end < text.size() && text[end] == ' '; ++end)
            rewriter.replace(end, end + 1, "&#160;");
        at = findText(text, place, end);
    }
    return rewriter.finish();
}

} // namespace

void convertLineBreaks(RewrittenText &text)
{
    text.apply([&text](const Text &in, Text &out) { return lineBreaks(in, out, text.budget()); });
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
        text.apply([&text, marker](const Text &in, Text &out) {
            return spacesAfter(in, marker, out, text.budget());
        });
}

} // namespace lexora
