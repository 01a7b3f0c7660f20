#pragma once

#include <QByteArray>
#include <QByteArrayView>

class QIODevice;

namespace lexora {

// Writes Windows-1252 text to a device in lines ended by carriage return + line feed, each
// indented by tabs. Output is gathered in a large buffer, so many short lines cost one device
// write per buffer. A failed write throws Error.
class LineWriter {
public:
    explicit LineWriter(QIODevice &device);
    LineWriter(const LineWriter &) = delete;
    LineWriter &operator=(const LineWriter &) = delete;

    // level tabs, the text, CR LF.
    void line(int level, QByteArrayView text);
    // The text as it is, without indentation or line end.
    void raw(QByteArrayView text);
    // Hands everything written so far to the device.
    void flush();

    // Bytes written through this writer so far.
    qint64 written() const { return m_written; }

private:
    void flushIfFull();

    QIODevice &m_device;
    QByteArray m_buffer;
    qint64 m_written = 0;
};

} // namespace lexora
