#include "update/update_description.h"
#include "update/update_server.h"

#include <QDate>

#include <gtest/gtest.h>

using namespace lexora;

namespace {

DateTime day(int y, int m, int d)
{
    return DateTime(QDate(1899, 12, 30).daysTo(QDate(y, m, d)));
}

const DateTime kToday = day(2024, 5, 20);

TEST(UpdateDescription, ReadsTheProgramsSection)
{
    const UpdateDescription d = readUpdateDescription(
        "[Other]\nDate=01.01.2030\nFile=other.zip\n\n"
        "[lexora]\r\ndate = 1.6.2005\r\nFile=LX-1.2.zip\r\n"
        "News=\"01.06.2005: Suche schneller\",15.03.2005:Kleinigkeiten \"20.05.2005: \"\"B\"\"\"\r\n",
        QStringLiteral("Lexora"), kToday);
    EXPECT_TRUE(d.sectionFound);
    EXPECT_EQ(d.date, day(2005, 6, 1));
    EXPECT_EQ(d.file, QStringLiteral("LX-1.2.zip"));
    EXPECT_EQ(d.news, (QStringList{QStringLiteral("01.06.2005: Suche schneller"),
                                   QStringLiteral("15.03.2005:Kleinigkeiten"),
                                   QStringLiteral("20.05.2005: \"B\"")}));
}

TEST(UpdateDescription, MissingValuesTakeTheirDefaults)
{
    const struct {
        const char *name;
        QByteArray ini;
        bool section;
        DateTime date;
        QStringList news;
    } cases[] = {
        {"no section", "[Andere]\nDate=01.01.2030\n", false, kToday, {QStringLiteral("keine Angaben gefunden")}},
        {"empty section", "[Lexora]\n", true, kToday, {QStringLiteral("keine Angaben gefunden")}},
        {"unreadable date", "[Lexora]\nDate=2005-06-01\n", true, kToday, {QStringLiteral("keine Angaben gefunden")}},
        {"impossible date", "[Lexora]\nDate=31.02.2005\n", true, kToday, {QStringLiteral("keine Angaben gefunden")}},
        {"Windows-1252 text", "[Lexora]\nDate=02.01.2024\nNews=\"02.01.2024: \xC4nderung f\xFCr \xDF\"\n", true,
         day(2024, 1, 2), {QStringLiteral("02.01.2024: Änderung für ß")}},
        {"UTF-8 text with byte order mark", "\xEF\xBB\xBF[Lexora]\nNews=\"02.01.2024: Änderung\"\n", true, kToday,
         {QStringLiteral("02.01.2024: Änderung")}},
    };
    for (const auto &c : cases) {
        const UpdateDescription d = readUpdateDescription(c.ini, QStringLiteral("Lexora"), kToday);
        EXPECT_EQ(d.sectionFound, c.section) << c.name;
        EXPECT_EQ(d.date, c.date) << c.name;
        EXPECT_EQ(d.news, c.news) << c.name;
    }
}

TEST(UpdateDescription, AvailableWhenNotOlderThanTheProgramByFullDateValue)
{
    UpdateDescription d;
    d.sectionFound = true;
    d.file = QStringLiteral("LX.zip");
    d.date = day(2005, 3, 15);
    const struct {
        const char *name;
        DateTime program;
        bool available;
    } cases[] = {
        {"program a day older", day(2005, 3, 14) + 0.5, true},
        {"program file of the same day at 00:00", day(2005, 3, 15), true},
        {"program file written at noon of the same day", day(2005, 3, 15) + 0.5, false},
        {"program a day newer", day(2005, 3, 16), false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(updateAvailable(d, c.program), c.available) << c.name;

    UpdateDescription noFile = d;
    noFile.file.clear();
    EXPECT_FALSE(updateAvailable(noFile, day(2000, 1, 1))) << "an update without archive";
    UpdateDescription noSection = d;
    noSection.sectionFound = false;
    EXPECT_FALSE(updateAvailable(noSection, day(2000, 1, 1)));
}

TEST(ChangeList, ListsEntriesNotFromADayBeforeTheProgram)
{
    const DateTime program = day(2005, 3, 15) + 0.75;
    EXPECT_EQ(changeList({QStringLiteral("01.01.2004: A"), QStringLiteral("01.06.2005: B")}, program),
              QStringLiteral("- 01.06.2005: B\n"));
    EXPECT_EQ(changeList({QStringLiteral("15.03.2005: same day"), QStringLiteral("14.03.2005: day before")},
                         program),
              QStringLiteral("- 15.03.2005: same day\n"));
    // Entries without a readable date tell something and are kept.
    EXPECT_EQ(changeList({QStringLiteral("keine Angaben gefunden"), QStringLiteral("Mai 2005: C"),
                          QString()},
                         program),
              QStringLiteral("- keine Angaben gefunden\n- Mai 2005: C\n- \n"));
    EXPECT_EQ(changeList({}, program), QString());
}

TEST(UpdateServer, NamesHostPortAndScheme)
{
    const struct {
        const char *setting;
        const char *description; // empty: refused
    } cases[] = {
        {"updates.example.org", "http://updates.example.org/Updates.ini"},
        {"  127.0.0.1:8080 ", "http://127.0.0.1:8080/Updates.ini"},
        {"http://updates.example.org:81/", "http://updates.example.org:81/Updates.ini"},
        {"HTTPS://updates.example.org", "https://updates.example.org/Updates.ini"},
        {"https://[::1]:8443", "https://[::1]:8443/Updates.ini"},
        {"", ""},
        {"ftp://updates.example.org", ""},
        {"file:///etc", ""},
        {"http://user:pw@updates.example.org", ""},
        {"updates.example.org/sub", ""},
        {"updates.example.org?x=1", ""},
        {"http://", ""},
        {"updates.example.org:99999", ""},
    };
    for (const auto &c : cases) {
        const std::optional<QUrl> server = updateServerUrl(QString::fromUtf8(c.setting));
        if (*c.description == '\0') {
            EXPECT_FALSE(server) << c.setting << " gave " << server->toString().toStdString();
            continue;
        }
        ASSERT_TRUE(server) << c.setting;
        EXPECT_EQ(descriptionUrl(*server).toString(), QString::fromUtf8(c.description)) << c.setting;
    }
}

TEST(UpdateServer, ArchiveNameIsOnePathSegment)
{
    const QUrl server = *updateServerUrl(QStringLiteral("127.0.0.1:8080"));
    EXPECT_EQ(archiveUrl(server, QStringLiteral("LX 1.2.zip")).toString(QUrl::FullyEncoded),
              QStringLiteral("http://127.0.0.1:8080/Updates/LX%201.2.zip"));
    EXPECT_EQ(archiveUrl(server, QStringLiteral("../secret?x#y")).toString(QUrl::FullyEncoded),
              QStringLiteral("http://127.0.0.1:8080/Updates/..%2Fsecret%3Fx%23y"));
}

} // namespace
