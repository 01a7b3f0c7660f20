// The tag and placeholder menus of the code fields: what each entry inserts at a selection, and
// the entries of the template and included-file submenus.
#include "render/placeholders.h"
#include "support/marked_text.h"
#include "text/code_insertions.h"
#include "text/file_size.h"

#include <gtest/gtest.h>

using namespace lexora;
using namespace lexora::test;

namespace {

void addTemplate(Database &db, TemplateList list, const char *name, const char *description)
{
    db.templates(list).push_back(
        std::make_unique<TTemplate>(TTemplate{name, "code", description}));
}

void addFile(Database &db, const char *name, qint32 size)
{
    db.IncludedFiles.push_back(std::make_unique<TInclFile>(TInclFile{name, size}));
}

// Two CSS templates, one HTML template, one included file.
class MenuActions : public ::testing::Test {
protected:
    void SetUp() override
    {
        addTemplate(db, CssTemplates, "Blau", "Blaue Schrift");
        addTemplate(db, CssTemplates, "A&B", "");
        addTemplate(db, HtmlTemplates, "Rahmen", "Mit Rahmen");
        addFile(db, "Bild \xC4.png", 1536);
    }
    Database db;
};

QString tagOn(int row, const QString &marked)
{
    const MarkedText in = parseMarked(marked);
    const QStringView selected = QStringView(in.text).mid(in.selection.start(), in.selection.length());
    return applyMarked(in.text, tagAction(row, in.selection, selected));
}

QString placeholderOn(const Database &db, int tag, const QString &marked)
{
    const MarkedText in = parseMarked(marked);
    const QStringView selected = QStringView(in.text).mid(in.selection.start(), in.selection.length());
    return applyMarked(in.text, placeholderAction(db, tag, in.selection, selected));
}

} // namespace

TEST(TagTable, CaptionsAndHintsOfTheTagMenu)
{
    const char *captions[] = {"<html>", "<head>", "<body>", "<b>", "<i>", "<u>", "<table>",
                              "<tr>", "<td>", "<p>", "<div>", "<ul>", "<ol>", "<li>", "<br>",
                              "<script ...>", "<style ...>"};
    ASSERT_EQ(std::size(captions), TagTable.size());
    for (std::size_t i = 0; i < TagTable.size(); ++i)
        EXPECT_EQ(tagCaption(int(i)), QString::fromLatin1(captions[i])) << i;
    EXPECT_EQ(TagTable[2].hint.toString(), QString::fromUtf8("HTML-Körper"));
    EXPECT_EQ(TagTable[12].hint.toString(), QStringLiteral("nummerierte Liste"));
    EXPECT_EQ(tagCaption(InitialTagRow), QStringLiteral("<b>"));
}

TEST(TagTable, InsertsAtTheSelection)
{
    struct Case {
        int row;
        const char *before;
        const char *after;
    };
    const Case cases[] = {
        {3, "x[Hallo|y", "x<b>[Hallo|</b>y"},
        {3, "x|Hallo[y", "x<b>[Hallo|</b>y"},
        {3, "a|b", "a<b>|</b>b"},
        {15, "[f();|", "<script type=\"text/javascript\">[f();|</script>"},
        {16, "|", "<style type=\"text/css\">|</style>"},
        {8, "[a\nb|", "<td>[a\nb|</td>"},
        // Single tags replace the selection.
        {14, "a[xyz|b", "a<br>|b"},
        {13, "|", "<li>|"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.before);
        EXPECT_EQ(tagOn(c.row, QString::fromLatin1(c.before)), QString::fromLatin1(c.after));
    }
}

