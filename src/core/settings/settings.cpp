#include "settings/settings.h"

#include "settings/ini_reader.h"
#include "support/atomic_file.h"
#include "support/error.h"

#include <QFile>

#include <algorithm>

namespace lexora {

namespace {

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
    const IniReader ini(decodeIniText(file.readAll()));

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
    s.BackupCount = std::max(1, ini.readInt(settings, QStringLiteral("BackupCount"), defaults.BackupCount));

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
    ini.write(QStringLiteral("BackupCount"), s.BackupCount);
    ini.section("SortCriteriums");
    const int count = std::clamp(s.CountSortCriteriums, 0, int(s.SortCriteriums.size()));
    ini.write(QStringLiteral("CountSortCriteriums"), count);
    for (int n = 1; n <= count; ++n) {
        const SortCriterium &level = s.SortCriteriums[std::size_t(n - 1)];
        ini.write(criteriumKey(n, false), int(level.Criterium));
        ini.write(criteriumKey(n, true), int(level.Mode));
    }

    AtomicFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.device().write(ini.bytes()) != ini.bytes().size()
        || !file.commit())
        throw Error(Error::Kind::IoError, QStringLiteral("Die Einstellungen konnten nicht in die Datei \"%1\" "
                                   "geschrieben werden: %2")
                        .arg(path, file.errorString()));
}

} // namespace lexora
