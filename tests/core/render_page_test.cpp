#include "database/model.h"
#include "database/node_path.h"
#include "render/displayed_text.h"
#include "render/html_text.h"
#include "render/page_builder.h"
#include "support/names_with_markup.h"
#include "text/short_date.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace lexora;

namespace {

// Templates and a tree with every kind of node the placeholders look at:
//   Wurzel (key) > Mitte (key) > Blatt (item, two children), and the item "Oben" at the top.
struct PageFixture {
    Database db;
    Node *blatt = nullptr;

    PageFixture()
    {
        addTemplate(HtmlTemplates, "HTML #1", "<h>%headline%</h>%text%");
        addTemplate(HtmlTemplates, ".Box", "[%text%]");
        addTemplate(HtmlTemplates, ".Paren", "(%text%)");
        addTemplate(HtmlTemplates, "Code", "%>xhtml%><code>%text%</code>%<xhtml%");
        addTemplate(HtmlTemplates, "Raw", "%<%|%css%|a\r\n%text%");
        addTemplate(HtmlTemplates, "Indent", "<br>  %text%");
        addTemplate(HtmlTemplates, "Self", "S(%>xhtml%Self>%text%%<xhtml%)");
        addTemplate(HtmlTemplates, "PingA", "A(%>xhtml%PingB>%text%%<xhtml%)");
        addTemplate(HtmlTemplates, "PingB", "B(%>xhtml%PingA>%text%%<xhtml%)");
        addTemplate(HtmlTemplates, "Twice", "%text%+%text%");
        addTemplate(CssTemplates, "CSS #1", "body{}");
        addTemplate(CssTemplates, "Alt", "i{}");
        addTemplate(CssTemplates, "Lvl", "L%level%");
        addTemplate(CssTemplates, "Nest", "%xcss%Lvl>");
        db.DefaultHTMLTemplate = db.FindTemplate(HtmlTemplates, "HTML #1");
        db.DefaultCSSTemplate = db.FindTemplate(CssTemplates, "CSS #1");

        Node *wurzel = db.topLevel().appendChild("Wurzel");
        Node *mitte = wurzel->appendChild("Mitte");
        blatt = mitte->appendChild("Blatt");
        blatt->setItem(item());
        blatt->appendChild("Kind 1");
        blatt->appendChild("Kind 2");
        db.topLevel().appendChild("Oben")->setItem(item());

        db.IncludedFiles.push_back(std::make_unique<TInclFile>(TInclFile{"bild.png", 3}));
        db.IncludedFilesFolder = QStringLiteral("/tmp/lexora/1/");
        db.CurrentFileName = QStringLiteral("/home/u/Wissen \u00fcber.lxd");
    }

    void addTemplate(int list, const char *name, const char *code)
    {
        db.templates(list).push_back(std::make_unique<TTemplate>(TTemplate{name, code, {}}));
    }

    static std::unique_ptr<TTipItem> item()
    {
        auto item = std::make_unique<TTipItem>();
        item->Created = 45000.0;
        item->Modified = 45001.75;
        item->CreatedBy = "anna";
        item->ModifiedBy = "bernd";
        return item;
    }

