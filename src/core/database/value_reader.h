#pragma once

#include "database/model.h"
#include "database/value_tags.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class QIODevice;

namespace lexora {

// Reads the typed values of a database file from a device through a buffer. The file is
// untrusted: a value that does not fit, a length beyond what the file still holds or an early
// end throws Error naming the file, and nothing is allocated beyond the file's size.
class ValueReader {
public:
    // fileName is only used in error messages.
    ValueReader(QIODevice &device, QString fileName);
    ValueReader(const ValueReader &) = delete;
    ValueReader &operator=(const ValueReader &) = delete;

    void readRaw(void *data, qint64 size);
    void skipRaw(qint64 size);

    // The tag of the next value, not consumed.
    ValueTag peekTag();
    qint32 readInteger();
    // Any of the four string forms, as Windows-1252 bytes.
    Text readString();
    // vaTrue is true, every other tag false.
    bool readBoolean();
    // vaDate or an Integer.
    DateTime readDate();
    void readListBegin();
    // Consumes the vaNull that ends a list and returns true, or returns false at a value.
    bool endOfList();
    // Reads past one value of any kind, a whole list included.
    void skipValue();

    qint64 position() const { return m_consumed - (m_end - m_pos); }
    qint64 remaining() const { return m_size - position(); }

    // Throws the error for a damaged file with this detail.
    [[noreturn]] void fail(const QString &detail) const;

private:
    void need(qint64 size);
    // Up to max raw bytes straight from the buffer (at least one); valid until the next read.
    QByteArrayView readRawChunk(qint64 max);
    quint8 takeByte();
    ValueTag takeTag();
    // A length or size field: not negative and not beyond the rest of the file.
    qint64 checkedLength(qint64 length, qint64 unitSize);
    template <class T> T takeLittleEndian();

    QIODevice &m_device;
    QString m_fileName;
    QByteArray m_buffer;
    qint64 m_pos = 0;      // next byte in m_buffer
    qint64 m_end = 0;      // end of the valid bytes in m_buffer
    qint64 m_consumed = 0; // bytes taken from the device so far
    qint64 m_size = 0;     // size of the whole file
};

} // namespace lexora
