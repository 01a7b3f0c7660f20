#include "database/model.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lexora;

namespace {

// A tree: A(A1(A1a), A2), B, A   — a second top-level "A" on purpose.
struct SampleTree {
    Database db;
    Node *a, *a1, *a1a, *a2, *b, *a_again;
    SampleTree()
    {
        Node &top = db.topLevel();
        a = top.appendChild("A");
        a1 = a->appendChild("A1");
        a1a = a1->appendChild("A1a");
        a2 = a->appendChild("A2");
        b = top.appendChild("B");
        a_again = top.appendChild("A");
    }
};

} // namespace

TEST(Model, ParentsLevelsAndSiblingOrder)
{
    SampleTree t;
    EXPECT_EQ(t.a->parent(), nullptr);
    EXPECT_EQ(t.a1a->parent(), t.a1);
    EXPECT_EQ(t.a1a->level(), 2);
    EXPECT_EQ(t.b->indexInParent(), 1);
    EXPECT_TRUE(t.a->isAncestorOf(t.a1a));
    EXPECT_FALSE(t.a1a->isAncestorOf(t.a));
    EXPECT_FALSE(t.a->isAncestorOf(t.a));
}

TEST(Model, AbsoluteIndexIsPreOrder)
{
    SampleTree t;
    const std::vector<Node *> expected{t.a, t.a1, t.a1a, t.a2, t.b, t.a_again};
    EXPECT_EQ(t.db.preorder(), expected);
    EXPECT_EQ(t.db.absoluteIndex(t.a2), 3);
    Node stranger("x");
    EXPECT_EQ(t.db.absoluteIndex(&stranger), -1);
}

TEST(Model, FindChildNodeTakesTheFirstExactMatchOrCreatesAKey)
{
    SampleTree t;
    EXPECT_EQ(t.db.FindChildNode(nullptr, "A", false), t.a);
    EXPECT_EQ(t.db.FindChildNode(nullptr, "a", false), nullptr);
    EXPECT_EQ(t.db.FindChildNode(t.a, "A2", false), t.a2);
    Node *created = t.db.FindChildNode(t.a, "A3", true);
    ASSERT_NE(created, nullptr);
    EXPECT_FALSE(created->isItem());
    EXPECT_EQ(created->parent(), t.a);
    EXPECT_EQ(t.a->child(2), created);
}

TEST(Model, NodesKeepTheirIdentityWhenMoved)
{
    SampleTree t;
    t.db.TrayNodes.push_back(t.a1a);
    std::unique_ptr<Node> moved = t.a1->takeChild(0);
    t.b->insertChild(0, std::move(moved));
    EXPECT_EQ(t.b->child(0), t.a1a);
    EXPECT_EQ(t.a1a->parent(), t.b);
    EXPECT_EQ(t.db.TrayNodes.front(), t.a1a);
}

TEST(Model, TemplateLookupsAreCaseSensitive)
{
    Database db;
    db.HTMLTemplates.push_back(std::make_unique<TTemplate>(TTemplate{"Code", "c", ""}));
    db.HTMLTemplates.push_back(std::make_unique<TTemplate>(TTemplate{"code", "d", ""}));
    EXPECT_EQ(db.FindTemplate(HtmlTemplates, "code"), db.HTMLTemplates[1].get());
    EXPECT_EQ(db.FindTemplate(CssTemplates, "code"), nullptr);
    EXPECT_EQ(db.templateIndex(HtmlTemplates, db.HTMLTemplates[1].get()), 1);
    EXPECT_EQ(db.templateIndex(HtmlTemplates, nullptr), -1);
}

TEST(Model, ClearDatabaseEmptiesEverythingAndDeletesIncludedBytes)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    SampleTree t;
    t.db.IncludedFilesFolder = dir.path() + QLatin1Char('/');
    t.db.IncludedFiles.push_back(std::make_unique<TInclFile>(TInclFile{"b\xE4r.txt", 3}));
    QFile f(t.db.includedFilePath("b\xE4r.txt"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("abc");
    f.close();
    t.db.HTMLTemplates.push_back(std::make_unique<TTemplate>());
    t.db.DefaultHTMLTemplate = t.db.HTMLTemplates.front().get();
    t.db.Encrypted = true;
    t.db.Password = "pw";
    t.db.TrayNodes.push_back(t.b);

    t.db.ClearDatabase();

    EXPECT_EQ(t.db.topLevel().childCount(), 0);
    EXPECT_TRUE(t.db.HTMLTemplates.empty());
    EXPECT_EQ(t.db.DefaultHTMLTemplate, nullptr);
    EXPECT_TRUE(t.db.IncludedFiles.empty());
    EXPECT_TRUE(t.db.TrayNodes.empty());
    EXPECT_FALSE(t.db.Encrypted);
    EXPECT_TRUE(t.db.Password.isEmpty());
    EXPECT_FALSE(QFile::exists(f.fileName()));
    EXPECT_TRUE(QDir(dir.path()).exists()); // the folder stays until the program ends
}
