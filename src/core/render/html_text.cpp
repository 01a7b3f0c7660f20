#include "render/html_text.h"

#include <QLatin1StringView>

#include <algorithm>

namespace lexora {
namespace {

// The character reference that stands for a character, nullptr where it stays. Only ASCII
// characters have one, so the same table serves Windows-1252 bytes and UTF-16 code units.
const char *reference(char16_t c)
{
    switch (c) {
    case u'&': return "&amp;";
    case u'<': return "&lt;";
    case u'>': return "&gt;";
    case u'"': return "&quot;";
    default: return nullptr;
    }
}

char16_t codeUnit(char c) { return static_cast<unsigned char>(c); }
char16_t codeUnit(QChar c) { return c.unicode(); }

void appendReference(Text &out, const char *ref) { out.append(ref); }
void appendReference(QString &out, const char *ref) { out.append(QLatin1StringView(ref)); }

template <class String>
String escaped(const String &text)
{
    const auto needsReference = [](auto c) { return reference(codeUnit(c)) != nullptr; };
    auto next = std::find_if(text.begin(), text.end(), needsReference);
    // Most texts hold none of the four, and a shared copy of them costs nothing.
    if (next == text.end())
        return text;
    String out;
    out.reserve(text.size() + text.size() / 4 + 8);
    auto done = text.begin();
    while (next != text.end()) {
        out.append(done, next - done);
        appendReference(out, reference(codeUnit(*next)));
        done = next + 1;
        next = std::find_if(done, text.end(), needsReference);
    }
    out.append(done, next - done);
    return out;
}

} // namespace

Text escapeHtml(const Text &text)
{
    return escaped(text);
}

QString escapeHtml(const QString &text)
{
    return escaped(text);
}

} // namespace lexora
