#include "update/update_description.h"

#include "search/keywords.h"
#include "settings/ini_reader.h"
#include "text/compare_day.h"
#include "text/short_date.h"

namespace lexora {

UpdateDescription readUpdateDescription(const QByteArray &iniBytes, const QString &programName,
                                        DateTime today)
{
    const IniReader ini(decodeIniText(iniBytes));
    UpdateDescription description;
    description.sectionFound = ini.hasSection(programName);
    description.date =
        readShortDate(ini.readString(programName, QStringLiteral("Date"), {})).value_or(today);
    description.file = ini.readString(programName, QStringLiteral("File"), {});
    // Read as written: quotes around the whole value belong to the comma text's first and last
    // entries ("01.06.2005: A","01.07.2005: B"), not to the INI file.
    const std::optional<QString> news = ini.rawValue(programName, QStringLiteral("News"));
    if (!news) {
        description.news = QStringList{QStringLiteral("keine Angaben gefunden")};
        return description;
    }
    // The comma text's separators and quotes are ASCII, so splitting the UTF-8 form cuts no
    // character apart.
    for (const Text &entry : ParseKeywords(news->toUtf8()))
        description.news.append(QString::fromUtf8(entry));
    return description;
}

bool updateAvailable(const UpdateDescription &description, DateTime programDate)
{
    return description.sectionFound && !description.file.isEmpty()
           && description.date >= programDate;
}

QString changeList(const QStringList &news, DateTime programDate)
{
    QString list;
    for (const QString &entry : news) {
        const qsizetype colon = entry.indexOf(u':');
        const std::optional<DateTime> day =
            colon < 0 ? std::nullopt : readShortDate(QStringView(entry).left(colon));
        if (day && CompareDay(*day, programDate) < 0)
            continue;
        list += QStringLiteral("- ") + entry + u'\n';
    }
    return list;
}

} // namespace lexora
