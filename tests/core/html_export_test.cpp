#include "exchange/html_export.h"

#include "database/win1252.h"
#include "render/displayed_text.h"
#include "support/error.h"
#include "support/names_with_markup.h"
#include "support/progress.h"
#include "support/scripted_prompt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lexora;
using lexora::test::ScriptedPrompt;

namespace {

struct Line {
    int level;
    const char *text;
};

// The page of an empty database, written out line by line from the page's description.
const Line kSkeletonHead[] = {
    {0, "<html>"},
    {1, "<script type=\"text/javascript\">"},
    {2, "function selKeySpan(obj) {"},
    {3, "obj.style.backgroundColor = \"yellow\";"},
    {2, "}"},
    {2, "function deselKeySpan(obj) {"},
    {3, "obj.style.backgroundColor = obj.parentNode.style.backgroundColor;"},
    {2, "}"},
    {2, "function showDiv(divId, itemType) {"},
    {3, "with (document.getElementById(divId).style) {"},
    {4, "display = (display == \"block\") ? \"none\" : \"block\";"},
    {4, "if (itemType)"},
    {5, "document.getElementById(\"s\"+divId).style.display = display == \"none\" ? \"none\" : \"inline\";"},
    {4, "else"},
    {5, "document.getElementById(\"s\"+divId).innerHTML = display == \"none\" ? \"+\" : \"\x96" "\";"},
    {3, "}"},
    {2, "}"},
    {2, "function initObjs() {"},
    {3, "var objs = document.getElementsByTagName(\"div\");"},
    {3, "var i;"},
    {3, "for (i in objs) {"},
    {4, "if (objs[i].className == \"content\")"},
    {5, "objs[i].style.backgroundColor = objs[i].parentNode.style.backgroundColor == \"#ddd\" ? \"white\" : \"#ddd\";"},
    {3, "}"},
    {3, "objs = document.getElementsByTagName(\"span\");"},
    {3, "for (i in objs) {"},
    {4, "if (objs[i].className == (\"key\" || \"space\"))"},
    {5, "objs[i].innerHTML = \"+\";"},
    {3, "}"},
    {3, "document.getElementById(\"wait\").style.display = \"none\";"},
    {3, "document.getElementById(\"database\").style.display = \"block\";"},
    {2, "}"},
    {2, "var keyCounter = 1;"},
    {2, "var itemCounter = 1;"},
    {2, "var countItems = 0;"},
    {2, "function refreshProgress() {"},
    {3, "document.getElementById('progress').innerText = parseInt((keyCounter+itemCounter-2)/countItems*100);"},
    {2, "}"},
    {2, "function openKey(name) {"},
    {3, "with (document) {"},
    {4, "writeln('<div class=\"title\">');"},
    {5, "writeln('<span class=\"key\" id=\"sk'+keyCounter+'\" onMouseOver=\"selKeySpan(this)\" onMouseOut=\"deselKeySpan(this)\" onClick=\"showDiv(\\'k'+keyCounter+'\\')\"></span>');"},
    {5, "writeln('<span><a href=\"javascript:showDiv(\\'k'+keyCounter+'\\')\">'+name+'</a></span>');"},
    {4, "writeln('</div>');"},
    {4, "writeln('<div class=\"content\" id=\"k'+keyCounter+'\">');"},
    {3, "}"},
    {3, "++keyCounter;"},
    {2, "}"},
    {2, "function closeKey() {"},
    {3, "document.writeln('</div>');"},
    {3, "refreshProgress();"},
    {2, "}"},
    {2, "function openItem(name) {"},
    {3, "with (document) {"},
    {4, "writeln('<div class=\"title\">');"},
    {5, "writeln('<span class=\"space\"></span>');"},
    {5, "writeln('<span><a href=\"javascript:showDiv(\\'i'+itemCounter+'\\', true)\">'+name+'</a></span>');"},
    {5, "writeln('<span class=\"arrow\" id=\"si'+itemCounter+'\">&#230;</span>');"},
    {4, "writeln('</div>');"},
    {4, "writeln('<div class=\"item\" id=\"i'+itemCounter+'\">');"},
    {3, "}"},
    {3, "++itemCounter;"},
    {2, "}"},
    {2, "function closeItem() {"},
    {3, "document.writeln('</div>');"},
    {3, "refreshProgress();"},
    {2, "}"},
    {1, "</script>"},
    {1, "<head>"},
    {2, "<meta name=\"description\" content=\"Erstellt mit QZ-Software Lexora-Datenbank\">"},
    {2, "<style type=\"text/css\">"},
    {3, "span\t{padding:2; width:20; white-space:nowrap; margin-top:2}"},
    {3, "span.space\t{text-align:center; border:1 solid black; margin-right:4; cursor:pointer; overflow:hidden; visibility:hidden}"},
    {3, "span.key\t{text-align:center; border:1 solid black; margin-right:4; cursor:pointer; overflow:hidden}"},
    {3, "span.arrow\t{font-family:Wingdings; display:none}"},
    {3, "span.title        {white-space:nowrap}"},
    {3, "div.content\t{margin-left:30; margin-right:8; display:none; padding:2}"},
    {3, "div.item\t{margin-left:60; margin-right:2; border:1 outset silver; display:none; background-color:white; padding:4}"},
    {2, "</style>"},
    {1, "</head>"},
    {1, "<body bgColor=\"white\" onLoad=\"initObjs()\" style=\"font:x-small Tahoma\">"},
    {2, "<div id=\"wait\">Bitte warten... Die Datenbank wird geladen: <span id=\"progress\" style=\"margin:0; padding:0; width:0\">0</span> %</div>"},
    {2, "<div id=\"database\" style=\"display:none\">"},
    {3, "<script>"},
    {3, "</script>"},
    {2, "</div>"},
    {1, "</body>"},
    {0, "</html>"},
};

QByteArray joined(std::initializer_list<Line> lines)
{
    QByteArray out;
    for (const Line &l : lines)
        out += QByteArray(l.level, '\t') + l.text + "\r\n";
    return out;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The lines of the file between the database block's "<script>" and "</script>".
QByteArray treePart(const QByteArray &page)
{
    const QByteArray open = "\t\t<div id=\"database\" style=\"display:none\">\r\n\t\t\t<script>\r\n";
    const qsizetype start = page.indexOf(open);
    const qsizetype end = page.lastIndexOf("\t\t\t</script>\r\n\t\t</div>\r\n");
    if (start < 0 || end < 0)
        return "<no database block>";
    return page.mid(start + open.size(), end - start - open.size());
}

// A call `openKey("…");` or `openItem("…");` of the tree part, with the string its literal
// stands for as a browser reads it.
struct NameCall {
    QByteArray function;
    Text argument;
};

// The calls that pass names, one per line. A literal that would end before its closing quote, or
// text in it that would end the script block, fails the test.
std::vector<NameCall> nameCalls(const QByteArray &tree)
{
    std::vector<NameCall> calls;
    for (const QByteArray &rawLine : tree.split('\n')) {
        const QByteArray line = rawLine.trimmed();
        const qsizetype open = line.indexOf("(\"");
        if (open < 0 || !(line.startsWith("openKey(") || line.startsWith("openItem(")))
            continue;
        NameCall call{line.left(open), {}};
        qsizetype i = open + 2;
        for (; i < line.size() && line[i] != '"'; ++i) {
            if (line.mid(i, 2) == "</" || line.mid(i, 4) == "<!--")
                ADD_FAILURE() << "the script block ends in " << line.constData();
            if (line[i] != '\\') {
                call.argument += line[i];
                continue;
            }
            const char escape = line[++i];
            if (escape == 'r') {
                call.argument += '\r';
            } else if (escape == 'n') {
                call.argument += '\n';
            } else if (escape == 'x') {
                call.argument += char(line.mid(i + 1, 2).toInt(nullptr, 16));
                i += 2;
            } else {
                call.argument += escape;
            }
        }
        EXPECT_EQ(line.mid(i), "\");") << "the literal ends early in " << line.constData();
        calls.push_back(call);
    }
    return calls;
}

class HtmlExport : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString path(const QString &name) const { return dir.path() + QLatin1Char('/') + name; }

    HtmlExportResult run(const HtmlExportOptions &options)
    {
        NoProgress progress;
        return ExportDatabaseHTML(db, options, prompt, progress);
    }

    // Exports to "out.htm" with font "Tahoma", size entry 1 and the given title.
    QByteArray exported(const QString &title = {})
    {
        HtmlExportOptions options;
        options.fileName = path(QStringLiteral("out.htm"));
        options.title = title;
        options.fontFamily = QStringLiteral("Tahoma");
        EXPECT_EQ(run(options).outcome, HtmlExportResult::Exported);
        return readFile(options.fileName);
    }

    Node *item(Node &parent, const Text &name, const Text &code)
    {
        Node *node = parent.appendChild(name);
        auto data = std::make_unique<TTipItem>();
        data->Code = code;
        node->setItem(std::move(data));
        return node;
    }

    QTemporaryDir dir;
    Database db;
    ScriptedPrompt prompt;
};

} // namespace