    Text build(const Text &code, const char *nodePath, const char *html, const char *css,
               bool autoFormat)
    {
        const Node *node = FindNodeByPath(db, nodePath);
        if (!node) {
            ADD_FAILURE() << "no node " << nodePath;
            return {};
        }
        const PageTemplates templates{html ? db.FindTemplate(HtmlTemplates, html) : nullptr,
                                      css ? db.FindTemplate(CssTemplates, css) : nullptr};
        return BuildPage(db, code, templates, *node, node->item(), autoFormat);
    }
};

struct PageCase {
    const char *code;
    const char *expected;
    const char *html = nullptr; // the page templates; none unless named
    const char *css = nullptr;
    bool autoFormat = true;
    const char *node = "Wurzel\\Mitte\\Blatt";
};

constexpr const char *Key = "Wurzel\\Mitte";
constexpr const char *TopItem = "Oben";

const PageCase pageCases[] = {
    // Line breaks: only CR LF, "_" before wins over "_" after.
    {"a\r\nb", "a<br>b"},
    {"a_\r\nb", "a\r\nb"},
    {"a\r\n_b", "a\r\nb"},
    {"a_\r\n_b", "a\r\n_b"},
    {"\r\n_x", "\r\nx"},
    {"x_\r\n", "x\r\n"},
    {"\r\n", "<br>"},
    {"a\nb\rc\n\r", "a\nb\rc\n\r"},
    {"a\r\n_\r\nb", "a\r\n<br>b"},
    {"a__\r\n", "a_\r\n"},
    {"a\r\nb", "a\r\nb", nullptr, nullptr, false},
    // Non-breaking spaces after "<br>" and tabs, also with auto-format off.
    {"x\r\n   y", "x<br>&#160;&#160;&#160;y"},
    {"a<br>  b", "a<br>&#160;&#160;b", nullptr, nullptr, false},
    {"a\t  b\t c", "a\t&#160;&#160;b\t&#160;c"},
    {"<br>\t b <br>x", "<br>\t&#160;b <br>x"},
    {"<BR> x", "<BR> x"},
    // Escapes, one after the other.
    {"%<%b%>%", "&lt;b&gt;"},
    {"%&%%\"%", "&amp;&quot;"},
    {"%<%>%", "&lt;>%"},
    // The page templates.
    {"x", "<h>Blatt</h>x", "HTML #1"},
    {"%css%", "%css%"},
    {"%css%", "body{}", nullptr, "CSS #1"},
    {"%<%\r\nb", "%<%|i{}|a\r\n&lt;<br>b", "Raw", "Alt"},
    {"x", "<br>&#160;&#160;x", "Indent"},
    {"%text%", "%text%"},
    {"%Headline%%headline%", "%Headline%Blatt"},
    // CSS inserts; what a step inserted is seen by later steps only.
    {"%xcss%>", "body{}"},
    {"%xcss%Alt>", "i{}"},
    {"a%xcss%Nope>b", "ab"},
    {"x%xcss%y", "xbody{}y"},
    {"a%xcss%\r\n</style>b", "ab", nullptr, nullptr, false},
    {"%XCSS%Alt>", "%XCSS%Alt>"},
    {"%xcss%Lvl>", "L2"},
    {"%xcss%Nest>", "%xcss%Lvl>"},
    {"%le%xcss%Nope>vel%", "2"},
    // Template blocks.
    {"%>xhtml%.Box>in%<xhtml%", "[in]"},
    {"%>xhtml%>in%<xhtml%", "<h>Blatt</h>in"},
    {"%>xhtml%in%<xhtml%", "<h>Blatt</h>in"},
    {"x", "<h>Blatt</h><code>x</code>", "Code"},
    {"%>xhtml%HTML #1>in%<xhtml%", "<h>Blatt</h>in%<xhtml%", "HTML #1"},
    {"%>xhtml%Nope>in%<xhtml%", "in%<xhtml%"},
    {"%>xhtml%.box>in%<xhtml%", "in%<xhtml%"},
    {"a%>xhtml%.Box>in", "ain"},
    {"a%<xhtml%b", "a%<xhtml%b"},
    {"%>xhtml%.Box>1%>xhtml%.Paren>2%<xhtml%3%<xhtml%", "[1(2)3]"},
    {"%>xhtml%.Box>a%>xhtml%.Box>b%<xhtml%c%<xhtml%", "[a[b]c]"},
    {"%>xhtml%.Box>a%>xhtml%Nope>b%<xhtml%c%<xhtml%", "[ab%<xhtml%c]"},
    {"%>xhtml%.Box>a%<xhtml%%>xhtml%.Paren>b%<xhtml%", "[a](b)"},
    {"%>xhtml%Twice>%level%%<xhtml%", "2+2"},
    {"%>xhtml%.Box>\r\n%<xhtml%", "[<br>]"},
    // Self-nesting templates end: the inner block is left as it is.
    {"%>xhtml%Self>x%<xhtml%", "S(x%<xhtml%)"},
    {"%>xhtml%PingA>x%<xhtml%", "A(B(x%<xhtml%))"},
    // Dates, users, level, parents, children.
    {"%created%|%modified%", "15.03.2023|16.03.2023"},
    {"%createdby%/%modifiedby%", "anna/bernd"},
    {"%level%|%children%", "2|2"},
    {"%parents%0>|%parents%1>|%parents%-1>|%parents%-2>", "Mitte|Wurzel|Wurzel|Mitte"},
    {"[%parents%2>|%parents%-3>|%parents%x>|%parents%>|%parents% 0>|%parents%+0>]",
     "[|||||Mitte]"},
    {"a%parents%", "a"},
    {"%parents%0>|%parents%-1>|%parents%1>|%level%", "Wurzel|Wurzel||1", nullptr, nullptr, true,
     Key},
    {"[%parents%0>|%parents%-1>]%level%", "[|]0", nullptr, nullptr, true, TopItem},
    // A key's page leaves the item's placeholders as they are.
    {"%created%%modified%%createdby%%modifiedby%", "%created%%modified%%createdby%%modifiedby%",
     nullptr, nullptr, true, Key},
    {"%type%", "0", nullptr, nullptr, true, Key},
    {"%type%", "1"},
    // The open file and the included files.
    {"%filename%|%filepath%", "Wissen \xfc" "ber.lxd|/home/u/"},
    {"%file%bild.png>", "/tmp/lexora/1/bild.png"},
    {"[%file%fehlt.png>|%file%Bild.png>|%file%]", "[||]"},
    {"%file%%filename%>", ""},
    {"%unknown%|%<text%", "%unknown%|%<text%"},
};

} // namespace

