#include "settings/settings.h"

#include "database/win1252.h"
#include "support/error.h"

#include <QFile>
#include <QHash>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>
#include <optional>

namespace lexora {

namespace {

// The key/value pairs of an INI text, looked up like Windows does: sections and keys without
// regard to case, the first of equal keys wins, a value in matching quotes loses them.
class IniReader {
public:
    explicit IniReader(const QString &text)
    {
        QString section;
        for (QStringView line : QStringView(text).split(u'\n')) {
            line = line.trimmed();
            if (line.startsWith(u'[')) {
                const qsizetype close = line.indexOf(u']');
                section = (close < 0 ? line.mid(1) : line.mid(1, close - 1)).trimmed().toString().toLower();
                continue;
            }
            const qsizetype eq = line.indexOf(u'=');
            if (eq <= 0 || line.startsWith(u';'))
                continue;
            const QString key = section + u'\n' + line.left(eq).trimmed().toString().toLower();
            if (!m_values.contains(key))
                m_values.insert(key, unquote(line.mid(eq + 1).trimmed()).toString());
        }
    }

    std::optional<QString> value(const QString &section, const QString &key) const
    {
        const auto it = m_values.constFind(section.toLower() + u'\n' + key.toLower());
        if (it == m_values.constEnd())
            return std::nullopt;
        return *it;
    }

    QString readString(const QString &section, const QString &key, const QString &def) const
    {
        return value(section, key).value_or(def);
    }

    // Decimal, or hexadecimal after "0x" or "$" (32 bits, as Windows writes colours); anything
    // else gives the default.
    qint64 readInteger(const QString &section, const QString &key, qint64 def) const
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

    int readInt(const QString &section, const QString &key, int def) const
    {
        return int(readInteger(section, key, def));
    }

    bool readBool(const QString &section, const QString &key, bool def) const
    {
        return readInteger(section, key, def ? 1 : 0) != 0;
    }

    quint8 readByte(const QString &section, const QString &key, quint8 def) const
    {
        const qint64 v = readInteger(section, key, def);
        return v >= 0 && v <= 255 ? quint8(v) : def;
    }

private:
    static QStringView unquote(QStringView value)
    {
        if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'')
            && value.back() == value.front())
            return value.mid(1, value.size() - 2);
        return value;
    }

    QHash<QString, QString> m_values;
};

QString decode(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return win1252::toUnicode(bytes);
    return text;
}

FontSetting readFont(const IniReader &ini, const QString &section, const FontSetting &def)
{
    FontSetting f;
    f.Name = ini.readString(section, QStringLiteral("Name"), def.Name);
    f.Size = ini.readInt(section, QStringLiteral("Size"), def.Size);
    f.Color = qint32(ini.readInteger(section, QStringLiteral("Color"), def.Color));
    f.Bold = ini.readBool(section, QStringLiteral("Bold"), def.Bold);
    f.Italic = ini.readBool(section, QStringLiteral("Italic"), def.Italic);
    f.Underline = ini.readBool(section, QStringLiteral("Underline"), def.Underline);
    f.StrikeOut = ini.readBool(section, QStringLiteral("StrikeOut"), def.StrikeOut);
    return f;
}

// Writes the sections in the order of first use, each key in the order written.
class IniWriter {
public:
    void section(const char *name)
    {
        if (!m_out.isEmpty())
            m_out += '\n';
        m_out += '[';
        m_out += name;
        m_out += "]\n";
    }
    void write(const QString &key, const QString &value)
    {
        m_out += key.toUtf8();
        m_out += '=';
        m_out += quoted(value).toUtf8();
        m_out += '\n';
    }
    void write(const QString &key, qint64 value) { write(key, QString::number(value)); }
    void write(const QString &key, bool value) { write(key, QString(value ? u'1' : u'0')); }
    void write(const QString &key, int value) { write(key, qint64(value)); }
    const QByteArray &bytes() const { return m_out; }

private:
    // A value that the reader would trim or unquote is written in quotes, so it reads back as it
    // was. A line break cannot be kept in an INI value: such a value is written empty.
    static QString quoted(const QString &value)
    {
        if (value.contains(u'\n') || value.contains(u'\r'))
            return {};
        if (value.isEmpty())
            return value;
        const bool quotes = value.front().isSpace() || value.back().isSpace()
                            || ((value.front() == u'"' || value.front() == u'\'')
                                && value.size() >= 2 && value.back() == value.front());
        return quotes ? u'"' + value + u'"' : value;
    }

    QByteArray m_out;
};

void writeFont(IniWriter &ini, const char *section, const FontSetting &f)
{
    ini.section(section);
    ini.write(QStringLiteral("Name"), f.Name);
    ini.write(QStringLiteral("Size"), f.Size);
    ini.write(QStringLiteral("Color"), qint64(f.Color));
    ini.write(QStringLiteral("Bold"), f.Bold);
    ini.write(QStringLiteral("Italic"), f.Italic);
    ini.write(QStringLiteral("Underline"), f.Underline);
    ini.write(QStringLiteral("StrikeOut"), f.StrikeOut);
}

QString criteriumKey(int level, bool mode)
{
    return QStringLiteral("Criterium%1%2").arg(level).arg(mode ? QStringLiteral("Mode") : QString());
}

} // namespace

