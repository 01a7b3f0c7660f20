// The document's template edits: the name checks, the rename that rewrites references in item
// and template code, delete with the reassignment of the items, the default and the list order;
// and a save and load after renames that leaves every page as it was.
#include "document/document.h"

#include "database/file_format.h"
#include "database/win1252.h"
#include "render/page_builder.h"
#include "support/database_fixtures.h"
#include "support/scripted_prompt.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

using namespace lexora;
using namespace lexora::test;

namespace {

Text t(const char *utf8)
{
    return win1252::fromUnicode(QString::fromUtf8(utf8));
}

class DocumentTemplates : public ::testing::Test {
protected:
    DocumentTemplates()
    {
        folder = dir.path() + QStringLiteral("/files/");
        QDir().mkpath(folder);
        doc.emplace(folder, "anna", prompt, progress);
    }

    TTemplate *add(int list, const char *name, const char *code = "", bool isDefault = false)
    {
        TTemplate *saved = doc->saveTemplate(list, nullptr, {t(name), {}, t(code), isDefault});
        EXPECT_NE(saved, nullptr) << name;
        return saved;
    }
    TTipItem *addItem(const char *code, TTemplate *html = nullptr, TTemplate *css = nullptr,
                      Node *parent = nullptr)
    {
        auto item = std::make_unique<TTipItem>();
        item->Code = t(code);
        item->HTMLTemplate = html;
        item->CSSTemplate = css;
        lastItemNode = doc->appendNode(parent, "Eintrag", std::move(item));
        return lastItemNode->item();
    }
    QStringList names(int list) const
    {
        QStringList out;
        for (const auto &tmpl : doc->database().templates(list))
            out.append(win1252::toUnicode(tmpl->Name));
        return out;
    }
    bool rename(int list, TTemplate *tmpl, const char *name)
    {
        return doc->saveTemplate(list, tmpl, {t(name), tmpl->Description, tmpl->Code,
                                              doc->database().defaultTemplate(list) == tmpl})
               != nullptr;
    }