TEST(RenderPage, EdgeCases)
{
    PageFixture f;
    for (const PageCase &c : pageCases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(f.build(c.code, c.node, c.html, c.css, c.autoFormat), Text(c.expected));
    }
}

TEST(RenderPage, NodePagesUseTheItemsOwnSettingsOrTheDefaultsForAKey)
{
    PageFixture f;
    TTipItem *item = f.blatt->item();
    item->Code = "a\r\nb%css%";
    item->HTMLTemplate = f.db.FindTemplate(HtmlTemplates, ".Box");
    item->CSSTemplate = f.db.FindTemplate(CssTemplates, "Alt");
    EXPECT_EQ(BuildNodePage(f.db, *f.blatt), Text("[a<br>bi{}]"));
    item->AutoFormat = false;
    EXPECT_EQ(BuildNodePage(f.db, *f.blatt), Text("[a\r\nbi{}]"));

    EXPECT_EQ(BuildNodePage(f.db, *FindNodeByPath(f.db, Key)), Text("<h>Mitte</h>"));
}

TEST(RenderPage, FilePlaceholdersOfANeverSavedDatabaseDisappear)
{
    PageFixture f;
    f.db.CurrentFileName.clear();
    EXPECT_EQ(f.build("[%filename%|%filepath%]", "Oben", nullptr, nullptr, true), Text("[|]"));
}

TEST(RenderPage, AppPathIsTheProgramsFolder)
{
    int argc = 1;
    char name[] = "render_page_test";
    char *argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    PageFixture f;
    const Text expected = QCoreApplication::applicationDirPath().toUtf8() + "/x";
    EXPECT_EQ(f.build("%apppath%x", "Oben", nullptr, nullptr, true), expected);
}

