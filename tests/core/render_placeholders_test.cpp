#include "render/placeholders.h"

#include <gtest/gtest.h>

#include <random>

using namespace lexora;

TEST(PlaceholderTable, CaptionsAndDescriptionsOfTheEditorsMenu)
{
    const char *captions[] = {
        "%css%", "%headline%", "%text%", "%xcss%[Name]>", "%>xhtml%[Name]>[Inhalt]%<xhtml%",
        "%created%", "%modified%", "%createdby%", "%modifiedby%", "%level%", "%parents%[Index]>",
        "%children%", "%filename%", "%filepath%", "%apppath%", "%file%[Name]>", "%type%",
    };
    ASSERT_EQ(std::size(captions), PlaceholderTable.size());
    for (int i = 0; i < PlaceholderCount; ++i)
        EXPECT_EQ(placeholderCaption(i), Text(captions[i])) << i;

    EXPECT_EQ(PlaceholderTable[PhHeadline].description.toString(),
              QString::fromUtf8("Überschrift des Eintrags"));
    EXPECT_EQ(PlaceholderTable[PhParents].description.toString(),
              QString::fromUtf8("Titel eines übergeordneten Schlüssels ([Index] = 0: direkt "
                                "übergeordneter Schlüssel; -1: Stammschlüssel)"));
    EXPECT_EQ(PlaceholderTable[PhFile].description.toString(),
              QString::fromUtf8("Dateiname der unter dem Namen \"Name\" eingebundenen Datei"));
    EXPECT_EQ(PlaceholderTable[PhType].description.toString(),
              QString::fromUtf8("Elementtyp (0: Schlüssel; 1: Eintrag)"));
}

TEST(FindPlaceholder, FindsFromAPositionAndReadsTheArgumentUpToTheNextGreaterSign)
{
    struct Case {
        int index;
        const char *text;
        qsizetype from;
        bool found;
        qsizetype start, end;
        const char *argument;
    };
    const Case cases[] = {
        {PhHeadline, "a%headline%b", 0, true, 1, 11, ""},
        {PhHeadline, "a%headline%b%headline%", 2, true, 12, 22, ""},
        {PhHeadline, "a%headline%", 2, false, 0, 0, ""},
        {PhHeadline, "%Headline%", 0, false, 0, 0, ""},
        {PhXcss, "%xcss%Alt>x", 0, true, 0, 10, "Alt"},
        {PhXcss, "%xcss%>", 0, true, 0, 7, ""},
        {PhXcss, "%xcss%\r\n</style>", 0, true, 0, 16, "\r\n</style"},
        {PhXcss, "x%xcss%Alt", 0, true, 1, 7, ""},
        {PhXcss, "> %xcss%", 0, true, 2, 8, ""},
        {PhXhtml, "%>xhtml%B>c%<xhtml%", 0, true, 0, 10, "B"},
        {PhXhtml, "%xhtml%B>", 0, false, 0, 0, ""},
        {PhParents, "%parents%%parents%1>", 0, true, 0, 20, "%parents%1"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        const Text text(c.text);
        const PlaceholderSearch search(c.index, text);
        PlaceholderMatch match;
        ASSERT_EQ(search.FindPlaceholder(c.from, match), c.found);
        if (!c.found)
            continue;
        EXPECT_EQ(match.start, c.start);
        EXPECT_EQ(match.end, c.end);
        EXPECT_EQ(match.argument, Text(c.argument));
    }
}

namespace {

// The block end as its definition reads: walk the markers one by one from a depth of 1.
qsizetype referenceBlockEnd(const Text &text, qsizetype from)
{
    int depth = 1;
    for (;;) {
        const qsizetype opening = text.indexOf("%>xhtml%", from);
        const qsizetype closing = text.indexOf("%<xhtml%", from);
        if (closing < 0)
            return -1;
        if (opening < 0 || closing < opening) {
            if (--depth == 0)
                return closing;
            from = closing + 1;
        } else {
            ++depth;
            from = opening + 1;
        }
    }
}

} // namespace

TEST(FindBlockEnd, CountsNestedBlocks)
{
    struct Case {
        const char *text;
        qsizetype from;
        qsizetype end;
    };
    const Case cases[] = {
        {"a%<xhtml%", 0, 1},
        {"a%>xhtml%b%<xhtml%c%<xhtml%", 0, 19},
        {"a%>xhtml%b%<xhtml%c%<xhtml%", 9, 10},
        {"a%>xhtml%b%<xhtml%", 0, -1},
        {"%<xhtml%a", 1, -1},
        {"%>xhtml%<xhtml%%<xhtml%", 0, 15},
        {"", 0, -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(BlockMarkers(Text(c.text), PhXhtml).FindBlockEnd(c.from), c.end);
        EXPECT_EQ(referenceBlockEnd(Text(c.text), c.from), c.end);
    }
}

TEST(FindBlockEnd, AgreesWithTheMarkerWalkOnRandomTexts)
{
    // Pieces that make overlapping and broken markers as well as whole ones.
    const char *pieces[] = {"%>xhtml%", "%<xhtml%", "%", ">", "<", "xhtml%", "a", "%>xhtml",
                            "%<xhtml"};
    std::mt19937 random(12345);
    for (int round = 0; round < 2000; ++round) {
        Text text;
        const int count = int(random() % 24);
        for (int i = 0; i < count; ++i)
            text += pieces[random() % std::size(pieces)];
        const BlockMarkers markers(text, PhXhtml);
        for (qsizetype from = 0; from <= text.size(); ++from)
            ASSERT_EQ(markers.FindBlockEnd(from), referenceBlockEnd(text, from))
                << text.constData() << " from " << from;
    }
}