TEST_F(HtmlExport, EmptyDatabaseGivesTheSkeletonLineByLine)
{
    const QByteArray page = exported();
    QByteArray expected;
    for (const Line &l : kSkeletonHead)
        expected += QByteArray(l.level, '\t') + l.text + "\r\n";
    const QList<QByteArray> got = page.split('\n');
    const QList<QByteArray> want = expected.split('\n');
    ASSERT_EQ(got.size(), want.size());
    for (qsizetype i = 0; i < got.size(); ++i)
        EXPECT_EQ(got[i], want[i]) << "line " << i + 1;

    ASSERT_EQ(prompt.shown().size(), 1);
    const ScriptedPrompt::Shown &done = prompt.shown()[0];
    EXPECT_EQ(done.icon, UserPrompt::Icon::Information);
    EXPECT_EQ(done.caption, QStringLiteral("Vorgang abgeschlossen"));
    EXPECT_EQ(done.text,
              QStringLiteral(
                  "Die Datenbank wurde exportiert.\r\n\r\nHinweise:\r\n- Fehlerhafter HTML-Code "
                  "eines einzigen Eintrags kann zur fehlerhaften Darstellung der gesamten "
                  "Datenbank führen.\r\n- Bei älteren Browsern können Darstellungsfehler "
                  "auftreten."));
}