// Names, users and file names are text: the page shows them as the tree does, and they neither
// open elements nor end the attribute or the element they stand in.
TEST(RenderPage, InsertedNamesShowAsTyped)
{
    TTemplate frame{"Rahmen", "<h3 title=\"%headline%\">%headline%</h3>%text%<p>Ende</p>", {}};
    const Text code = "<p title=\"%parents%0>\">%parents%0></p><p>%createdby%</p><p>%modifiedby%</p>";
    for (const char *name : test::NamesWithMarkup) {
        SCOPED_TRACE(name);
        Database db;
        Node *node = db.topLevel().appendChild(name)->appendChild(name);
        auto item = std::make_unique<TTipItem>();
        item->CreatedBy = item->ModifiedBy = name;
        node->setItem(std::move(item));
        const Text page = BuildPage(db, code, {&frame, nullptr}, *node, node->item(), false);
        const Text shown = Text(name) + "\n\n";
        EXPECT_EQ(DisplayedText(page), shown.repeated(4) + "Ende") << page.constData();
    }
}

TEST(RenderPage, FileNameAndFolderShowAsTyped)
{
    PageFixture f;
    f.db.CurrentFileName = QStringLiteral("/home/Tom & Jerry <x>/\"Zitat\" & <b>.lxd");
    const Text page = f.build("<p>%filename%</p><p title=\"%filepath%\">%filepath%</p>", "Oben",
                              nullptr, nullptr, false);
    EXPECT_EQ(DisplayedText(page), Text("\"Zitat\" & <b>.lxd\n\n/home/Tom & Jerry <x>/"));
}

TEST(EscapeHtml, OnlyTheFourMarkupCharactersChange)
{
    const struct {
        char c;
        const char *reference;
    } escaped[] = {{'&', "&amp;"}, {'<', "&lt;"}, {'>', "&gt;"}, {'"', "&quot;"}};
    for (int byte = 0; byte < 256; ++byte) {
        const Text text(1, char(byte));
        Text expected = text;
        for (const auto &e : escaped)
            if (e.c == char(byte))
                expected = e.reference;
        EXPECT_EQ(escapeHtml(text), expected) << byte;
    }
    // Characters outside Windows-1252, a surrogate pair among them, stay in the Unicode form.
    EXPECT_EQ(escapeHtml(QString::fromUtf8("\u03a9 <x> & \"\U0001F600\"")),
              QString::fromUtf8("\u03a9 &lt;x&gt; &amp; &quot;\U0001F600&quot;"));
}

TEST(RenderPage, DeeplyNestedBlocksStopAtTheNestingLimit)
{
    PageFixture f;
    const int depth = 150;
    const Text page = f.build(Text("%>xhtml%.Box>").repeated(depth) + "x"
                                  + Text("%<xhtml%").repeated(depth),
                              "Oben", nullptr, nullptr, true);
    const int expanded = 100;
    EXPECT_EQ(page, Text("[").repeated(expanded) + "x" + Text("%<xhtml%").repeated(depth - expanded)
                        + Text("]").repeated(expanded));
}

TEST(RenderPage, TemplatesThatMultiplyEachOtherStopGrowing)
{
    // Each template names the one below it eight times: twelve levels would make 8^12 copies of
    // the lowest one, which takes time even when it is empty.
    const Text digits = Text("0123456789").repeated(100);
    for (const Text &lowest : {digits, Text()}) {
        SCOPED_TRACE(lowest.size());
        PageFixture f;
        f.addTemplate(HtmlTemplates, "E0", lowest.constData());
        for (int level = 1; level <= 12; ++level) {
            const Text block = "%>xhtml%E" + Text::number(level - 1) + ">%<xhtml%";
            f.db.templates(HtmlTemplates)
                .push_back(std::make_unique<TTemplate>(
                    TTemplate{"E" + Text::number(level), block.repeated(8), {}}));
        }
        const Text page = f.build("%>xhtml%E12>%<xhtml%", "Oben", nullptr, nullptr, true);
        EXPECT_LT(page.size(), qsizetype(64) << 20);
    }
}

