#include "text/collation.h"

#include <gtest/gtest.h>

namespace lexora {
namespace {

int sign(int v)
{
    return (v > 0) - (v < 0);
}

TEST(Collation, GermanOrderWithoutRegardToCase)
{
    const struct {
        QByteArray a, b;
        int expected;
    } cases[] = {
        {"Vorlage", "vorlage", 0},
        {"VORLAGE", "vorlage", 0},
        {"apfel", "Birne", -1},          // letters, not byte values
        {"\xC4pfel", "Birne", -1},       // Ä sorts with A
        {"\xE4pfel", "Apfel", 1},        // ... after the plain letter
        {"Zebra", "\xF6l", 1},           // ö with o
        {"", "a", -1},
        {"a", "a ", -1},
        {"Datei 10", "Datei 9", -1},     // digits one by one
    };
    for (const auto &c : cases) {
        EXPECT_EQ(sign(CompareTextsIgnoringCase(c.a, c.b)), c.expected) << c.a.toStdString();
        EXPECT_EQ(sign(CompareTextsIgnoringCase(c.b, c.a)), -c.expected) << c.b.toStdString();
        EXPECT_EQ(sign(TextSortKey(c.a).compare(TextSortKey(c.b))), c.expected)
            << "sort key of " << c.a.toStdString();
    }
}

} // namespace
} // namespace lexora