TEST_F(HtmlExport, TitleGoesIntoHeadAndHeadlineOnlyWhenGiven)
{
    const QByteArray without = exported();
    EXPECT_FALSE(without.contains("<title>"));
    EXPECT_FALSE(without.contains("<h1"));
    EXPECT_FALSE(without.contains("<hr>"));
    EXPECT_TRUE(without.contains("\t\t<meta name=\"description\""));

    prompt.answer(UserPrompt::Answer::Yes); // overwrite out.htm
    const QByteArray with = exported(QString::fromUtf8("Über \"Tipps\""));
    EXPECT_TRUE(with.contains("\t<head>\r\n\t\t<title>\xDC" "ber &quot;Tipps&quot;</title>\r\n\t\t<meta "));
    EXPECT_TRUE(with.contains(
        "style=\"font:x-small Tahoma\">\r\n"
        "\t\t<h1 style=\"margin-bottom:2\" title=\"Erstellt mit QZ-Software Lexora-Datenbank\">"
        "&Uuml;ber &quot;Tipps&quot;</h1>\r\n\t\t<hr>\r\n\t\t<div id=\"wait\">"));

    // Characters that Windows-1252 lacks are kept as character references, not as "?".
    prompt.answer(UserPrompt::Answer::Yes);
    const QByteArray greek = exported(QString::fromUtf8("Ω-Notizen \U0001F600"));
    EXPECT_TRUE(greek.contains("<title>&#937;-Notizen &#128512;</title>"));
    EXPECT_TRUE(greek.contains("\">&#937;-Notizen &#128512;</h1>"));
}