TEST(RenderPage, PagesThatTemplatesMultiplyAreCutAtTheirBudgetWithANote)
{
    // A 15 KB text that a template names 1500 times: a page of 22 MB from 40 KB, where every
    // page may grow by 16 MB and 32 times its own size (blocks pay for reading their template
    // too, so they end sooner). The part before the note is the page as it would be, up to
    // where the budget ended.
    const Text unit = Text("Inhalt von 15 KB ").repeated(15 * 1024 / 17);
    const int copies = 1500;
    struct Case {
        const char *what;
        Text html, css, code, title;
        Text expected; // the page without a bound, as far as it matters
    };
    const Case cases[] = {
        {"text", Text("<i>%text%</i>").repeated(copies), {}, unit, "Oben",
         ("<i>" + unit + "</i>").repeated(copies)},
        {"css", Text("%css%").repeated(copies) + "%text%", unit, "x", "Oben",
         unit.repeated(copies) + "x"},
        {"xcss", Text("%xcss%Gross>").repeated(copies) + "%text%", {}, "x", "Oben",
         unit.repeated(copies) + "x"},
        {"headline", Text("%headline%").repeated(copies) + "%text%", {}, "x", unit,
         unit.repeated(copies) + "x"},
        {"blocks", Text("%>xhtml%.Gross>%<xhtml%").repeated(copies) + "%text%", {}, "x", "Oben",
         unit.repeated(copies) + "x"},
    };
    const Text note = "Lexora hat diese Seite hier abgeschnitten";
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        PageFixture f;
        f.addTemplate(HtmlTemplates, "Seite", c.html.constData());
        f.addTemplate(HtmlTemplates, ".Gross", unit.constData());
        f.addTemplate(CssTemplates, "Gross", unit.constData());
        Node *node = f.db.FindChildNode(nullptr, "Oben", false);
        node->setName(c.title);
        const PageTemplates templates{f.db.FindTemplate(HtmlTemplates, "Seite"),
                                      c.css.isEmpty() ? nullptr : f.db.FindTemplate(CssTemplates, "Gross")};
        const Text page = BuildPage(f.db, c.code, templates, *node, node->item(), true);

        const qsizetype own = c.code.size() + c.html.size();
        const qsizetype noteAt = page.lastIndexOf("<!-- --></script>");
        ASSERT_GE(noteAt, 0);
        EXPECT_LE(noteAt, own + (qsizetype(16) << 20) + 32 * own);
        EXPECT_GE(noteAt, qsizetype(8) << 20);
        EXPECT_TRUE(page.sliced(noteAt).contains(note));
        EXPECT_TRUE(page.endsWith("</p>"));
        EXPECT_TRUE(page.first(noteAt) == c.expected.first(noteAt));
    }
}

TEST(RenderPage, APageWithinItsBudgetHasNoNote)
{
    PageFixture f;
    const Text unit = Text("Inhalt ").repeated(1000);
    f.addTemplate(HtmlTemplates, "Seite", Text("%text%").repeated(100).constData());
    const Node *node = FindNodeByPath(f.db, "Oben");
    const Text page = BuildPage(f.db, unit, {f.db.FindTemplate(HtmlTemplates, "Seite"), nullptr},
                                *node, node->item(), true);
    EXPECT_EQ(page, unit.repeated(100));
}

namespace {

// The page building as its steps read, changing one text in place: slow, but plainly right. The
// page builder must give the same page while passing over the text once per step.
class LiteralBuilder {
public:
    LiteralBuilder(const Database &db, PageTemplates templates, const Node &node)
        : m_db(db), m_templates(templates), m_node(node), m_item(node.item())
    {
    }

