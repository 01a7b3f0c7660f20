// The code of a code field on its way into the model and back.
#include "text/code_field_text.h"

#include <gtest/gtest.h>

using namespace lexora;

TEST(CodeFieldText, CharactersOutsideWindows1252BecomeReferences)
{
    struct Case {
        const char16_t *field;
        QByteArray code;
    };
    const Case cases[] = {
        {u"abc", "abc"},
        {u"\u00c4\u00df\u20ac\u201e", "\xC4\xDF\x80\x84"},
        {u"\u03a9", "&#937;"},
        {u"a \u2192 b", "a &#8594; b"},
        {u"\U0001F600!", "&#128512;!"},
        {u"\u0081\u009d", "\x81\x9D"},
        {u"?", "?"},
        {u"x\xd800y", "x&#65533;y"},
        {u"\xdc00", "&#65533;"},
        {u"a\nb\u2029c\u2028d", "a\r\nb\r\nc\r\nd"},
        {u"\n", "\r\n"},
        {u"\t\u00a0 ", "\t\xA0 "},
        {u"", ""},
    };
    for (const Case &c : cases) {
        const QString field = QString::fromUtf16(c.field);
        SCOPED_TRACE(field.toStdString());
        EXPECT_EQ(codeFromField(field), c.code);
    }
    EXPECT_EQ(codeFromField(QStringView(u"a\0b", 3)), QByteArray("a\0b", 3));
}

TEST(CodeFieldText, LineBreaksOfTheModelBecomeOneCharacter)
{
    EXPECT_EQ(codeForField("a\r\nb\nc\rd\r\n"), QStringLiteral("a\nb\nc\nd\n"));
    EXPECT_EQ(codeForField("\xC4\x80&#937;"), QString::fromUtf8("Ä€&#937;"));
    EXPECT_EQ(codeFromField(codeForField("<p>\r\n\t\xE4</p>\r\n")), QByteArray("<p>\r\n\t\xE4</p>\r\n"));
}
