#include "database/default_database.h"
#include "database/file_format.h"
#include "database/value_writer.h"
#include "support/database_fixtures.h"
#include "support/scripted_prompt.h"

#include <QBuffer>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lexora;
using namespace lexora::test;

namespace {

// Lines joined with CR LF, the last one without a line end.
QByteArray lines(std::initializer_list<const char *> text)
{
    QList<QByteArray> all;
    for (const char *line : text)
        all.append(line);
    return all.join("\r\n");
}

const TTemplate kHtml[] = {
    {".Clpbrd #1",
     lines({"<span",
            "\ttitle=\"In die Zwischenablage kopieren\"",
            "\tstyle=\"cursor:pointer; color:blue\"",
            "\tonClick=\"window.clipboardData.setData('text', this.innerText)\"",
            "\tonMouseOver=\"with (this.style) {backgroundColor = 'highlight'; color = 'highlighttext';}\"",
            "\tonMouseOut=\"with (this.style) {backgroundColor = this.parentNode.style.backgroundColor; color = 'blue';}\">",
            "\t%text%",
            "</span>"}),
     "Inhalt kann durch Klicken in die Zwischenablage kopiert werden"},
    {".Code #1",
     lines({"<div style=\"margin-left:8; margin-top:4; margin-bottom:4\">",
            "\t<small",
            "\t\tstyle=\"cursor:pointer; color:blue\"",
            "\t\tonClick=\"window.clipboardData.setData('text', this.nextSibling.innerText); this.nextSibling.style.backgroundColor = '#EDE';\"",
            "\t\tonMouseOver=\"this.nextSibling.style.backgroundColor = '#FFC'; this.style.textDecoration = 'overline';\"",
            "\t\tonMouseOut=\"this.nextSibling.style.backgroundColor = '#EEE'; this.style.textDecoration = 'none';\">",
            "\t\t\tIn die Zwischenablage kopieren",
            "\t</small>",
            "\t<div style=\"border:1 solid black; background-color:#EEE; padding:4\">",
            "\t\t<code>%text%</code>",
            "\t</div>",
            "</div>"}),
     "Code vor grauem Hintergrund dargestellt; kann in die Zwischenablage kopiert werden"},
    {".Code #2",
     lines({"<div style=\"border:1 solid black; background-color:#EEE; padding:4; margin-left:8; margin-top:4; margin-bottom:4\">",
            "\t<code>%text%</code>",
            "</div>"}),
     "Code vor grauem Hintergrund dargestellt"},
    {"Code #1", "%>xhtml%><code>%text%</code>%<xhtml%", "Eintrag enth\xE4lt nur Code"},
    {"HTML #1",
     lines({"<html>",
            "\t<head>",
            "\t\t<style type=\"text/css\">",
            "\t\t\t%css%",
            "\t\t</style>",
            "\t</head>",
            "\t<body>",
            "\t\t<h3 style=\"margin-top:0\">%headline%</h3>",
            "\t\t<hr class=\"head\">",
            "\t\t%text%",
            "\t</body>",
            "</html>"}),
     "HTML-Vorlage mit \xDC" "berschrift"},
};

const TTemplate kCss = {
    "CSS #1",
    lines({"body\t\t\t\t\t{font:x-small \"Tahoma\"; text-align=left; margin:6}",
           "code\t\t\t\t\t{font:11; white-space:nowrap}",
           "h1,h2,h3,h4,h5,h6\t{margin-bottom:0}",
           "table\t\t\t\t\t{font-size:x-small}",
           "td,th\t\t\t\t\t{border:none}",
           "hr.head\t\t\t\t{color:red}",
           "img\t\t\t\t\t{border-style:none}",
           "ul, ol\t\t\t\t{margin-top:0; margin-bottom:0}",
           "ul\t\t\t\t\t\t{margin-left:16}",
           "ol\t\t\t\t\t\t{margin-left:40}"}),
    "Tahoma, rot unterstrichene \xDC" "berschrift"};

// The default database built from its texts with the file format's value coding.
QByteArray builtFromTexts()
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ValueWriter w(buffer);
    w.writeRaw("\xBD\x94\x94\xF1", 4);
    w.writeBoolean(false);
    auto list = [&](const TTemplate *begin, const TTemplate *end, int defaultPosition) {
        w.writeListBegin();
        for (const TTemplate *t = begin; t != end; ++t) {
            w.writeString(t->Name);
            w.writeString(t->Description);
            w.writeString(t->Code);
        }
        w.writeListEnd();
        w.writeInteger(defaultPosition);
    };
    list(std::begin(kHtml), std::end(kHtml), 4);
    list(&kCss, &kCss + 1, 0);
    w.writeListBegin(); // no nodes
    w.writeListEnd();
    w.writeListBegin(); // and an empty section list
    w.writeListEnd();
    w.flush();
    return buffer.data();
}

} // namespace

TEST(DefaultDatabase, EmbeddedBytesAreTheTemplatesInTheFileFormat)
{
    const QByteArray built = builtFromTexts();
    EXPECT_EQ(built.size(), 2055);
    EXPECT_EQ(DefaultDatabaseBytes().size(), 2055);
    EXPECT_EQ(DefaultDatabaseBytes(), built);
}

TEST(DefaultDatabase, LoadsAsFiveHtmlTemplatesAndOneCssTemplate)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Default.lxd"));
    WriteDefaultDatabase(file);
    EXPECT_EQ(readFileBytes(file), DefaultDatabaseBytes());

    Database db;
    db.IncludedFilesFolder = dir.path() + QLatin1Char('/');
    ScriptedPrompt prompt;
    NoProgress progress;
    ASSERT_EQ(LoadDatabase(db, file, lpAll, prompt, progress), LoadResult::Read);
    ASSERT_EQ(db.HTMLTemplates.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(db.HTMLTemplates[i]->Name, kHtml[i].Name);
        EXPECT_EQ(db.HTMLTemplates[i]->Description, kHtml[i].Description);
        EXPECT_EQ(db.HTMLTemplates[i]->Code, kHtml[i].Code);
    }
    EXPECT_EQ(db.DefaultHTMLTemplate, db.HTMLTemplates[4].get());
    ASSERT_EQ(db.CSSTemplates.size(), 1u);
    EXPECT_EQ(db.CSSTemplates[0]->Code, kCss.Code);
    EXPECT_EQ(db.DefaultCSSTemplate, db.CSSTemplates[0].get());
    EXPECT_EQ(db.topLevel().childCount(), 0);
    EXPECT_TRUE(db.TrayNodes.empty());
    EXPECT_TRUE(db.IncludedFiles.empty());

    // Saving writes both sections, empty: the same content in 2063 bytes.
    const QString saved = dir.filePath(QStringLiteral("saved.lxd"));
    SaveDatabase(db, saved, false, progress);
    const QByteArray bytes = readFileBytes(saved);
    EXPECT_EQ(bytes.size(), 2063);
    EXPECT_EQ(bytes.left(2053), DefaultDatabaseBytes().left(2053));
    EXPECT_EQ(bytes.mid(2053).toHex(' '), "01 02 00 01 00 02 01 01 00 00");
}