    Text expand(Text s, bool lineBreaks, bool wrap)
    {
        if (lineBreaks) {
            for (qsizetype p = 0; (p = s.indexOf("\r\n", p)) >= 0; ++p) {
                if (p > 0 && s[p - 1] == '_')
                    s.remove(--p, 1);
                else if (p + 2 < s.size() && s[p + 2] == '_')
                    s.remove(p + 2, 1);
                else
                    s.replace(p, 2, "<br>");
            }
        }
        every(s, "%<%", "&lt;");
        every(s, "%>%", "&gt;");
        every(s, "%&%", "&amp;");
        every(s, "%\"%", "&quot;");
        if (wrap && m_templates.html) {
            Text code = m_templates.html->Code;
            every(code, "%text%", s);
            s = code;
        }
        for (const Text &marker : {Text("<br>"), Text("\t")}) {
            for (qsizetype i; (i = s.indexOf(marker + ' ')) >= 0;)
                for (qsizetype j = i + marker.size(); j < s.size() && s[j] == ' '; j += 6)
                    s.replace(j, 1, "&#160;");
        }
        if (m_templates.css)
            every(s, "%css%", m_templates.css->Code);
        every(s, "%headline%", m_node.name());
        arguments(s, "%xcss%", [&](const Text &name) {
            const TTemplate *t = name.isEmpty() ? m_db.DefaultCSSTemplate
                                                : m_db.FindTemplate(CssTemplates, name);
            return t ? t->Code : Text();
        });
        blocks(s);
        if (m_item) {
            every(s, "%created%", shortDate(m_item->Created).toLatin1());
            every(s, "%modified%", shortDate(m_item->Modified).toLatin1());
            every(s, "%createdby%", m_item->CreatedBy);
            every(s, "%modifiedby%", m_item->ModifiedBy);
        }
        const int level = m_node.level();
        every(s, "%level%", Text::number(level));
        arguments(s, "%parents%", [&](const Text &arg) {
            bool ok = false;
            int index = arg.toInt(&ok);
            if (!ok || arg.trimmed() != arg || (index < 0 && (index += level) < 0)
                || index >= level)
                return Text();
            const Node *n = &m_node;
            for (int up = 0; up <= index; ++up)
                n = n->parent();
            return n->name();
        });
        every(s, "%children%", Text::number(m_node.childCount()));
        every(s, "%filename%", "Wissen \xfc" "ber.lxd");
        every(s, "%filepath%", "/home/u/");
        every(s, "%apppath%", "");
        arguments(s, "%file%", [&](const Text &name) {
            return m_db.FindIncludedFile(name) ? "/tmp/lexora/1/" + name : Text();
        });
        every(s, "%type%", m_item ? "1" : "0");
        return s;
    }

private:
    static void every(Text &s, const Text &pattern, const Text &value)
    {
        for (qsizetype p = 0; (p = s.indexOf(pattern, p)) >= 0; p += value.size())
            s.replace(p, pattern.size(), value);
    }

    // Finds the pattern at or after pos and removes it with its argument.
    static bool take(Text &s, const Text &pattern, qsizetype &pos, Text &argument)
    {
        if ((pos = s.indexOf(pattern, pos)) < 0)
            return false;
        s.remove(pos, pattern.size());
        argument.clear();
        if (const qsizetype greater = s.indexOf('>', pos); greater >= 0) {
            argument = s.mid(pos, greater - pos);
            s.remove(pos, greater - pos + 1);
        }
        return true;
    }

    template <class Value>
    static void arguments(Text &s, const Text &pattern, Value value)
    {
        Text argument;
        for (qsizetype pos = 0; take(s, pattern, pos, argument);) {
            const Text v = value(argument);
            s.insert(pos, v);
            pos += v.size();
        }
    }

