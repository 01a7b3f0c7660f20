#include "database/model.h"
#include "database/node_path.h"
#include "render/page_builder.h"
#include "text/short_date.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <cmath>

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

TEST(ShortDate, DayPartInGermanFormat)
{
    EXPECT_EQ(shortDate(45000.0), QStringLiteral("15.03.2023"));
    EXPECT_EQ(shortDate(45000.999), QStringLiteral("15.03.2023"));
    EXPECT_EQ(shortDate(0.0), QStringLiteral("30.12.1899"));
    EXPECT_EQ(shortDate(-1.5), QStringLiteral("29.12.1899"));
    EXPECT_EQ(shortDate(std::nan("")), QString());
    EXPECT_EQ(shortDate(1e300), QString());
}