TEST_F(HtmlExport, EscapesKeyAndItemNames)
{
    Node *key = db.topLevel().appendChild("\xC4rger");
    item(*key, "Zitat \"x\"", "");
    item(db.topLevel(), "\xE4\xF6\xFC\xC4\xD6\xDC\xDF <b>&", "");
    // A backslash, a line break or "</" would end the script's string literal or its block.
    db.topLevel().appendChild("C:\\ </script><!--<b>\r\nx");
    const QByteArray tree = treePart(exported());
    EXPECT_TRUE(tree.contains("\t\t\t\topenKey(\"&Auml;rger\");\r\n"));
    EXPECT_TRUE(tree.contains("\t\t\t\t\topenItem(\"Zitat &quot;x&quot;\");\r\n"));
    EXPECT_TRUE(tree.contains("openItem(\"&auml;&ouml;&uuml;&Auml;&Ouml;&Uuml;&szlig; &lt;b&gt;&amp;\");"));
    EXPECT_TRUE(tree.contains("openKey(\"C:\\\\ &lt;/script&gt;&lt;!--&lt;b&gt;\\r\\nx\");"));
}

// The script writes each name into the page between tags: read there, it is the name as typed.
TEST_F(HtmlExport, KeyAndItemNamesShowAsTyped)
{
    const auto &names = test::NamesWithMarkup;
    for (const char *name : names)
        item(*db.topLevel().appendChild(name), name, "<p>Inhalt</p>");
    const std::vector<NameCall> calls = nameCalls(treePart(exported()));
    ASSERT_EQ(calls.size(), 2 * std::size(names));
    for (std::size_t i = 0; i < std::size(names); ++i) {
        SCOPED_TRACE(names[i]);
        EXPECT_EQ(calls[2 * i].function, "openKey");
        EXPECT_EQ(calls[2 * i + 1].function, "openItem");
        EXPECT_EQ(DisplayedText(calls[2 * i].argument), Text(names[i]));
        EXPECT_EQ(DisplayedText(calls[2 * i + 1].argument), Text(names[i]));
    }
}

// The title is text in the page's head and in its headline.
TEST_F(HtmlExport, TheTitleShowsAsTyped)
{
    std::vector<QString> titles = {QString::fromUtf8("Wissen <Test> & \u2026"),
                                   QStringLiteral("&#937; ist kein Omega"),
                                   QString::fromUtf8("\u00dcber \"Tipps\"")};
    for (const char *name : test::NamesWithMarkup)
        titles.push_back(QString::fromLatin1(name));
    int n = 0;
    for (const QString &title : titles) {
        SCOPED_TRACE(title.toStdString());
        HtmlExportOptions options;
        options.fileName = path(QStringLiteral("titel%1.htm").arg(n++));
        options.title = title;
        ASSERT_EQ(run(options).outcome, HtmlExportResult::Exported);
        const QByteArray page = readFile(options.fileName);

        const qsizetype start = page.indexOf("<title>") + 7;
        const QByteArray head = page.mid(start, page.indexOf("</title>") - start);
        EXPECT_FALSE(head.contains('<')) << "markup in the title element: " << head.constData();
        EXPECT_EQ(DisplayedText(head), win1252::fromUnicode(title));

        const qsizetype h1 = page.indexOf("<h1 ");
        const QByteArray headline = page.mid(h1, page.indexOf("</h1>") + 5 - h1);
        EXPECT_EQ(DisplayedText(headline), win1252::fromUnicode(title)) << headline.constData();
    }
}

