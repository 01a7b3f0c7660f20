#pragma once

#include "database/model.h"
#include "database/value_tags.h"

#include <QByteArray>
#include <QString>

class QIODevice;

namespace lexora {

// Writes the typed values of a database file to a device through a buffer. Write failures
// throw Error naming the file.
class ValueWriter {
public:
    // fileName is only used in error messages.
    explicit ValueWriter(QIODevice &device, QString fileName = {});
    ValueWriter(const ValueWriter &) = delete;
    ValueWriter &operator=(const ValueWriter &) = delete;

    void writeRaw(const void *data, qint64 size);
    void writeTag(ValueTag tag);
    // The smallest of vaInt8, vaInt16, vaInt32 that holds the value.
    void writeInteger(qint32 value);
    // vaString / vaLString when every byte is below 0x80, otherwise vaUTF8String.
    void writeString(const Text &text);
    void writeBoolean(bool value);
    void writeDate(DateTime value);
    void writeListBegin() { writeTag(vaList); }
    void writeListEnd() { writeTag(vaNull); }

    // Hands the buffered bytes to the device.
    void flush();
    // Bytes written so far, buffered ones included.
    qint64 position() const { return m_flushed + m_used; }

private:
    void put(const void *data, qint64 size);
    void write(const char *data, qint64 size);

    QIODevice &m_device;
    QString m_fileName;
    QByteArray m_buffer;
    qint64 m_used = 0;
    qint64 m_flushed = 0;
};

} // namespace lexora
