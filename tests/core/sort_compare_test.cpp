#include "sorting/sort_criteria.h"
#include "sorting/tree_sort.h"

#include <gtest/gtest.h>

namespace lexora {
namespace {

int sign(int v)
{
    return (v > 0) - (v < 0);
}

Node *addKey(Node &parent, const char *name)
{
    return parent.appendChild(name);
}

Node *addItem(Node &parent, const char *name, DateTime created = 45000, DateTime modified = 45000)
{
    Node *node = parent.appendChild(name);
    auto item = std::make_unique<TTipItem>();
    item->Created = created;
    item->Modified = modified;
    node->setItem(std::move(item));
    return node;
}

std::vector<QByteArray> childNames(const Node &parent)
{
    std::vector<QByteArray> names;
    for (const Node &child : parent.children())
        names.push_back(child.name());
    return names;
}

TEST(TreeView_ItemsCompare, EachCriterionAndMode)
{
    Database db;
    Node &top = db.topLevel();
    Node *key = addKey(top, "Key");
    Node *key2 = addKey(top, "key");
    Node *early = addItem(top, "early", 45000.9, 45003.0);
    Node *lateSameDay = addItem(top, "late", 45000.1, 45003.99);
    Node *later = addItem(top, "later", 45001.0, 45002.0);
    Node *apfel = addKey(top, "apfel");
    Node *birne = addKey(top, "Birne");
    Node *aepfel = addKey(top, "\xC4pfel");
    Node *zebra = addKey(top, "Zebra");

    struct Case {
        const char *what;
        const Node *a, *b;
        SortCriterion criterion;
        int expected;
    } cases[] = {
        {"key before item", key, early, {SortByType, 0}, -1},
        {"item after key", early, key, {SortByType, 0}, 1},
        {"items first", key, early, {SortByType, 1}, 1},
        {"two keys", key, key2, {SortByType, 0}, 0},
        {"two items", early, later, {SortByType, 1}, 0},
        {"title ignores case", key, key2, {SortByTitle, 0}, 0},
        {"title by letters, not bytes", apfel, birne, {SortByTitle, 0}, -1},
        {"title descending", apfel, birne, {SortByTitle, 1}, 1},
        {"umlaut sorts with its letter", aepfel, birne, {SortByTitle, 0}, -1},
        {"umlaut before Z", zebra, aepfel, {SortByTitle, 0}, 1},
        {"umlaut after the plain letter", apfel, aepfel, {SortByTitle, 0}, -1},
        {"created earlier day", early, later, {SortByCreated, 0}, -1},
        {"created later day", later, early, {SortByCreated, 0}, 1},
        {"created descending", early, later, {SortByCreated, 1}, 1},
        {"created same day, other time", early, lateSameDay, {SortByCreated, 0}, 0},
        {"created with a key", key, early, {SortByCreated, 0}, 0},
        {"modified later day", early, later, {SortByModified, 0}, 1},
        {"modified same day", early, lateSameDay, {SortByModified, 1}, 0},
        {"modified with a key", later, key, {SortByModified, 0}, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(sign(TreeView_ItemsCompare(*c.a, *c.b, {c.criterion})), c.expected) << c.what;
    EXPECT_EQ(TreeView_ItemsCompare(*key, *early, {}), 0) << "no criteria";
}

TEST(TreeView_ItemsCompare, LaterCriteriaBreakTies)
{
    Database db;
    Node &top = db.topLevel();
    Node *a = addItem(top, "b", 45000.2, 45005);
    Node *b = addItem(top, "A", 45000.7, 45001);
    const SortCriteria chain{{SortByCreated, 1}, {SortByTitle, 1}, {SortByModified, 0}};
    EXPECT_EQ(sign(TreeView_ItemsCompare(*a, *b, chain)), -1); // same day; "b" after "A", inverted
    b->setName("B");
    EXPECT_EQ(sign(TreeView_ItemsCompare(*a, *b, chain)), 1);  // same title; modified decides
}

TEST(SortTree, ThreeCriteriaAtEveryLevel)
{
    Database db;
    Node &top = db.topLevel();
    addItem(top, "x old", 44000.5, 1);
    Node *k = addKey(top, "k");
    addItem(top, "b new", 45000.5, 1);
    addItem(top, "a new", 45000.1, 1);
    addKey(top, "j");
    addItem(*k, "zz", 44000, 1);
    addItem(*k, "Yy", 46000, 1);
    addKey(*k, "inner");
    const SortCriteria criteria{{SortByCreated, 1}, {SortByType, 1}, {SortByTitle, 0}};
    SortTree(top, criteria);
    // Keys tie with everything on the date; items before keys; titles last.
    EXPECT_EQ(childNames(top), (std::vector<QByteArray>{"a new", "b new", "x old", "j", "k"}));
    EXPECT_EQ(childNames(*k), (std::vector<QByteArray>{"Yy", "zz", "inner"}));
}

TEST(SortTree, DefaultCriteriaAndStableTies)
{
    Database db;
    Node &top = db.topLevel();
    Node *first = addItem(top, "same");
    addKey(top, "Zweig");
    Node *second = addItem(top, "SAME");
    Node *ast = addKey(top, "ast");
    addItem(*ast, "b");
    addKey(*ast, "c");
    addItem(*ast, "A");
    SortTree(top, DefaultSortCriteria());
    EXPECT_EQ(childNames(top), (std::vector<QByteArray>{"ast", "Zweig", "same", "SAME"}));
    EXPECT_EQ(top.child(2), first);
    EXPECT_EQ(top.child(3), second);
    EXPECT_EQ(childNames(*ast), (std::vector<QByteArray>{"c", "A", "b"}));
}

TEST(SortChildren, OnlyOneLevel)
{
    Database db;
    Node &top = db.topLevel();
    Node *k = addKey(top, "k");
    addItem(*k, "b");
    addItem(*k, "a");
    addKey(top, "a");
    SortChildren(top, DefaultSortCriteria());
    EXPECT_EQ(childNames(top), (std::vector<QByteArray>{"a", "k"}));
    EXPECT_EQ(childNames(*k), (std::vector<QByteArray>{"b", "a"}));
}

TEST(SortCriteria, DefaultAndValidity)
{
    EXPECT_EQ(DefaultSortCriteria(), (SortCriteria{{SortByType, 0}, {SortByTitle, 0}}));
    struct Case {
        SortCriteria criteria;
        bool valid;
    } cases[] = {
        {{}, true},
        {{{3, 1}, {0, 0}, {1, 1}}, true},
        {{{1, 0}, {1, 1}}, false},
        {{{0, 0}, {1, 0}, {2, 0}, {3, 0}}, false},
        {{{4, 0}}, false},
        {{{-1, 0}}, false},
        {{{0, 2}}, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(IsValidSortCriteria(c.criteria), c.valid);
}

} // namespace
} // namespace lexora
