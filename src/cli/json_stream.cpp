#include "json_stream.h"

#include <QLocale>

#include <cstring>

namespace lexora::cli {
namespace {

char hexDigit(unsigned value)
{
    return char(value < 10 ? '0' + value : 'a' + value - 10);
}

// A string as JSON writes it: quotation mark, backslash and control characters escaped, the
// rest as UTF-8.
QByteArray quoted(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    QByteArray out;
    out.reserve(utf8.size() + 2);
    out += '"';
    for (const char c : utf8) {
        const auto u = static_cast<unsigned char>(c);
        switch (u) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (u < 0x20) {
                out += "\\u00";
                out += hexDigit(u >> 4);
                out += hexDigit(u & 0xF);
            } else {
                out += c;
            }
        }
    }
    out += '"';
    return out;
}

} // namespace

void JsonStream::put(const char *bytes, std::size_t size)
{
    std::fwrite(bytes, 1, size, m_out);
}

void JsonStream::put(const QByteArray &bytes)
{
    put(bytes.constData(), std::size_t(bytes.size()));
}

void JsonStream::beginValue()
{
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_counts.empty())
        return;
    if (m_counts.back()++ > 0)
        put(",\n", 2);
    put(QByteArray(4 * qsizetype(m_counts.size()), ' '));
}

void JsonStream::key(const char *name)
{
    beginValue();
    put(quoted(QString::fromLatin1(name)));
    put(": ", 2);
    m_afterKey = true;
}

void JsonStream::beginObject()
{
    beginValue();
    put("{\n", 2);
    m_counts.push_back(0);
}

void JsonStream::beginArray()
{
    beginValue();
    put("[\n", 2);
    m_counts.push_back(0);
}

void JsonStream::close(char bracket)
{
    if (m_counts.back() > 0)
        put("\n", 1);
    m_counts.pop_back();
    put(QByteArray(4 * qsizetype(m_counts.size()), ' '));
    put(&bracket, 1);
}

void JsonStream::endObject()
{
    close('}');
}

void JsonStream::endArray()
{
    close(']');
}

void JsonStream::value(const QString &text)
{
    beginValue();
    put(quoted(text));
}

void JsonStream::value(double number)
{
    beginValue();
    put(QByteArray::number(number, 'g', QLocale::FloatingPointShortest));
}

void JsonStream::value(int number)
{
    beginValue();
    put(QByteArray::number(number));
}

void JsonStream::value(bool flag)
{
    beginValue();
    put(flag ? QByteArray("true") : QByteArray("false"));
}

void JsonStream::null()
{
    beginValue();
    put("null", 4);
}

bool JsonStream::finish()
{
    put("\n", 1);
    return std::fflush(m_out) == 0 && !std::ferror(m_out);
}

} // namespace lexora::cli