    QTemporaryDir dir;
    QString folder;
    ScriptedPrompt prompt;
    RecordingProgress progress;
    std::optional<Document> doc;
    Node *lastItemNode = nullptr; // the node of the item addItem made last
};

TEST_F(DocumentTemplates, TheFirstFailingNameCheckRefusesTheSaveAndChangesNothing)
{
    add(CssTemplates, "Std");
    TTemplate *blue = add(CssTemplates, "blau");
    add(HtmlTemplates, "Rahmen");
    doc->setModified(false);
    const QString taken =
        QStringLiteral("Der Name \"Std\" ist bereits von einer anderen Vorlage belegt.");
    const QString brackets =
        QStringLiteral("Der Name darf die folgenden Zeichen nicht enthalten:\r\n< >");
    struct Case {
        const char *name;
        TTemplate *edited;
        QString problem;
    } cases[] = {
        {"", nullptr, QStringLiteral("Sie müssen einen Namen für die Vorlage eingeben.")},
        {"", blue, QStringLiteral("Sie müssen einen Namen für die Vorlage eingeben.")},
        {"a<b", nullptr, brackets},
        {"a>b", nullptr, brackets},
        {"<>", nullptr, brackets}, // "<" is checked before a taken name
        {"Std", nullptr, taken},
        {"Std", blue, taken},
        {"std", nullptr, {}},    // names compare exactly
        {"Rahmen", nullptr, {}}, // the other list's names do not count
        {"blau", blue, {}},      // a template keeps its own name
        {"Blau", nullptr, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(doc->templateNameProblem(CssTemplates, c.edited, t(c.name)), c.problem);
        if (c.problem.isEmpty())
            continue;
        EXPECT_EQ(doc->saveTemplate(CssTemplates, c.edited, {t(c.name), "d", "c", true}), nullptr);
        EXPECT_EQ(names(CssTemplates), (QStringList{"blau", "Std"}));
        EXPECT_EQ(blue->Code, Text());
        EXPECT_EQ(doc->database().DefaultCSSTemplate, nullptr);
        EXPECT_FALSE(doc->isModified());
    }
}

TEST_F(DocumentTemplates, ARenameRewritesExactReferencesInItemsAndOtherHtmlTemplates)
{
    struct Case {
        int list;
        const char *from;
        const char *to;
        const char *code;      // of an item, and of another HTML template
        const char *rewritten; // what it becomes
    } cases[] = {
        {CssTemplates, "Std", "Blau", "<p>%xcss%Std></p>%xcss%Std>", "<p>%xcss%Blau></p>%xcss%Blau>"},
        {CssTemplates, "Std", "Blau", "%xcss%Std %xcss%std> %xcss%Stdx> %css%",
         "%xcss%Std %xcss%std> %xcss%Stdx> %css%"},
        {CssTemplates, "Std", "STD", "%xcss%Std>", "%xcss%STD>"}, // letter case is a change
        {CssTemplates, "Std", "Blau", "%>xhtml%Std>x%<xhtml%", "%>xhtml%Std>x%<xhtml%"},
        {HtmlTemplates, "Rahmen", "Box", "%>xhtml%Rahmen>Inhalt%<xhtml% %>xhtml%rahmen>%<xhtml%",
         "%>xhtml%Box>Inhalt%<xhtml% %>xhtml%rahmen>%<xhtml%"},
        {HtmlTemplates, "Rahmen", "Box", "%xcss%Rahmen>", "%xcss%Rahmen>"},
        {HtmlTemplates, "Ä", "Ö", "%>xhtml%Ä>ä%<xhtml%", "%>xhtml%Ö>ä%<xhtml%"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.from) + " -> " + c.to + ": " + c.code);
        doc.reset();
        progress = {};
        doc.emplace(folder, "anna", prompt, progress);
        TTemplate *renamed = add(c.list, c.from, c.code, true);
        TTemplate *otherHtml = add(HtmlTemplates, "Andere", c.code);
        TTemplate *css = add(CssTemplates, "Zweite", c.code);
        TTipItem *item = addItem(c.code);
        TTipItem *nested = addItem(c.code, nullptr, nullptr, lastItemNode);
        doc->setModified(false);
        ASSERT_TRUE(rename(c.list, renamed, c.to));
        EXPECT_EQ(item->Code, t(c.rewritten));
        EXPECT_EQ(nested->Code, t(c.rewritten));
        EXPECT_EQ(otherHtml->Code, t(c.rewritten));
        EXPECT_EQ(renamed->Code, t(c.code)) << "the saved template takes its code from the fields";
        if (css != renamed) {
            EXPECT_EQ(css->Code, t(c.code)) << "CSS templates are never rewritten";
        }
        EXPECT_EQ(renamed->Name, t(c.to));
        EXPECT_EQ(doc->database().defaultTemplate(c.list), renamed);
        EXPECT_TRUE(doc->isModified());
        EXPECT_EQ(progress.captions, QStringList{"Daten aktualisieren"});
        EXPECT_EQ(progress.texts, QStringList{"Daten werden aktualisiert..."});
        EXPECT_EQ(progress.ends, 1);
        ASSERT_FALSE(progress.steps.isEmpty());
        EXPECT_EQ(progress.steps.last(), progress.totals.last());
    }
}

TEST_F(DocumentTemplates, SavingUnderTheSameNameRewritesNothingAndShowsNoProgress)
{
    TTemplate *std = add(CssTemplates, "Std", "a {}");
    TTipItem *item = addItem("%xcss%Std>");
    int announced = 0;
    QObject::connect(&*doc, &Document::templatesChanged, [&] { ++announced; });
    EXPECT_EQ(doc->saveTemplate(CssTemplates, std, {"Std", "neu", "b {}", false}), std);
    EXPECT_EQ(std->Description, Text("neu"));
    EXPECT_EQ(std->Code, Text("b {}"));
    EXPECT_EQ(item->Code, Text("%xcss%Std>"));
    EXPECT_TRUE(progress.captions.isEmpty());
    EXPECT_EQ(announced, 1);
}

TEST_F(DocumentTemplates, SavedTemplatesAreSortedByNameAsAGermanReaderExpects)
{
    for (const char *name : {"Zebra", "blau", "Äpfel", "Blau", "apfel", "Mitte"})
        add(CssTemplates, name);
    EXPECT_EQ(names(CssTemplates),
              (QStringList{"apfel", "Äpfel", "blau", "Blau", "Mitte", "Zebra"}));
    TTemplate *zebra = doc->database().CSSTemplates.back().get();
    ASSERT_TRUE(rename(CssTemplates, zebra, "Aal"));
    EXPECT_EQ(names(CssTemplates).first(), QStringLiteral("Aal"));
    EXPECT_EQ(doc->database().CSSTemplates.front().get(), zebra) << "the record moves, not the data";
}

TEST_F(DocumentTemplates, TheDefaultFollowsTheCheckBoxOfTheSave)
{
    TTemplate *first = add(HtmlTemplates, "Erste", "", true);
    EXPECT_EQ(doc->database().DefaultHTMLTemplate, first);
    TTemplate *second = add(HtmlTemplates, "Zweite", "", true);
    EXPECT_EQ(doc->database().DefaultHTMLTemplate, second);
    EXPECT_EQ(doc->saveTemplate(HtmlTemplates, first, {"Erste", {}, {}, false}), first);
    EXPECT_EQ(doc->database().DefaultHTMLTemplate, second) << "another default stays";
    EXPECT_EQ(doc->saveTemplate(HtmlTemplates, second, {"Zweite", {}, {}, false}), second);
    EXPECT_EQ(doc->database().DefaultHTMLTemplate, nullptr);
    EXPECT_EQ(doc->database().DefaultCSSTemplate, nullptr) << "the other list is not touched";
}

TEST_F(DocumentTemplates, DeleteGivesTheItemsTheListsDefaultAndKeepsReferencesInCode)
{
    struct Case {
        bool deleteDefault;
    } cases[] = {{true}, {false}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.deleteDefault ? "the default" : "not the default");
        doc.reset();
        doc.emplace(folder, "anna", prompt, progress);
        TTemplate *standard = add(CssTemplates, "Std", "", true);
        TTemplate *blue = add(CssTemplates, "Blau");
        TTemplate *html = add(HtmlTemplates, "Seite", "", true);
        TTemplate *gone = c.deleteDefault ? standard : blue;
        TTemplate *kept = c.deleteDefault ? blue : standard;
        TTipItem *usesGone = addItem("%xcss%Blau> %xcss%Std>", html, gone);
        TTipItem *usesKept = addItem("", html, kept);
        doc->setModified(false);
        int announced = 0;
        QObject::connect(&*doc, &Document::templatesChanged, [&] { ++announced; });
        doc->deleteTemplate(CssTemplates, gone);
        EXPECT_EQ(names(CssTemplates), QStringList{win1252::toUnicode(kept->Name)});
        EXPECT_EQ(usesGone->CSSTemplate, c.deleteDefault ? nullptr : standard);
        EXPECT_EQ(usesKept->CSSTemplate, kept);
        EXPECT_EQ(usesGone->HTMLTemplate, html);
        EXPECT_EQ(doc->database().DefaultCSSTemplate, c.deleteDefault ? nullptr : standard);
        EXPECT_EQ(doc->database().DefaultHTMLTemplate, html);
        EXPECT_EQ(usesGone->Code, Text("%xcss%Blau> %xcss%Std>"));
        EXPECT_TRUE(doc->isModified());
        EXPECT_EQ(announced, 1);
    }
}