TEST_F(HtmlExport, NestedKeysAndItemsAreIndentedByLevel)
{
    Node *a = db.topLevel().appendChild("A");
    Node *b = a->appendChild("B");
    Node *c = b->appendChild("C");
    Node *d = item(*c, "D", "eins\r\n\tzwei");
    d->item()->AutoFormat = false;
    item(*d, "Kind", "nicht exportiert"); // children of items are not exported
    item(db.topLevel(), "E", "x");

    const QByteArray page = exported();
    EXPECT_TRUE(page.contains("\t\tvar countItems = 6;\r\n"));
    EXPECT_EQ(treePart(page), joined({
                                  {4, "openKey(\"A\");"},
                                  {5, "openKey(\"B\");"},
                                  {6, "openKey(\"C\");"},
                                  {7, "openItem(\"D\");"},
                                  {8, "</script>"},
                                  {0, "eins\r\n\tzwei"},
                                  {8, "<script>"},
                                  {7, "closeItem();"},
                                  {6, "closeKey();"},
                                  {5, "closeKey();"},
                                  {4, "closeKey();"},
                                  {4, "openItem(\"E\");"},
                                  {5, "</script>"},
                                  {0, "x"},
                                  {5, "<script>"},
                                  {4, "closeItem();"},
                              }));
}

TEST_F(HtmlExport, ItemPagesAreBuiltWithTheirTemplates)
{
    auto html = std::make_unique<TTemplate>();
    html->Name = "Rahmen";
    html->Code = "<html><style>%css%</style><h2>%headline%</h2>%text%</html>";
    auto css = std::make_unique<TTemplate>();
    css->Name = "CSS";
    css->Code = "p{}";
    Node *node = item(db.topLevel(), "Titel", "a\r\nb");
    node->item()->HTMLTemplate = html.get();
    node->item()->CSSTemplate = css.get();
    db.HTMLTemplates.push_back(std::move(html));
    db.CSSTemplates.push_back(std::move(css));

    EXPECT_TRUE(treePart(exported())
                    .contains("\r\n<html><style>p{}</style><h2>Titel</h2>a<br>b</html>\r\n"));
}

TEST_F(HtmlExport, FontSizeAndFamilyMakeTheBodyStyle)
{
    const struct {
        const char *family;
        const char *fallback;
        int size;
        const char *style;
    } cases[] = {
        {"Tahoma", "DejaVu Sans", 3, "font:medium Tahoma"},
        {"Tahoma", "", 0, "font:xx-small Tahoma"},
        {"Liberation Serif", "", 6, "font:xx-large Liberation Serif"},
        // No family chosen: the installed one the caller names, else the generic family.
        {"", "DejaVu Sans", 1, "font:x-small DejaVu Sans"},
        {"", "", 2, "font:small sans-serif"},
    };
    int n = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.style);
        HtmlExportOptions options;
        options.fileName = path(QStringLiteral("font%1.htm").arg(n++));
        options.fontFamily = QString::fromUtf8(c.family);
        options.fallbackFontFamily = QString::fromUtf8(c.fallback);
        options.fontSize = c.size;
        ASSERT_EQ(run(options).outcome, HtmlExportResult::Exported);
        EXPECT_TRUE(readFile(options.fileName)
                        .contains(QByteArray("\t<body bgColor=\"white\" onLoad=\"initObjs()\" style=\"")
                                  + c.style + "\">\r\n"));
    }
    EXPECT_EQ(exportFontSizeKeyword(5), "x-large");
    EXPECT_THROW(exportFontSizeKeyword(7), Error);
    EXPECT_THROW(exportFontSizeKeyword(-1), Error);
}