TEST_F(MenuActions, PlaceholdersInsertedAtTheSelection)
{
    struct Case {
        int tag;
        const char *before;
        const char16_t *after;
    };
    const Case cases[] = {
        // Plain placeholders replace the selection.
        {menuTag(PhCss), "[abc|", u"%css%|"},
        {menuTag(PhHeadline), "x[abc|y", u"x%headline%|y"},
        {menuTag(PhType), "|", u"%type%|"},
        // Argument without a chosen record: the selected text becomes the argument.
        {menuTag(PhXcss), "[abc|", u"%xcss%[abc|>"},
        {menuTag(PhXcss), "|", u"%xcss%|>"},
        {menuTag(PhParents), "a[0|b", u"a%parents%[0|>b"},
        {menuTag(PhFile), "|", u"%file%|>"},
        // A chosen record replaces the selection.
        {menuTag(PhXcss, 0), "[abc|", u"%xcss%Blau>|"},
        {menuTag(PhXcss, 1), "|", u"%xcss%A&B>|"},
        {menuTag(PhFile, 0), "|", u"%file%Bild \u00c4.png>|"},
        // Block: the selected text stays selected inside.
        {menuTag(PhXhtml, 0), "[abc|", u"%>xhtml%Rahmen>[abc|%<xhtml%"},
        {menuTag(PhXhtml), "[abc|", u"%>xhtml%>[abc|%<xhtml%"},
        {menuTag(PhXhtml), "a|b", u"a%>xhtml%>|%<xhtml%b"},
        // A stale entry (the list has become shorter) chooses no record.
        {menuTag(PhXcss, 2), "[abc|", u"%xcss%[abc|>"},
        {menuTag(PhXhtml, 1), "[abc|", u"%>xhtml%>[abc|%<xhtml%"},
        {menuTag(PhFile, 254), "|", u"%file%|>"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.tag << " " << c.before);
        EXPECT_EQ(placeholderOn(db, c.tag, QString::fromLatin1(c.before)), QString::fromUtf16(c.after));
    }
}

TEST_F(MenuActions, AnEntryRemembersItsPositionNotItsRecord)
{
    const int tag = menuTag(PhXcss, 0);
    EXPECT_EQ(chosenName(db, tag), Text("Blau"));
    db.CSSTemplates.erase(db.CSSTemplates.begin());
    EXPECT_EQ(chosenName(db, tag), Text("A&B"));
    db.CSSTemplates.clear();
    EXPECT_EQ(chosenName(db, tag), std::nullopt);
    EXPECT_EQ(chosenName(db, menuTag(PhXcss)), std::nullopt);
}

TEST_F(MenuActions, SubmenuEntriesNameTheRecordsOfTheirList)
{
    const std::vector<SubmenuEntry> css = submenuEntries(db, PhXcss);
    ASSERT_EQ(css.size(), 2u);
    EXPECT_EQ(css[0], (SubmenuEntry{QStringLiteral("Blau"), QStringLiteral("Blaue Schrift"), 256 + PhXcss}));
    EXPECT_EQ(css[1], (SubmenuEntry{QStringLiteral("A&&B"), QString(), 512 + PhXcss}));

    const std::vector<SubmenuEntry> html = submenuEntries(db, PhXhtml);
    ASSERT_EQ(html.size(), 1u);
    EXPECT_EQ(html[0].tag, 256 + PhXhtml);
    EXPECT_EQ(html[0].hint, QStringLiteral("Mit Rahmen"));

    const std::vector<SubmenuEntry> files = submenuEntries(db, PhFile);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0], (SubmenuEntry{QString::fromUtf8("Bild Ä.png"), QStringLiteral("1,5 KB"), 256 + PhFile}));

    EXPECT_TRUE(submenuEntries(db, PhCss).empty());
    EXPECT_TRUE(hasSubmenu(PhXcss) && hasSubmenu(PhXhtml) && hasSubmenu(PhFile));
    EXPECT_FALSE(hasSubmenu(PhCss) || hasSubmenu(PhParents));
}

TEST_F(MenuActions, SubmenusAddressTheFirst255Records)
{
    for (int i = 0; i < 300; ++i)
        addFile(db, QByteArray::number(i).constData(), i);
    const std::vector<SubmenuEntry> files = submenuEntries(db, PhFile);
    ASSERT_EQ(files.size(), 255u);
    EXPECT_EQ(files.back().tag, (255 << 8) + PhFile);
    EXPECT_EQ(chosenName(db, files.back().tag), Text("253"));
    EXPECT_EQ(recordsBeyondSubmenu(db, PhFile), 301 - 255);
    EXPECT_EQ(recordsBeyondSubmenu(db, PhXcss), 0);
}

TEST(FormatFileSize, ShortUnitsWithOneMoreDigit)
{
    struct Case {
        qint64 bytes;
        const char *text;
    };
    const Case cases[] = {
        {0, "0 Byte"},
        {512, "512 Byte"},
        {1023, "1023 Byte"},
        {1024, "1 KB"},
        {1536, "1,5 KB"},
        {123456, "120,6 KB"},
        {1048576, "1 MB"},
        {1048575, "1024 KB"},
        {5LL * 1024 * 1024 * 1024 + 512LL * 1024 * 1024, "5,5 GB"},
        {3LL << 40, "3 TB"},
        {5000LL << 40, "5000 TB"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FormatFileSize(c.bytes), QString::fromLatin1(c.text)) << c.bytes;
}
