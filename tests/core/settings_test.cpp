#include "settings/settings.h"

#include "database/win1252.h"
#include "support/error.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace lexora;

namespace {

class SettingsFile : public ::testing::Test {
protected:
    QString path() const { return m_dir.filePath(QStringLiteral("Settings.ini")); }

    void writeFile(const QByteArray &bytes)
    {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QByteArray readFile() const
    {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Defaults that differ from the built-in ones, as a window passes its current state.
    static Settings windowState()
    {
        Settings s;
        s.F1_Info = false;
        s.F2_Wrap = true;
        s.F1_Width = 900;
        s.F1_Height = 700;
        s.F2_Width = 640;
        s.F2_Height = 480;
        s.F2_Font.Name = QStringLiteral("DejaVu Sans Mono");
        s.F2_Font.Size = 10;
        return s;
    }

    // Every value changed from the built-in defaults.
    static Settings everythingChanged()
    {
        Settings s;
        s.F1_Info = false;
        s.F2_Wrap = true;
        s.F3_Wrap = true;
        s.TabStop = 4;
        s.F1_LeftArea = 311;
        s.F2_RightArea = 222;
        s.F1_Width = 1024;
        s.F1_Height = 768;
        s.F1_Maximized = true;
        s.F2_Width = 800;
        s.F2_Height = 600;
        s.F2_Maximized = true;
        s.F2_Font = {QStringLiteral("Liberation Mono"), 11, 0x00FF8000, true, false, true, false};
        s.F3_Font = {QStringLiteral("Verdana"), 9, -16777201, false, true, false, true};
        s.DefTemplate = QStringLiteral("Meine Vorlage.lxd");
        s.OpenLast = false;
        s.LastFile = QStringLiteral("/home/jürgen/Datenbanken/Notizen – 2024.lxd");
        s.BackupCount = 3;
        s.CountSortCriteriums = 3;
        s.SortCriteriums = {{{3, 1}, {0, 1}, {1, 0}}};
        return s;
    }

    QTemporaryDir m_dir;
};

TEST_F(SettingsFile, MissingEmptyOrGarbledFileGivesTheDefaults)
{
    const Settings defaults = windowState();
    EXPECT_EQ(loadSettings(path(), defaults), defaults);

    for (const QByteArray &content :
         {QByteArray(), QByteArray("\n\n  \n"), QByteArray("\x00\xFF\x13garbage=\x01\x02[[[", 17),
          QByteArray("F1_Info=0\nTabStop=3\n"), // keys outside any section
          QByteArray("[Other]\nF1_Info=0\nTabStop=3\n")}) {
        writeFile(content);
        EXPECT_EQ(loadSettings(path(), defaults), defaults) << content.toStdString();
    }
}

TEST_F(SettingsFile, RoundTripKeepsEveryValue)
{
    const Settings values = everythingChanged();
    saveSettings(path(), values);
    EXPECT_EQ(loadSettings(path(), Settings()), values);

    // Saving again over the file replaces it.
    Settings other = values;
    other.LastFile.clear();
    other.CountSortCriteriums = 0;
    other.SortCriteriums = Settings().SortCriteriums;
    saveSettings(path(), other);
    EXPECT_EQ(loadSettings(path(), Settings()), other);
}

TEST_F(SettingsFile, WritesSectionsAndKeysInTheirOrder)
{
    Settings s;
    s.F2_Width = 500;
    s.F2_Height = 400;
    s.LastFile = QStringLiteral("/tmp/ä.lxd");
    saveSettings(path(), s);
    EXPECT_EQ(readFile(), QByteArray("[View]\n"
                                     "F1_Info=1\nF2_Wrap=0\nF3_Wrap=0\nTabStop=12\n"
                                     "F1_LeftArea=280\nF2_RightArea=330\n"
                                     "F1_Width=651\nF1_Height=469\nF1_Maximized=0\n"
                                     "F2_Width=500\nF2_Height=400\nF2_Maximized=0\n"
                                     "\n[F2_Font]\n"
                                     "Name=Courier New\nSize=8\nColor=-16777208\n"
                                     "Bold=0\nItalic=0\nUnderline=0\nStrikeOut=0\n"
                                     "\n[F3_Font]\n"
                                     "Name=Courier New\nSize=8\nColor=-16777208\n"
                                     "Bold=0\nItalic=0\nUnderline=0\nStrikeOut=0\n"
                                     "\n[Settings]\n"
                                     "DefTemplate=Default.lxd\nOpenLast=1\nLastFile=/tmp/\xC3\xA4.lxd\nBackupCount=10\n"
                                     "\n[SortCriteriums]\n"
                                     "CountSortCriteriums=2\n"
                                     "Criterium1=0\nCriterium1Mode=0\nCriterium2=1\nCriterium2Mode=0\n"));
}

TEST_F(SettingsFile, OnlyTheSortLevelsWithinTheCountAreWritten)
{
    Settings s;
    s.CountSortCriteriums = 1;
    s.SortCriteriums = {{{3, 1}, {2, 1}, {1, 1}}};
    saveSettings(path(), s);
    const QByteArray file = readFile();
    EXPECT_TRUE(file.contains("CountSortCriteriums=1\nCriterium1=3\nCriterium1Mode=1\n"));
    EXPECT_FALSE(file.contains("Criterium2"));
    EXPECT_FALSE(file.contains("Criterium3"));
}

struct ReadCase {
    const char *name;
    QByteArray file;
    std::function<void(const Settings &)> check;
};

TEST_F(SettingsFile, ReadsTolerantly)
{
    const Settings d; // built-in defaults
    const ReadCase cases[] = {
        {"integer holding text keeps the default", "[View]\nTabStop=abc\nF1_Width=12px\n",
         [&](const Settings &s) { EXPECT_EQ(s.TabStop, d.TabStop); EXPECT_EQ(s.F1_Width, d.F1_Width); }},
        {"Boolean holding text keeps the default", "[View]\nF1_Info=nein\n[Settings]\nOpenLast=ja\n",
         [&](const Settings &s) { EXPECT_TRUE(s.F1_Info); EXPECT_TRUE(s.OpenLast); }},
        {"any non-zero number is true", "[View]\nF2_Wrap=2\nF3_Wrap=-1\nF1_Info=0\n",
         [](const Settings &s) { EXPECT_TRUE(s.F2_Wrap); EXPECT_TRUE(s.F3_Wrap); EXPECT_FALSE(s.F1_Info); }},
        {"hexadecimal numbers", "[View]\nTabStop=0x10\n[F2_Font]\nColor=$FF000005\n",
         [](const Settings &s) { EXPECT_EQ(s.TabStop, 16); EXPECT_EQ(s.F2_Font.Color, -16777211); }},
        {"blanks, CR LF line ends and letter case", "[ view ]\r\n  tabstop = 7 \r\n[SETTINGS]\r\nDEFTEMPLATE= x.lxd \r\n",
         [](const Settings &s) { EXPECT_EQ(s.TabStop, 7); EXPECT_EQ(s.DefTemplate, QStringLiteral("x.lxd")); }},
        {"the first of equal keys wins", "[View]\nTabStop=5\nTabStop=9\n[View]\nTabStop=11\n",
         [](const Settings &s) { EXPECT_EQ(s.TabStop, 5); }},
        {"quotes around a value are dropped", "[Settings]\nLastFile=\" /a b.lxd \"\nDefTemplate='\n",
         [](const Settings &s) { EXPECT_EQ(s.LastFile, QStringLiteral(" /a b.lxd ")); EXPECT_EQ(s.DefTemplate, QStringLiteral("'")); }},
        {"fewer than one backup reads as one", "[Settings]\nBackupCount=0\n",
         [](const Settings &s) { EXPECT_EQ(s.BackupCount, 1); }},
        {"an empty value is an empty text", "[Settings]\nDefTemplate=\n",
         [](const Settings &s) { EXPECT_TRUE(s.DefTemplate.isEmpty()); }},
        {"a count above 3 reads as 3", "[SortCriteriums]\nCountSortCriteriums=7\nCriterium3=0\nCriterium3Mode=1\n",
         [](const Settings &s) {
             EXPECT_EQ(s.CountSortCriteriums, 3);
             EXPECT_EQ(s.SortCriteriums[2], (SortCriterium{0, 1}));
         }},
        {"a negative count reads as 0", "[SortCriteriums]\nCountSortCriteriums=-2\n",
         [](const Settings &s) { EXPECT_EQ(s.CountSortCriteriums, 0); }},
        {"levels beyond the count are not read",
         "[SortCriteriums]\nCountSortCriteriums=1\nCriterium1=2\nCriterium1Mode=1\nCriterium2=3\nCriterium2Mode=1\n",
         [&](const Settings &s) {
             EXPECT_EQ(s.CountSortCriteriums, 1);
             EXPECT_EQ(s.SortCriteriums[0], (SortCriterium{2, 1}));
             EXPECT_EQ(s.SortCriteriums[1], d.SortCriteriums[1]);
         }},
        {"count 0 reads no level", "[SortCriteriums]\nCountSortCriteriums=0\nCriterium1=3\n",
         [&](const Settings &s) { EXPECT_EQ(s.CountSortCriteriums, 0); EXPECT_EQ(s.SortCriteriums, d.SortCriteriums); }},
        {"missing levels within the count take n - 1 and mode 0", "[SortCriteriums]\nCountSortCriteriums=3\n",
         [](const Settings &s) {
             EXPECT_EQ(s.SortCriteriums, (std::array<SortCriterium, 3>{{{0, 0}, {1, 0}, {2, 0}}}));
         }},
        {"a sort value that is not a byte keeps its default", "[SortCriteriums]\nCriterium1=300\nCriterium2Mode=-1\n",
         [&](const Settings &s) { EXPECT_EQ(s.SortCriteriums, d.SortCriteriums); }},
        {"a font section sets only the keys it has", "[F3_Font]\nBold=1\nSize=14\n",
         [&](const Settings &s) {
             EXPECT_TRUE(s.F3_Font.Bold);
             EXPECT_EQ(s.F3_Font.Size, 14);
             EXPECT_EQ(s.F3_Font.Name, d.F3_Font.Name);
             EXPECT_EQ(s.F3_Font.Color, d.F3_Font.Color);
             EXPECT_EQ(s.F2_Font, d.F2_Font);
         }},
        {"a Windows-1252 file is read as such", "[Settings]\nLastFile=C:\\Dateien\\\xDC" "bersicht.lxd\n",
         [](const Settings &s) { EXPECT_EQ(s.LastFile, QStringLiteral("C:\\Dateien\\Übersicht.lxd")); }},
        {"a byte order mark is skipped", "\xEF\xBB\xBF[View]\nTabStop=3\n",
         [](const Settings &s) { EXPECT_EQ(s.TabStop, 3); }},
    };
    for (const ReadCase &c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(c.file);
        c.check(loadSettings(path(), d));
    }
}

TEST_F(SettingsFile, TextValuesComeBackAsTheyWere)
{
    for (const QString &text : {QStringLiteral("  leading and trailing  "), QStringLiteral("\"quoted\""),
                                QStringLiteral("'x'"), QStringLiteral("a=b;c[d]"),
                                QStringLiteral("€ ß ł 日本")}) {
        Settings s;
        s.LastFile = text;
        s.F2_Font.Name = text;
        saveSettings(path(), s);
        const Settings back = loadSettings(path(), Settings());
        EXPECT_EQ(back.LastFile, text);
        EXPECT_EQ(back.F2_Font.Name, text);
    }
}

TEST_F(SettingsFile, ALineBreakCannotBreakTheFile)
{
    Settings s;
    s.LastFile = QStringLiteral("/tmp/a\n[View]\nTabStop=99");
    s.TabStop = 5;
    saveSettings(path(), s);
    const Settings back = loadSettings(path(), Settings());
    EXPECT_EQ(back.TabStop, 5);
    EXPECT_TRUE(back.LastFile.isEmpty());
}

TEST_F(SettingsFile, AFailedSaveThrowsAndKeepsTheOldFile)
{
    saveSettings(path(), everythingChanged());
    const QByteArray before = readFile();
    // A folder in the way of the file: the save cannot replace it.
    const QString blocked = m_dir.filePath(QStringLiteral("Blocked.ini"));
    ASSERT_TRUE(QDir().mkpath(blocked));
    EXPECT_THROW(saveSettings(blocked, Settings()), Error);
    EXPECT_THROW(saveSettings(m_dir.filePath(QStringLiteral("missing/Settings.ini")), Settings()), Error);
    EXPECT_EQ(readFile(), before);
}

} // namespace