TEST_F(HtmlExport, RefusedPathsWriteNothing)
{
    const QString folderMessage = QStringLiteral("Das angegebene Verzeichnis kann nicht erstellt werden.");
    const QString nameMessage = QStringLiteral("Der angegebene Dateiname ist ungültig.");
    QFile blocker(path(QStringLiteral("datei")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const struct {
        QString file;
        QString message;
    } cases[] = {
        {QStringLiteral("bericht.htm"), folderMessage},
        {QString(), folderMessage},
        // A relative folder would depend on where the program runs.
        {QStringLiteral("relativ/bericht.htm"), folderMessage},
        {path(QStringLiteral("datei/unter/x.htm")), folderMessage},
        {path(QStringLiteral("neu/a?b.htm")), nameMessage},
        {path(QStringLiteral("neu2/")), nameMessage},
        {path(QStringLiteral("a:b.htm")), nameMessage},
        {path(QStringLiteral("a\\b.htm")), nameMessage},
        {path(QStringLiteral("a|b.htm")), nameMessage},
        {path(QStringLiteral("a\"b.htm")), nameMessage},
        {path(QStringLiteral("a<b>.htm")), nameMessage},
        {path(QStringLiteral("a*.htm")), nameMessage},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        HtmlExportOptions options;
        options.fileName = c.file;
        const HtmlExportResult result = run(options);
        EXPECT_EQ(result.outcome, HtmlExportResult::InvalidInput);
        EXPECT_EQ(result.inputError, c.message);
    }
    EXPECT_TRUE(prompt.shown().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("bericht.htm")));
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("relativ")));
    // The folder is created even when the file name is then refused.
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("neu"))).isDir());
    EXPECT_TRUE(QDir(path(QStringLiteral("neu"))).isEmpty());
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("neu2"))).isDir());
}

TEST_F(HtmlExport, MissingFoldersAreCreated)
{
    HtmlExportOptions options;
    options.fileName = path(QStringLiteral("x/y/z.htm"));
    EXPECT_EQ(run(options).outcome, HtmlExportResult::Exported);
    EXPECT_TRUE(readFile(options.fileName).startsWith("<html>\r\n"));
}

TEST_F(HtmlExport, OverwriteIsAskedAndNoKeepsTheFile)
{
    const QString file = path(QStringLiteral("alt.htm"));
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("vorher");
    }
    HtmlExportOptions options;
    options.fileName = file;
    prompt.answer(UserPrompt::Answer::No);
    EXPECT_EQ(run(options).outcome, HtmlExportResult::Declined);
    EXPECT_EQ(readFile(file), "vorher");
    ASSERT_EQ(prompt.shown().size(), 1);
    EXPECT_EQ(prompt.shown()[0].kind, QStringLiteral("question"));
    EXPECT_EQ(prompt.shown()[0].caption, QStringLiteral("Datei existiert bereits"));
    EXPECT_EQ(prompt.shown()[0].text, QStringLiteral("Die Datei\r\n") + file
                                          + QStringLiteral("\r\nexistiert bereits. Soll sie "
                                                           "überschrieben werden?"));

    prompt.answer(UserPrompt::Answer::Yes);
    EXPECT_EQ(run(options).outcome, HtmlExportResult::Exported);
    EXPECT_TRUE(readFile(file).startsWith("<html>\r\n"));
}

TEST_F(HtmlExport, AFileThatCannotBeWrittenShowsTheFailure)
{
    // The path names an existing folder: the question comes, then writing fails.
    QDir(dir.path()).mkdir(QStringLiteral("ordner.htm"));
    HtmlExportOptions options;
    options.fileName = path(QStringLiteral("ordner.htm"));
    prompt.answer(UserPrompt::Answer::Yes);
    EXPECT_EQ(run(options).outcome, HtmlExportResult::Failed);
    ASSERT_EQ(prompt.shown().size(), 2);
    EXPECT_EQ(prompt.shown()[1].icon, UserPrompt::Icon::Error);
    EXPECT_EQ(prompt.shown()[1].caption, QStringLiteral("Speichervorgang fehlgeschlagen"));
    EXPECT_EQ(prompt.shown()[1].text, QStringLiteral("Die Ausgabedatei konnte nicht erstellt werden."));
    EXPECT_TRUE(QFileInfo(options.fileName).isDir());
}