// Renaming templates, then saving and loading the database, shows every page as before.
TEST_F(DocumentTemplates, PagesRenderAsBeforeAfterRenamesAndASaveAndLoad)
{
    TTemplate *css = add(CssTemplates, "Std", "p { color: red }", true);
    add(CssTemplates, "Klein", "p { font-size: 8pt }");
    TTemplate *box = add(HtmlTemplates, "Rahmen", "<div class=\"box\">%text%</div>");
    TTemplate *page = add(HtmlTemplates, "Seite",
                          "<html><style>%css% %xcss%Klein></style><body>%text%"
                          "%>xhtml%Rahmen>Fuß%<xhtml%</body></html>",
                          true);
    addItem("Text mit %xcss%Std> und %>xhtml%Rahmen>innen%<xhtml%", page, css);
    addItem("Nur %>xhtml%Rahmen>Ä%<xhtml% und %xcss%Klein>", page, css);
    addItem("Im Rahmen %xcss%Std>", box, css);
    const auto pages = [](const Database &db) {
        QStringList out;
        for (const Node *node : db.preorder())
            out.append(win1252::toUnicode(BuildNodePage(db, *node)));
        return out.join(QStringLiteral("\n----\n")).toStdString();
    };
    const std::string before = pages(doc->database());

    ASSERT_TRUE(rename(CssTemplates, css, "Blau"));
    ASSERT_TRUE(rename(HtmlTemplates, box, "Box"));
    ASSERT_TRUE(rename(CssTemplates, doc->database().FindTemplate(CssTemplates, "Klein"), "klein"));
    EXPECT_EQ(pages(doc->database()), before);

    const QString file = dir.path() + QStringLiteral("/umbenannt.lxd");
    doc->saveAs(file);
    Document loaded(dir.path() + QStringLiteral("/other/"), "bert", prompt, progress);
    ASSERT_EQ(loaded.open(file), Document::OpenResult::Opened);
    EXPECT_EQ(pages(loaded.database()), before);
    EXPECT_EQ(loaded.database().FindTemplate(HtmlTemplates, "Box")->Code, box->Code);
}

} // namespace
