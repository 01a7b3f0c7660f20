#pragma once

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>

#include <optional>

namespace lexora {

// The text of an INI file: a UTF-8 byte order mark is dropped; bytes that are not UTF-8 are
// taken as Windows-1252, as a file written on Windows would be.
QString decodeIniText(QByteArray bytes);

// The key/value pairs of an INI text, looked up like Windows does: sections and keys without
// regard to case, the first of equal keys wins, a value in matching quotes loses them.
class IniReader {
public:
    explicit IniReader(const QString &text);

    bool hasSection(const QString &section) const;
    std::optional<QString> value(const QString &section, const QString &key) const;
    // The value as written, quotes and all (for values with a quoting of their own).
    std::optional<QString> rawValue(const QString &section, const QString &key) const;
    QString readString(const QString &section, const QString &key, const QString &def) const;
    // Decimal, or hexadecimal after "0x" or "$" (32 bits, as Windows writes colours); anything
    // else gives the default.
    qint64 readInteger(const QString &section, const QString &key, qint64 def) const;
    int readInt(const QString &section, const QString &key, int def) const;
    bool readBool(const QString &section, const QString &key, bool def) const;
    quint8 readByte(const QString &section, const QString &key, quint8 def) const;

private:
    QHash<QString, QString> m_values;
    QSet<QString> m_sections;
};

} // namespace lexora
