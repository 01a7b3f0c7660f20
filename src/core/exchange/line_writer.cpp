#include "exchange/line_writer.h"

#include "support/error.h"

#include <QIODevice>

namespace lexora {
namespace {

constexpr qsizetype kBufferSize = 256 * 1024;

} // namespace

LineWriter::LineWriter(QIODevice &device) : m_device(device)
{
    m_buffer.reserve(kBufferSize + 4096);
}

void LineWriter::line(int level, QByteArrayView text)
{
    m_buffer.append(qsizetype(level), '\t');
    m_buffer.append(text);
    m_buffer.append("\r\n", 2);
    m_written += level + text.size() + 2;
    flushIfFull();
}

void LineWriter::raw(QByteArrayView text)
{
    if (text.size() >= kBufferSize) {
        // A large page goes to the device directly instead of through the buffer.
        flush();
        if (m_device.write(text.data(), text.size()) != text.size())
            throw Error(Error::Kind::IoError, m_device.errorString());
    } else {
        m_buffer.append(text);
        flushIfFull();
    }
    m_written += text.size();
}

void LineWriter::flush()
{
    if (m_buffer.isEmpty())
        return;
    if (m_device.write(m_buffer) != m_buffer.size())
        throw Error(Error::Kind::IoError, m_device.errorString());
    m_buffer.resize(0);
}

void LineWriter::flushIfFull()
{
    if (m_buffer.size() >= kBufferSize)
        flush();
}

} // namespace lexora
