#include "render/text_rewrite.h"

#include <cstring>

namespace lexora {

qsizetype findText(QByteArrayView text, QByteArrayView needle, qsizetype from)
{
    if (from < 0 || from > text.size() || needle.size() > text.size() - from)
        return -1;
    if (needle.isEmpty())
        return from;
    // glibc's memmem is much faster than a general search for the short needles used here.
    const void *hit = ::memmem(text.data() + from, std::size_t(text.size() - from), needle.data(),
                               std::size_t(needle.size()));
    return hit ? static_cast<const char *>(hit) - text.data() : -1;
}

void TextRewriter::replace(qsizetype start, qsizetype end, QByteArrayView value)
{
    if (!m_changed) {
        m_output.reserve(m_input.size() + value.size());
        m_changed = true;
    }
    m_output.append(m_input.constData() + m_copied, start - m_copied);
    m_output.append(value);
    m_copied = end;
}

Text TextRewriter::finish()
{
    if (!m_changed)
        return m_input;
    m_output.append(m_input.constData() + m_copied, m_input.size() - m_copied);
    return std::move(m_output);
}

Text replaceAll(const Text &text, QByteArrayView needle, QByteArrayView value)
{
    TextRewriter out(text);
    for (qsizetype at = findText(text, needle, 0); at >= 0;
         at = findText(text, needle, at + needle.size()))
        out.replace(at, at + needle.size(), value);
    return out.finish();
}

} // namespace lexora
