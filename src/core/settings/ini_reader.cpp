#include "settings/ini_reader.h"

#include "database/win1252.h"

#include <QStringDecoder>

namespace lexora {

namespace {

QStringView unquote(QStringView value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'')
        && value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

} // namespace

QString decodeIniText(QByteArray bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return win1252::toUnicode(bytes);
    return text;
}

IniReader::IniReader(const QString &text)
{
    QString section;
    for (QStringView line : QStringView(text).split(u'\n')) {
        line = line.trimmed();
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            section =
                (close < 0 ? line.mid(1) : line.mid(1, close - 1)).trimmed().toString().toLower();
            m_sections.insert(section);
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0 || line.startsWith(u';'))
            continue;
        const QString key = section + u'\n' + line.left(eq).trimmed().toString().toLower();
        if (!m_values.contains(key))
            m_values.insert(key, line.mid(eq + 1).trimmed().toString());
    }
}

bool IniReader::hasSection(const QString &section) const
{
    return m_sections.contains(section.toLower());
}

std::optional<QString> IniReader::value(const QString &section, const QString &key) const
{
    const std::optional<QString> raw = rawValue(section, key);
    if (!raw)
        return std::nullopt;
    return unquote(*raw).toString();
}

std::optional<QString> IniReader::rawValue(const QString &section, const QString &key) const
{
    const auto it = m_values.constFind(section.toLower() + u'\n' + key.toLower());
    if (it == m_values.constEnd())
        return std::nullopt;
    return *it;
}

QString IniReader::readString(const QString &section, const QString &key, const QString &def) const
{
    return value(section, key).value_or(def);
}

qint64 IniReader::readInteger(const QString &section, const QString &key, qint64 def) const
{
    const std::optional<QString> text = value(section, key);
    if (!text)
        return def;
    bool ok = false;
    qint64 result = 0;
    if (text->startsWith(u'$') || text->startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        const quint32 bits = text->mid(text->startsWith(u'$') ? 1 : 2).toUInt(&ok, 16);
        result = qint32(bits);
    } else {
        result = text->toInt(&ok, 10);
    }
    return ok ? result : def;
}

int IniReader::readInt(const QString &section, const QString &key, int def) const
{
    return int(readInteger(section, key, def));
}

bool IniReader::readBool(const QString &section, const QString &key, bool def) const
{
    return readInteger(section, key, def ? 1 : 0) != 0;
}

quint8 IniReader::readByte(const QString &section, const QString &key, quint8 def) const
{
    const qint64 v = readInteger(section, key, def);
    return v >= 0 && v <= 255 ? quint8(v) : def;
}

} // namespace lexora