Settings loadSettings(const QString &path, const Settings &defaults)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return defaults;
    QByteArray bytes = file.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    const IniReader ini(decode(bytes));

    const QString view = QStringLiteral("View");
    Settings s;
    s.F1_Info = ini.readBool(view, QStringLiteral("F1_Info"), defaults.F1_Info);
    s.F2_Wrap = ini.readBool(view, QStringLiteral("F2_Wrap"), defaults.F2_Wrap);
    s.F3_Wrap = ini.readBool(view, QStringLiteral("F3_Wrap"), defaults.F3_Wrap);
    s.TabStop = ini.readInt(view, QStringLiteral("TabStop"), defaults.TabStop);
    s.F1_LeftArea = ini.readInt(view, QStringLiteral("F1_LeftArea"), defaults.F1_LeftArea);
    s.F2_RightArea = ini.readInt(view, QStringLiteral("F2_RightArea"), defaults.F2_RightArea);
    s.F1_Width = ini.readInt(view, QStringLiteral("F1_Width"), defaults.F1_Width);
    s.F1_Height = ini.readInt(view, QStringLiteral("F1_Height"), defaults.F1_Height);
    s.F1_Maximized = ini.readBool(view, QStringLiteral("F1_Maximized"), defaults.F1_Maximized);
    s.F2_Width = ini.readInt(view, QStringLiteral("F2_Width"), defaults.F2_Width);
    s.F2_Height = ini.readInt(view, QStringLiteral("F2_Height"), defaults.F2_Height);
    s.F2_Maximized = ini.readBool(view, QStringLiteral("F2_Maximized"), defaults.F2_Maximized);
    s.F2_Font = readFont(ini, QStringLiteral("F2_Font"), defaults.F2_Font);
    s.F3_Font = readFont(ini, QStringLiteral("F3_Font"), defaults.F3_Font);

    const QString settings = QStringLiteral("Settings");
    s.DefTemplate = ini.readString(settings, QStringLiteral("DefTemplate"), defaults.DefTemplate);
    s.OpenLast = ini.readBool(settings, QStringLiteral("OpenLast"), defaults.OpenLast);
    s.LastFile = ini.readString(settings, QStringLiteral("LastFile"), defaults.LastFile);

    // More levels than the sort window offers cannot be shown or edited there.
    const QString sort = QStringLiteral("SortCriteriums");
    s.CountSortCriteriums = int(std::clamp<qint64>(
        ini.readInteger(sort, QStringLiteral("CountSortCriteriums"), defaults.CountSortCriteriums),
        0, int(s.SortCriteriums.size())));
    s.SortCriteriums = defaults.SortCriteriums;
    for (int n = 1; n <= s.CountSortCriteriums; ++n) {
        SortCriterium &level = s.SortCriteriums[std::size_t(n - 1)];
        level.Criterium = ini.readByte(sort, criteriumKey(n, false), level.Criterium);
        level.Mode = ini.readByte(sort, criteriumKey(n, true), level.Mode);
    }
    return s;
}

void saveSettings(const QString &path, const Settings &s)
{
    IniWriter ini;
    ini.section("View");
    ini.write(QStringLiteral("F1_Info"), s.F1_Info);
    ini.write(QStringLiteral("F2_Wrap"), s.F2_Wrap);
    ini.write(QStringLiteral("F3_Wrap"), s.F3_Wrap);
    ini.write(QStringLiteral("TabStop"), s.TabStop);
    ini.write(QStringLiteral("F1_LeftArea"), s.F1_LeftArea);
    ini.write(QStringLiteral("F2_RightArea"), s.F2_RightArea);
    ini.write(QStringLiteral("F1_Width"), s.F1_Width);
    ini.write(QStringLiteral("F1_Height"), s.F1_Height);
    ini.write(QStringLiteral("F1_Maximized"), s.F1_Maximized);
    ini.write(QStringLiteral("F2_Width"), s.F2_Width);
    ini.write(QStringLiteral("F2_Height"), s.F2_Height);
    ini.write(QStringLiteral("F2_Maximized"), s.F2_Maximized);
    writeFont(ini, "F2_Font", s.F2_Font);
    writeFont(ini, "F3_Font", s.F3_Font);
    ini.section("Settings");
    ini.write(QStringLiteral("DefTemplate"), s.DefTemplate);
    ini.write(QStringLiteral("OpenLast"), s.OpenLast);
    ini.write(QStringLiteral("LastFile"), s.LastFile);
    ini.section("SortCriteriums");
    const int count = std::clamp(s.CountSortCriteriums, 0, int(s.SortCriteriums.size()));
    ini.write(QStringLiteral("CountSortCriteriums"), count);
    for (int n = 1; n <= count; ++n) {
        const SortCriterium &level = s.SortCriteriums[std::size_t(n - 1)];
        ini.write(criteriumKey(n, false), int(level.Criterium));
        ini.write(criteriumKey(n, true), int(level.Mode));
    }

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(ini.bytes()) != ini.bytes().size()
        || !file.commit())
        throw Error(QStringLiteral("Die Einstellungen konnten nicht in die Datei \"%1\" "
                                   "geschrieben werden: %2")
                        .arg(path, file.errorString()));
}

} // namespace lexora
