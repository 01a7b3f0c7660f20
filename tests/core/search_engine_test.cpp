#include "search/search_engine.h"

#include "render/displayed_text.h"
#include "render/page_builder.h"
#include "support/names_with_markup.h"

#include <gtest/gtest.h>

#include <functional>
#include <string_view>

namespace lexora {
namespace {

// Top level:
//   A (key)
//     a1 (item)
//     B (key)
//       b1 (item)
//       C (key)
//         c1 (item)
//     a2 (item)
//       a2child (item below an item)
//   K (key)
//   t1 (item)
class SearchFixture : public ::testing::Test {
protected:
    SearchFixture()
    {
        Node &top = db.topLevel();
        A = top.appendChild("A");
        a1 = addItem(*A, "a1", "code of a1");
        B = A->appendChild("B");
        b1 = addItem(*B, "b1", "code of b1");
        C = B->appendChild("C");
        c1 = addItem(*C, "c1", "code of c1");
        a2 = addItem(*A, "a2", "code of a2");
        a2child = addItem(*a2, "a2child", "code below an item");
        K = top.appendChild("K");
        t1 = addItem(top, "t1", "code of t1");
    }

    Node *addItem(Node &parent, const char *name, const char *code)
    {
        Node *node = parent.appendChild(name);
        auto item = std::make_unique<TTipItem>();
        item->Code = code;
        item->Created = item->Modified = 45000;
        node->setItem(std::move(item));
        return node;
    }

    TTemplate *addTemplate(int list, const char *name, const char *code)
    {
        db.templates(list).push_back(std::make_unique<TTemplate>(TTemplate{name, code, ""}));
        return db.templates(list).back().get();
    }

    std::vector<SearchResult> run(SearchQuery &query)
    {
        std::vector<SearchResult> results{{K, PlaceName}}; // emptied first
        engine.RunSearch(query, results);
        return results;
    }

    std::vector<const Node *> nodesFound(SearchQuery query)
    {
        std::vector<const Node *> nodes;
        for (const SearchResult &r : run(query))
            nodes.push_back(r.node);
        return nodes;
    }

    static SearchQuery query(const char *keywords, std::vector<const Node *> scope = {nullptr})
    {
        SearchQuery q;
        q.keywordText = keywords;
        q.scope = std::move(scope);
        return q;
    }

