#include "database/model.h"
#include "database/node_path.h"

#include <gtest/gtest.h>

using namespace lexora;

namespace {

// A(x) A(B(C)) A\B(D) "" (E): repeated names, a title holding the separator, an empty title.
struct PathTree {
    Database db;
    Node *firstA, *x, *secondA, *b, *c, *slashed, *d, *empty, *e;
    PathTree()
    {
        Node &top = db.topLevel();
        firstA = top.appendChild("A");
        x = firstA->appendChild("x");
        secondA = top.appendChild("A");
        b = secondA->appendChild("B");
        c = b->appendChild("C");
        slashed = top.appendChild("A\\B");
        d = slashed->appendChild("D");
        empty = top.appendChild("");
        e = empty->appendChild("E");
    }
};

} // namespace

TEST(NodePath, FindsTheFirstNodeInTreeOrderWhosePathMatches)
{
    PathTree t;
    const std::pair<const char *, Node *> cases[] = {
        {"A", t.firstA},          {"A\\x", t.x},      {"A\\B", t.b},     {"A\\B\\C", t.c},
        {"A\\B\\D", t.d},         {"\\E", t.e},       {"", t.empty},     {"a", nullptr},
        {"A\\", nullptr},         {"A\\B\\", nullptr}, {"A\\y", nullptr}, {"B", nullptr},
        {"A\\B\\C\\D", nullptr},  {"\\", nullptr},
    };
    for (const auto &[path, node] : cases)
        EXPECT_EQ(FindNodeByPath(t.db, path), node) << path;
}

TEST(NodePath, PathOfANodeLeadsBackToIt)
{
    PathTree t;
    EXPECT_EQ(NodePath(*t.c), Text("A\\B\\C"));
    EXPECT_EQ(NodePath(*t.firstA), Text("A"));
    EXPECT_EQ(NodePath(*t.e), Text("\\E"));
    for (Node *node : {t.x, t.c, t.d, t.e, t.secondA})
        EXPECT_EQ(FindNodeByPath(t.db, NodePath(*node)),
                  node == t.secondA ? t.firstA : node); // the first "A" wins
}

TEST(NodePath, KeyPathNamesTheKeysAboveEachEndedBySeparator)
{
    PathTree t;
    EXPECT_EQ(KeyPath(*t.c), Text("A\\B\\"));
    EXPECT_EQ(KeyPath(*t.d), Text("A\\B\\")) << "a title holding the separator reads the same";
    EXPECT_EQ(KeyPath(*t.e), Text("\\")) << "an empty key title still ends with the separator";
    EXPECT_EQ(KeyPath(*t.firstA), Text());
}
