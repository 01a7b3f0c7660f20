#pragma once

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <vector>

namespace lexora::cli {

// Writes JSON to a file as it goes, in the indented form QJsonDocument gives (four spaces per
// level, "key": value, an empty container as "[", a line break and "]"), so that a dump of
// millions of nodes needs no document in memory. The caller writes an object's keys in the
// order QJsonObject keeps them: sorted.
class JsonStream {
public:
    explicit JsonStream(FILE *out) : m_out(out) {}
    // Ends the document with its line break and flushes; false when writing failed.
    bool finish();

    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    // The key of the next value in an object.
    void key(const char *name);

    void value(const QString &text);
    void value(double number);
    void value(int number);
    void value(bool flag);
    void null();

private:
    void beginValue();
    void close(char bracket);
    void put(const QByteArray &bytes);
    void put(const char *bytes, std::size_t size);

    FILE *m_out;
    std::vector<int> m_counts; // the values written so far on each open level
    bool m_afterKey = false;
};

} // namespace lexora::cli