    Database db;
    SearchEngine engine{db};
    Node *A, *a1, *B, *b1, *C, *c1, *a2, *a2child, *K, *t1;
};

using Nodes = std::vector<const Node *>;

TEST_F(SearchFixture, VisitsScopeEntriesInOrderAndTreeOrderBelowEach)
{
    EXPECT_EQ(nodesFound(query("*")), (Nodes{A, a1, B, b1, C, c1, a2, K, t1}))
        << "children of an item are not searched";
    EXPECT_EQ(nodesFound(query("*", {B})), (Nodes{b1, C, c1}))
        << "the scope key itself is not examined";
}

TEST_F(SearchFixture, RecursiveSearchDropsScopeEntriesBelowOthers)
{
    struct Case {
        const char *what;
        Nodes scope;
        Nodes reduced;
    } cases[] = {
        {"top level holds every key", {nullptr, A, C}, {nullptr}},
        {"top level last", {C, A, nullptr}, {nullptr}},
        {"key below an earlier key", {A, C}, {A}},
        {"key above a later key", {C, B}, {B}},
        {"unrelated keys stay", {K, B}, {K, B}},
    };
    for (const Case &c : cases) {
        SearchQuery q = query("*", c.scope);
        run(q);
        EXPECT_EQ(q.scope, c.reduced) << c.what;
    }
    SearchQuery q = query("c1", {nullptr, A, C});
    EXPECT_EQ(run(q), (std::vector<SearchResult>{{c1, PlaceName | PlaceCode}})) << "found once";
}

TEST_F(SearchFixture, WithoutRecursionOnlyDirectChildrenAndTheScopeStays)
{
    SearchQuery q = query("*", {C, A});
    q.recursive = false;
    EXPECT_EQ(nodesFound(q), (Nodes{c1, a1, B, a2}));
    run(q);
    EXPECT_EQ(q.scope, (Nodes{C, A}));
}

TEST_F(SearchFixture, PlacesDecideWhatIsExaminedAndReported)
{
    SearchQuery q = query("code of");
    q.places = {false, false, true, false};
    EXPECT_EQ(nodesFound(q), (Nodes{a1, b1, c1, a2, t1}));

    q = query("1");
    EXPECT_EQ(run(q), (std::vector<SearchResult>{{a1, PlaceName | PlaceCode},
                                                 {b1, PlaceName | PlaceCode},
                                                 {c1, PlaceName | PlaceCode},
                                                 {t1, PlaceName | PlaceCode}}));
    q.places = {true, false, false, false};
    EXPECT_EQ(nodesFound(q), Nodes{}) << "keys only";
    q.keywordText = "*";
    EXPECT_EQ(nodesFound(q), (Nodes{A, B, C, K}));
    q.places = {false, true, false, false};
    EXPECT_EQ(nodesFound(q), (Nodes{a1, b1, c1, a2, t1}));
}

TEST_F(SearchFixture, AllMatchingKeywordSkipsAnEmptyItem)
{
    Node *empty = addItem(*K, "", "");
    SearchQuery q = query("*", {K});
    q.places.itemTexts = true;
    EXPECT_EQ(nodesFound(q), Nodes{});
    empty->setName("x");
    EXPECT_EQ(nodesFound(q), Nodes{empty});
}

TEST_F(SearchFixture, ItemConditions)
{
    TTemplate *html = addTemplate(HtmlTemplates, "T", "");
    TTemplate *namesake = addTemplate(HtmlTemplates, "T", "");
    TTemplate *css = addTemplate(CssTemplates, "S", "");
    TTipItem &item = *t1->item();
    item.Created = 45000.999; // late on day 45000
    item.Modified = 45010.0;
    item.CreatedBy = "Anna";
    item.ModifiedBy = "Bert";
    item.HTMLTemplate = html;
    item.CSSTemplate = nullptr;
    item.AutoFormat = false;

    const struct {
        const char *what;
        std::function<void(SearchQuery &)> set;
        bool passes;
    } cases[] = {
        {"created is, same day", [](SearchQuery &q) { q.created = {true, 1, 45000.0}; }, true},
        {"created earlier than the same day", [](SearchQuery &q) { q.created = {true, 0, 45000.0}; },
         false},
        {"created earlier than the next day", [](SearchQuery &q) { q.created = {true, 0, 45001.0}; },
         true},
        {"created later than the day before", [](SearchQuery &q) { q.created = {true, 2, 44999.9}; },
         true},
        {"created later than the same day", [](SearchQuery &q) { q.created = {true, 2, 45000.5}; },
         false},
        {"modified is", [](SearchQuery &q) { q.modified = {true, 1, 45010.7}; }, true},
        {"modified earlier", [](SearchQuery &q) { q.modified = {true, 0, 45010.0}; }, false},
        {"modified later than an earlier day", [](SearchQuery &q) { q.modified = {true, 2, 45000}; },
         true},
        {"creator is", [](SearchQuery &q) { q.creator = {true, 0, "Anna"}; }, true},
        {"creator is, other case", [](SearchQuery &q) { q.creator = {true, 0, "anna"}; }, false},
        {"creator is not", [](SearchQuery &q) { q.creator = {true, 1, "Anna"}; }, false},
        {"modifier is not", [](SearchQuery &q) { q.modifier = {true, 1, "Anna"}; }, true},
        {"modifier is", [](SearchQuery &q) { q.modifier = {true, 0, "Anna"}; }, false},
        {"HTML template is that record", [&](SearchQuery &q) { q.htmlTemplate = {true, 0, html}; },
         true},
        {"HTML template is not that record", [&](SearchQuery &q) { q.htmlTemplate = {true, 1, html}; },
         false},
        {"HTML template is a namesake record",
         [&](SearchQuery &q) { q.htmlTemplate = {true, 0, namesake}; }, false},
        {"HTML template is none", [](SearchQuery &q) { q.htmlTemplate = {true, 0, nullptr}; }, false},
        {"CSS template is none", [](SearchQuery &q) { q.cssTemplate = {true, 0, nullptr}; }, true},
        {"CSS template is not none", [](SearchQuery &q) { q.cssTemplate = {true, 1, nullptr}; },
         false},
        {"CSS template is not S", [&](SearchQuery &q) { q.cssTemplate = {true, 1, css}; }, true},
        {"line breaks not on", [](SearchQuery &q) { q.autoFormat = {true, 1}; }, true},
        {"line breaks on", [](SearchQuery &q) { q.autoFormat = {true, 0}; }, false},
        {"a disabled condition is not tested", [](SearchQuery &q) { q.creator = {false, 0, "x"}; },
         true},
        {"one failing among passing ones", [](SearchQuery &q) {
             q.created = {true, 1, 45000};
             q.autoFormat = {true, 0};
         }, false},
    };
    for (const auto &c : cases) {
        SearchQuery q = query("t1");
        c.set(q);
        EXPECT_EQ(nodesFound(q), c.passes ? Nodes{t1} : Nodes{}) << c.what;
    }
}

TEST_F(SearchFixture, NoTemplateConditionKeepsItemsWithoutTemplate)
{
    TTemplate *tmpl = addTemplate(HtmlTemplates, "T", "%text%");
    a1->item()->HTMLTemplate = tmpl;
    SearchQuery q = query("code");
    q.htmlTemplate = {true, 0, nullptr};
    EXPECT_EQ(nodesFound(q), (Nodes{b1, c1, a2, t1}));
}

TEST_F(SearchFixture, KeysNeverFailAConditionAndAreNotSearchedForCode)
{
    SearchQuery q = query("*");
    q.places = {true, false, true, true};
    q.creator = {true, 0, "nobody"};
    EXPECT_EQ(nodesFound(q), (Nodes{A, B, C, K}));
}

class SearchTextFixture : public SearchFixture {
protected:
    SearchTextFixture()
    {
        page = addTemplate(HtmlTemplates, "Seite", "<html><body><h1>%headline%</h1>%text%</body></html>");
        block = addTemplate(HtmlTemplates, "Kasten", "<div>%text% im Kasten</div>");
        a1->item()->HTMLTemplate = page;
        a1->item()->Code = "<b>Hinweis</b>";
    }