    static qsizetype blockEnd(const Text &s, qsizetype from)
    {
        for (int depth = 1;;) {
            const qsizetype opening = s.indexOf("%>xhtml%", from);
            const qsizetype closing = s.indexOf("%<xhtml%", from);
            if (closing < 0)
                return -1;
            if (opening >= 0 && opening < closing) {
                ++depth;
                from = opening + 1;
            } else if (--depth == 0) {
                return closing;
            } else {
                from = closing + 1;
            }
        }
    }

    void blocks(Text &s)
    {
        Text name;
        for (qsizetype pos = 0; take(s, "%>xhtml%", pos, name);) {
            const TTemplate *t = name.isEmpty() ? m_db.DefaultHTMLTemplate
                                                : m_db.FindTemplate(HtmlTemplates, name);
            if (!t || t == m_templates.html
                || std::find(m_expanding.begin(), m_expanding.end(), t) != m_expanding.end())
                continue;
            const qsizetype close = blockEnd(s, pos);
            if (close < 0)
                continue;
            m_expanding.push_back(t);
            Text code = expand(t->Code, false, false);
            m_expanding.pop_back();
            every(code, "%text%", expand(s.mid(pos, close - pos), false, false));
            s.replace(pos, close + 8 - pos, code);
            pos += code.size();
        }
    }

    const Database &m_db;
    const PageTemplates m_templates;
    const Node &m_node;
    const TTipItem *m_item;
    std::vector<const TTemplate *> m_expanding;
};

} // namespace

TEST(RenderPage, SameAsTheStepsChangingTheTextInPlace)
{
    PageFixture f;
    const char *pieces[] = {
        "%>xhtml%", "%<xhtml%", ".Box>", ".Paren>", "Self>", "PingA>", "Code>", "HTML #1>", ">",
        "%xcss%", "Lvl>", "Nest>", "%parents%", "0>", "-1>", "1>", "%le", "vel%", "%level%",
        "%headline%", "\r\n", "_", " ", "  ", "<br>", "<br", "\t", "%<%", "%>%", "%&%", "%\"%",
        "%", "%file%", "bild.png>", "%created%", "%createdby%", "%css%", "%text%", "a", "%type%",
        "%children%", "%filename%", "%xhtml%", "%<", "r>",
    };
    const char *pageTemplates[] = {nullptr, "HTML #1", "Code", "Raw", "Indent", "Self", "Twice"};
    const char *nodes[] = {"Wurzel\\Mitte\\Blatt", "Wurzel\\Mitte", "Oben"};
    std::mt19937 random(2026);
    for (int round = 0; round < 3000; ++round) {
        Text code;
        for (int i = int(random() % 30); i > 0; --i)
            code += pieces[random() % std::size(pieces)];
        const char *html = pageTemplates[random() % std::size(pageTemplates)];
        const char *css = random() % 2 ? "Alt" : nullptr;
        const Node *node = FindNodeByPath(f.db, nodes[random() % std::size(nodes)]);
        const bool autoFormat = random() % 2;
        const PageTemplates templates{html ? f.db.FindTemplate(HtmlTemplates, html) : nullptr,
                                      css ? f.db.FindTemplate(CssTemplates, css) : nullptr};
        LiteralBuilder literal(f.db, templates, *node);
        ASSERT_EQ(BuildPage(f.db, code, templates, *node, node->item(), autoFormat),
                  literal.expand(code, autoFormat, true))
            << "code: " << code.toStdString() << "\npage template: " << (html ? html : "none");
    }
}

TEST(ShortDate, DayPartInGermanFormat)
{
    EXPECT_EQ(shortDate(45000.0), QStringLiteral("15.03.2023"));
    EXPECT_EQ(shortDate(45000.999), QStringLiteral("15.03.2023"));
    EXPECT_EQ(shortDate(0.0), QStringLiteral("30.12.1899"));
    EXPECT_EQ(shortDate(-1.5), QStringLiteral("29.12.1899"));
    EXPECT_EQ(shortDate(std::nan("")), QString());
    EXPECT_EQ(shortDate(1e300), QString());
}
