#include "render/text_rewrite.h"

#include <gtest/gtest.h>

#include <random>

using namespace lexora;

TEST(FindText, AgreesWithAPlainSearchAtEveryLengthAndPosition)
{
    // Lengths around the block sizes of the fast search, needles at the very end included.
    const char *needles[] = {"%", "%%", "%a%", "%ab%", "\r\n", "<br> ", "%headline%"};
    const char alphabet[] = "%ab\r\n<br> hedlin";
    std::mt19937 random(7);
    for (int length = 0; length < 100; ++length) {
        for (int round = 0; round < 10; ++round) {
            Text text;
            for (int i = 0; i < length; ++i)
                text += alphabet[random() % (sizeof(alphabet) - 1)];
            for (const char *needle : needles)
                for (qsizetype from = 0; from <= text.size() + 1; ++from)
                    ASSERT_EQ(findText(text, needle, from),
                              from > text.size() ? -1 : text.indexOf(needle, from))
                        << text.toStdString() << " / " << needle << " from " << from;
        }
    }
}

TEST(ReplaceAll, ReplacesNonOverlappingFromTheLeftAndLeavesTheOutputAloneWithoutNeedle)
{
    struct Case {
        const char *text, *needle, *value, *expected;
    };
    const Case cases[] = {
        {"a%x%b%x%", "%x%", "1", "a1b1"},
        {"%x%x%", "%x%", "-", "-x%"},
        {"aaa", "aa", "b", "ba"},
        {"%x%", "%x%", "", ""},
    };
    for (const Case &c : cases) {
        Text out = "stale";
        ASSERT_TRUE(replaceAll(c.text, c.needle, c.value, out));
        EXPECT_EQ(out, Text(c.expected));
    }
    Text out = "stale";
    EXPECT_FALSE(replaceAll("abc", "%x%", "1", out));
    EXPECT_EQ(out, Text("stale"));
}