    quint8 placesOf(const char *keywords, Node *node, bool wholeWords = false)
    {
        SearchQuery q = query(keywords);
        q.places.itemTexts = true;
        q.wholeWords = wholeWords;
        for (const SearchResult &r : run(q))
            if (r.node == node)
                return r.places;
        return 0;
    }

    TTemplate *page;
    TTemplate *block;
};

TEST_F(SearchTextFixture, TextPlaceSearchesThePageAsItReads)
{
    EXPECT_EQ(placesOf("Hinweis", a1, true), PlaceText) << "the tag bounds no word in the code";
    EXPECT_EQ(placesOf("Hinweis", a1), PlaceCode | PlaceText);
    EXPECT_EQ(placesOf("a1", a1), PlaceName | PlaceText) << "the headline is on the page";
    EXPECT_EQ(placesOf("body", a1), 0) << "markup is not displayed";
    EXPECT_EQ(engine.DisplayedText(*a1).trimmed(), "a1\nHinweis");
}

// The page shows a name as typed, so its text holds what the name holds.
TEST_F(SearchTextFixture, NamesWithMarkupAreFoundInThePageText)
{
    for (const char *name : test::NamesWithMarkup) {
        SCOPED_TRACE(name);
        a1->setName(name);
        // The whole name as one keyword: a quoted phrase, "" standing for ".
        const Text phrase = '"' + Text(name).replace("\"", "\"\"") + '"';
        SearchQuery q = query(phrase.constData());
        q.places = {false, false, false, true};
        EXPECT_EQ(nodesFound(q), Nodes{a1});
        EXPECT_EQ(engine.DisplayedText(*a1).trimmed(), Text(name) + "\nHinweis");
    }
    a1->setName("<div> zentrieren");
    EXPECT_EQ(placesOf("<div>", a1), PlaceName | PlaceText);
}

TEST_F(SearchTextFixture, ChangesToWhatThePageIsBuiltFromChangeTheText)
{
    const Text pageCode = page->Code;
    const Text blockCode = block->Code;
    auto restore = [&] {
        a1->item()->Code = "<b>Hinweis</b>";
        a1->item()->HTMLTemplate = page;
        a1->item()->CreatedBy.clear();
        page->Code = pageCode;
        block->Code = blockCode;
        a1->setName("a1");
        A->setName("A");
        while (a1->childCount() > 0)
            a1->takeChild(0);
        db.CurrentFileName.clear();
        db.IncludedFiles.clear();
        db.IncludedFilesFolder = "/nonexistent-lexora-folder/";
    };
    auto textHas = [&](const char *keyword) { return (placesOf(keyword, a1) & PlaceText) != 0; };

    // Each change touches one input only; the code that shows it is set before the cache is
    // warmed with the page as it was.
    const struct {
        const char *what;
        const char *keyword;
        std::function<void()> prepare;
        std::function<void()> change;
    } cases[] = {
        {"item code", "neu", [] {}, [&] { a1->item()->Code = "neu"; }},
        {"page template code", "neu", [] {}, [&] { page->Code = "neu %text%"; }},
        {"node title", "neu", [] {}, [&] { a1->setName("ganz neu"); }},
        {"ancestor title", "neu", [&] { a1->item()->Code = "%parents%0>"; },
         [&] { A->setName("neu"); }},
        {"template named in the code", "neu",
         [&] { a1->item()->Code = "%>xhtml%Kasten>x%<xhtml%"; },
         [&] { block->Code = "neu %text%"; }},
        {"choice of the page template", "Kasten", [] {},
         [&] { a1->item()->HTMLTemplate = block; }},
        {"file name", "neu", [&] { a1->item()->Code = "%filename%"; },
         [&] { db.CurrentFileName = "/tmp/neu.lxd"; }},
        {"included files", "neu", [&] { a1->item()->Code = "%file%neu.txt>"; },
         [&] { db.IncludedFiles.push_back(std::make_unique<TInclFile>(TInclFile{"neu.txt", 1})); }},
        {"creator", "neu", [&] { a1->item()->Code = "%createdby%"; },
         [&] { a1->item()->CreatedBy = "neu"; }},
        {"number of children", "\"Kinder: 1\"", [&] { a1->item()->Code = "Kinder: %children%"; },
         [&] { addItem(*a1, "child", ""); }},
    };
    for (const auto &c : cases) {
        restore();
        c.prepare();
        EXPECT_FALSE(textHas(c.keyword)) << c.what;
        c.change();
        EXPECT_TRUE(textHas(c.keyword)) << c.what;
    }
    restore();
}

// Every input of a page, changed alone, gives the page built anew: a cached text that ignored
// any one of them would show here.
TEST_F(SearchTextFixture, EveryInputOfThePageIsCheckedBeforeACachedTextIsUsed)
{
    TTemplate *cssOne = addTemplate(CssTemplates, "Eins", "eins");
    TTemplate *cssTwo = addTemplate(CssTemplates, "Zwei", "zwei");
    Node *deeper = A->appendChild("A"); // a key titled like a1's parent
    const auto moveA1 = [&](Node *to) { to->insertChild(to->childCount(), a1->container()->takeChild(a1->indexInParent())); };
    const struct {
        const char *what;
        const char *code;
        std::function<void()> change;
    } cases[] = {
        {"line breaks", "zwei\r\nZeilen", [&] { a1->item()->AutoFormat = false; }},
        {"choice of the CSS template", "%css%", [&] { a1->item()->CSSTemplate = cssTwo; }},
        {"creation date", "%created%", [&] { a1->item()->Created = 45001; }},
        {"modification date", "%modified%", [&] { a1->item()->Modified = 45001; }},
        {"last editor", "%modifiedby%", [&] { a1->item()->ModifiedBy = "neu"; }},
        {"template name", "%>xhtml%Kasten>x%<xhtml%", [&] { block->Name = "Anders"; }},
        {"default template", "%>xhtml%>x%<xhtml%", [&] { db.DefaultHTMLTemplate = block; }},
        {"default CSS template", "%xcss%>", [&] { db.DefaultCSSTemplate = cssTwo; }},
        {"included-files folder", "%file%neu.txt>",
         [&] { db.IncludedFilesFolder = "/anderer-lexora-ordner/"; }},
        {"one level deeper", "%level%", [&] { moveA1(deeper); }},
        {"one level up again", "%level%", [&] { moveA1(A); }},
    };
    db.DefaultHTMLTemplate = page;
    db.DefaultCSSTemplate = cssOne;
    db.IncludedFiles.push_back(std::make_unique<TInclFile>(TInclFile{"neu.txt", 1}));
    db.IncludedFilesFolder = "/lexora-ordner/";
    a1->item()->CSSTemplate = cssOne;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        a1->item()->Code = c.code;
        a1->item()->AutoFormat = true;
        if (std::string_view(c.what) == "one level up again")
            moveA1(deeper);
        const Text before = engine.DisplayedText(*a1);
        ASSERT_EQ(before, DisplayedText(BuildNodePage(db, *a1)));
        c.change();
        const Text after = engine.DisplayedText(*a1);
        EXPECT_NE(after, before) << "the change must show on the page";
        EXPECT_EQ(after, DisplayedText(BuildNodePage(db, *a1)));
    }
}

TEST_F(SearchTextFixture, ForgettingOnlyFreesMemory)
{
    EXPECT_EQ(placesOf("Hinweis", a1), PlaceCode | PlaceText);
    engine.forgetNode(*A);
    const QByteArray displayed = engine.DisplayedText(*a1);
    EXPECT_TRUE(displayed.contains("Hinweis"));
    engine.clear();
    EXPECT_EQ(engine.DisplayedText(*a1), displayed);
}

TEST_F(SearchTextFixture, ManyPagesBuiltAtOnceAreThePagesOfTheirItems)
{
    // Enough items that a first search builds their pages side by side.
    std::vector<Node *> many;
    for (int i = 0; i < 1000; ++i) {
        many.push_back(addItem(*K, QByteArray("n" + QByteArray::number(i)).constData(),
                               QByteArray("Wort" + QByteArray::number(i)).constData()));
        many.back()->item()->HTMLTemplate = i % 2 ? page : block;
    }
    SearchQuery q = query("wort99", {K});
    q.places = {false, false, false, true};
    EXPECT_EQ(nodesFound(q), (Nodes{many[99], many[990], many[991], many[992], many[993],
                                    many[994], many[995], many[996], many[997], many[998],
                                    many[999]}));
    for (Node *node : many)
        ASSERT_EQ(engine.DisplayedText(*node), DisplayedText(BuildNodePage(db, *node)));
    many[5]->item()->Code = "wort99";
    EXPECT_EQ(nodesFound(q).front(), many[5]);
}

// A watcher sees the results grow in their final order and can end the search between slices.
TEST_F(SearchTextFixture, AMonitorFollowsTheSearchAndCanEndIt)
{
    // More nodes than the engine takes in one slice, with and without item texts. Only these
    // items hold the keyword.
    std::vector<Node *> many;
    for (int i = 0; i < 9000; ++i)
        many.push_back(addItem(*K, "viele", "Wort"));
    struct Watcher : SearchMonitor {
        bool cancelled() const override { return stopAfter >= 0 && calls > stopAfter; }
        void progress(qint64 done, qint64 total, const std::vector<SearchResult> &results) override
        {
            EXPECT_GT(done, lastDone);
            EXPECT_LE(done, total);
            EXPECT_GE(results.size(), seen.size());
            EXPECT_TRUE(std::equal(seen.begin(), seen.end(), results.begin()));
            seen = results;
            lastDone = done;
            lastTotal = total;
            ++calls;
        }
        int stopAfter = -1;
        int calls = 0;
        qint64 lastDone = 0;
        qint64 lastTotal = 0;
        std::vector<SearchResult> seen;
    };
    for (bool texts : {false, true}) {
        SCOPED_TRACE(texts ? "with texts" : "names and codes");
        SearchQuery q = query("wort");
        q.places.itemTexts = texts;
        std::vector<SearchResult> all;
        for (Node *node : many)
            all.push_back({node, quint8(texts ? PlaceCode | PlaceText : PlaceCode)});
        std::vector<SearchResult> unwatched;
        EXPECT_TRUE(engine.RunSearch(q, unwatched));
        EXPECT_EQ(unwatched.size(), all.size());
        EXPECT_EQ(unwatched, all);

        Watcher whole;
        std::vector<SearchResult> results;
        EXPECT_TRUE(engine.RunSearch(q, results, &whole));
        EXPECT_EQ(results, all);
        EXPECT_EQ(whole.seen, all);
        EXPECT_GT(whole.calls, 0);
        EXPECT_EQ(whole.lastDone, whole.lastTotal);

        Watcher stopping;
        stopping.stopAfter = 0;
        EXPECT_FALSE(engine.RunSearch(q, results, &stopping));
        EXPECT_EQ(stopping.calls, 1);
        EXPECT_LT(results.size(), all.size());
        EXPECT_TRUE(std::equal(results.begin(), results.end(), all.begin()));
    }
}

} // namespace
} // namespace lexora
