#include "database/value_writer.h"

#include "database/win1252.h"
#include "support/error.h"
#include "support/system_error.h"

#include <QDir>
#include <QIODevice>

#include <cstring>

namespace lexora {
namespace {

constexpr qint64 kBufferSize = 64 * 1024;

template <class T>
void appendLittleEndian(char *out, T value)
{
    for (std::size_t i = 0; i < sizeof(T); ++i)
        out[i] = char((std::uint64_t(value) >> (8 * i)) & 0xFF);
}

} // namespace

ValueWriter::ValueWriter(QIODevice &device, QString fileName)
    : m_device(device), m_fileName(std::move(fileName)), m_buffer(kBufferSize, '\0')
{
}

void ValueWriter::write(const char *data, qint64 size)
{
    for (qint64 done = 0; done < size;) {
        const qint64 n = m_device.write(data + done, size - done);
        if (n <= 0)
            throw Error(Error::Kind::IoError, QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden: %2")
                            .arg(QDir::toNativeSeparators(m_fileName),
                                 germanErrorText(m_device.errorString())));
        done += n;
    }
}

void ValueWriter::flush()
{
    write(m_buffer.constData(), m_used);
    m_flushed += m_used;
    m_used = 0;
}

void ValueWriter::put(const void *data, qint64 size)
{
    if (m_used + size > kBufferSize) {
        flush();
        if (size > kBufferSize) {
            // Large blocks go straight to the device.
            write(static_cast<const char *>(data), size);
            m_flushed += size;
            return;
        }
    }
    std::memcpy(m_buffer.data() + m_used, data, std::size_t(size));
    m_used += size;
}

void ValueWriter::writeRaw(const void *data, qint64 size)
{
    if (size > 0)
        put(data, size);
}

void ValueWriter::writeTag(ValueTag tag)
{
    const char c = char(tag);
    put(&c, 1);
}

void ValueWriter::writeInteger(qint32 value)
{
    char bytes[5];
    if (value >= -128 && value <= 127) {
        bytes[0] = char(vaInt8);
        bytes[1] = char(value);
        put(bytes, 2);
    } else if (value >= -32768 && value <= 32767) {
        bytes[0] = char(vaInt16);
        appendLittleEndian(bytes + 1, quint16(value));
        put(bytes, 3);
    } else {
        bytes[0] = char(vaInt32);
        appendLittleEndian(bytes + 1, quint32(value));
        put(bytes, 5);
    }
}

void ValueWriter::writeString(const Text &text)
{
    char head[5];
    if (win1252::isAscii(text)) {
        if (text.size() < 256) {
            head[0] = char(vaString);
            head[1] = char(text.size());
            put(head, 2);
        } else {
            head[0] = char(vaLString);
            appendLittleEndian(head + 1, quint32(text.size()));
            put(head, 5);
        }
        writeRaw(text.constData(), text.size());
        return;
    }
    // Encoded straight into the buffer behind its header, whose length is filled in after.
    const qint64 room = 5 + 3 * text.size() + 3;
    if (room > kBufferSize) {
        const QByteArray utf8 = win1252::toUtf8(text);
        head[0] = char(vaUTF8String);
        appendLittleEndian(head + 1, quint32(utf8.size()));
        put(head, 5);
        writeRaw(utf8.constData(), utf8.size());
        return;
    }
    if (m_used + room > kBufferSize)
        flush();
    char *start = m_buffer.data() + m_used;
    const char *end = win1252::writeUtf8(text, start + 5);
    start[0] = char(vaUTF8String);
    appendLittleEndian(start + 1, quint32(end - start - 5));
    m_used = end - m_buffer.constData();
}

void ValueWriter::writeBoolean(bool value)
{
    writeTag(value ? vaTrue : vaFalse);
}

void ValueWriter::writeDate(DateTime value)
{
    char bytes[9];
    bytes[0] = char(vaDate);
    std::uint64_t bits;
    static_assert(sizeof bits == sizeof value);
    std::memcpy(&bits, &value, sizeof bits);
    appendLittleEndian(bytes + 1, bits);
    put(bytes, 9);
}

} // namespace lexora
