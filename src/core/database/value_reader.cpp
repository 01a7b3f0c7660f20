#include "database/value_reader.h"

#include "database/win1252.h"
#include "support/error.h"

#include <QIODevice>

#include <cmath>
#include <cstring>

namespace lexora {
namespace {

constexpr qint64 kBufferSize = 64 * 1024;

// The range of dates the program can show: 01.01.0001 to 31.12.9999.
constexpr double kMinDate = -693593.0;
constexpr double kMaxDate = 2958466.0;

bool isKnownTag(quint8 tag)
{
    switch (tag) {
    case vaNull: case vaList: case vaInt8: case vaInt16: case vaInt32: case vaString:
    case vaFalse: case vaTrue: case vaLString: case vaDate: case vaWString: case vaUTF8String:
        return true;
    default:
        return false;
    }
}

QString hexTag(quint8 tag)
{
    return QStringLiteral("0x%1").arg(tag, 2, 16, QLatin1Char('0'));
}

} // namespace

ValueReader::ValueReader(QIODevice &device, QString fileName)
    : m_device(device), m_fileName(std::move(fileName)), m_buffer(kBufferSize, '\0'),
      m_consumed(device.pos()), m_size(device.size())
{
}

void ValueReader::fail(const QString &detail) const
{
    throw Error(Error::Kind::Corrupt, QStringLiteral("Die Datei \"%1\" ist beschädigt: %2 (bei Byte %3).")
                    .arg(m_fileName, detail)
                    .arg(position()));
}

void ValueReader::need(qint64 size)
{
    if (m_end - m_pos >= size)
        return;
    if (size > remaining())
        fail(QStringLiteral("sie endet vorzeitig"));
    const qint64 left = m_end - m_pos;
    std::memmove(m_buffer.data(), m_buffer.constData() + m_pos, std::size_t(left));
    m_pos = 0;
    m_end = left;
    while (m_end < size) {
        const qint64 n = m_device.read(m_buffer.data() + m_end, kBufferSize - m_end);
        if (n <= 0)
            throw Error(Error::Kind::IoError, QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden: %2")
                            .arg(m_fileName, m_device.errorString()));
        m_end += n;
        m_consumed += n;
    }
}

void ValueReader::readRaw(void *data, qint64 size)
{
    if (size > remaining())
        fail(QStringLiteral("sie endet vorzeitig"));
    char *out = static_cast<char *>(data);
    const qint64 buffered = std::min(size, m_end - m_pos);
    std::memcpy(out, m_buffer.constData() + m_pos, std::size_t(buffered));
    m_pos += buffered;
    out += buffered;
    size -= buffered;
    // Large blocks (included files' bytes) come straight from the device.
    while (size >= kBufferSize) {
        const qint64 n = m_device.read(out, size);
        if (n <= 0)
            throw Error(Error::Kind::IoError, QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden: %2")
                            .arg(m_fileName, m_device.errorString()));
        m_consumed += n;
        out += n;
        size -= n;
    }
    while (size > 0) {
        const QByteArrayView chunk = readRawChunk(size);
        std::memcpy(out, chunk.data(), std::size_t(chunk.size()));
        out += chunk.size();
        size -= chunk.size();
    }
}

QByteArrayView ValueReader::readRawChunk(qint64 max)
{
    if (m_pos == m_end)
        need(1);
    const qint64 n = std::min(max, m_end - m_pos);
    const QByteArrayView chunk(m_buffer.constData() + m_pos, n);
    m_pos += n;
    return chunk;
}

void ValueReader::skipRaw(qint64 size)
{
    if (size > remaining())
        fail(QStringLiteral("sie endet vorzeitig"));
    const qint64 buffered = std::min(size, m_end - m_pos);
    m_pos += buffered;
    size -= buffered;
    if (size > 0) {
        if (!m_device.seek(m_consumed + size))
            throw Error(Error::Kind::IoError, QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden: %2")
                            .arg(m_fileName, m_device.errorString()));
        m_consumed += size;
        m_pos = m_end = 0;
    }
}

quint8 ValueReader::takeByte()
{
    need(1);
    return quint8(m_buffer[m_pos++]);
}

template <class T>
T ValueReader::takeLittleEndian()
{
    need(sizeof(T));
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
        value |= std::uint64_t(quint8(m_buffer[m_pos + qint64(i)])) << (8 * i);
    m_pos += qint64(sizeof(T));
    return T(value);
}

ValueTag ValueReader::takeTag()
{
    const quint8 tag = takeByte();
    if (!isKnownTag(tag)) {
        --m_pos;
        fail(QStringLiteral("unbekannter Werttyp %1").arg(hexTag(tag)));
    }
    return ValueTag(tag);
}

ValueTag ValueReader::peekTag()
{
    const ValueTag tag = takeTag();
    --m_pos;
    return tag;
}

qint64 ValueReader::checkedLength(qint64 length, qint64 unitSize)
{
    if (length < 0 || length > remaining() / unitSize)
        fail(QStringLiteral("ungültige Länge %1").arg(length));
    return length;
}

qint32 ValueReader::readInteger()
{
    const ValueTag tag = takeTag();
    switch (tag) {
    case vaInt8:
        return qint8(takeByte());
    case vaInt16:
        return takeLittleEndian<qint16>();
    case vaInt32:
        return takeLittleEndian<qint32>();
    default:
        --m_pos;
        fail(QStringLiteral("an dieser Stelle wird eine Zahl erwartet, nicht Werttyp %1")
                 .arg(hexTag(tag)));
    }
}

Text ValueReader::readString()
{
    const ValueTag tag = takeTag();
    qint64 length = 0;
    switch (tag) {
    case vaString:
        length = takeByte();
        break;
    case vaLString:
    case vaUTF8String:
        length = takeLittleEndian<qint32>();
        break;
    case vaWString: {
        const qint64 count = checkedLength(takeLittleEndian<qint32>(), 2);
        std::u16string units(std::size_t(count), u'\0');
        for (char16_t &unit : units)
            unit = takeLittleEndian<quint16>();
        return win1252::fromUtf16(units.data(), count);
    }
    default:
        --m_pos;
        fail(QStringLiteral("an dieser Stelle wird eine Zeichenkette erwartet, nicht Werttyp %1")
                 .arg(hexTag(tag)));
    }
    length = checkedLength(length, 1);
    if (tag == vaUTF8String && length <= kBufferSize) {
        // Decoded where it lies in the buffer, without a copy of its UTF-8 form.
        need(length);
        const QByteArrayView utf8(m_buffer.constData() + m_pos, length);
        m_pos += length;
        return win1252::fromUtf8(utf8);
    }
    QByteArray bytes(length, Qt::Uninitialized);
    readRaw(bytes.data(), bytes.size());
    return tag == vaUTF8String ? win1252::fromUtf8(bytes) : bytes;
}

bool ValueReader::readBoolean()
{
    return takeTag() == vaTrue;
}

DateTime ValueReader::readDate()
{
    double value = 0;
    if (peekTag() == vaDate) {
        ++m_pos;
        const std::uint64_t bits = takeLittleEndian<std::uint64_t>();
        std::memcpy(&value, &bits, sizeof value);
    } else {
        const ValueTag tag = peekTag();
        if (tag != vaInt8 && tag != vaInt16 && tag != vaInt32)
            fail(QStringLiteral("an dieser Stelle wird ein Datum erwartet, nicht Werttyp %1")
                     .arg(hexTag(tag)));
        value = readInteger();
    }
    if (!std::isfinite(value) || value < kMinDate || value >= kMaxDate)
        fail(QStringLiteral("ungültiges Datum"));
    return value;
}

void ValueReader::readListBegin()
{
    const ValueTag tag = takeTag();
    if (tag != vaList) {
        --m_pos;
        fail(QStringLiteral("an dieser Stelle wird eine Liste erwartet, nicht Werttyp %1")
                 .arg(hexTag(tag)));
    }
}

bool ValueReader::endOfList()
{
    if (peekTag() != vaNull)
        return false;
    ++m_pos;
    return true;
}

void ValueReader::skipValue()
{
    // Iterative, so that a deeply nested list cannot exhaust the stack.
    qint64 openLists = 0;
    do {
        const ValueTag tag = takeTag();
        switch (tag) {
        case vaNull:
            if (openLists == 0) {
                --m_pos;
                fail(QStringLiteral("an dieser Stelle wird ein Wert erwartet, nicht das Ende einer Liste"));
            }
            --openLists;
            break;
        case vaList: ++openLists; break;
        case vaInt8: skipRaw(1); break;
        case vaInt16: skipRaw(2); break;
        case vaInt32: skipRaw(4); break;
        case vaString: skipRaw(takeByte()); break;
        case vaFalse: case vaTrue: break;
        case vaLString: case vaUTF8String:
            skipRaw(checkedLength(takeLittleEndian<qint32>(), 1));
            break;
        case vaWString: skipRaw(2 * checkedLength(takeLittleEndian<qint32>(), 2)); break;
        case vaDate: skipRaw(8); break;
        }
    } while (openLists > 0);
}

} // namespace lexora
