#include "support/run_cli.h"

#include "database/file_format.h"
#include "support/progress.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

namespace lexora {
namespace {

// Top level, in stored order: "zweig" (key with "b", "A", key "c"), "Eintrag neu", "ast" (key),
// "eintrag alt".
class DumpSortTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        Database db;
        db.IncludedFilesFolder = dir.filePath(QStringLiteral("files/"));
        Node &top = db.topLevel();
        Node *branch = top.appendChild("zweig");
        addItem(*branch, "b", 45000);
        addItem(*branch, "A", 45000);
        branch->appendChild("c");
        addItem(top, "Eintrag neu", 45100.2);
        top.appendChild("ast");
        addItem(top, "eintrag alt", 44000.9);
        NoProgress progress;
        file = dir.filePath(QStringLiteral("tree.lxd"));
        SaveDatabase(db, file, false, progress);
    }

    static void addItem(Node &parent, const char *name, DateTime created)
    {
        auto item = std::make_unique<TTipItem>();
        item->Created = item->Modified = created;
        parent.appendChild(name)->setItem(std::move(item));
    }

    // The names of the top level, then those of the children of "zweig".
    std::pair<QStringList, QStringList> sortedNames(const QString &criteria)
    {
        const test::CliRun run = test::runCli({QStringLiteral("dump"), file, QStringLiteral("--sort"), criteria});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        const QJsonArray tree = QJsonDocument::fromJson(run.out).object().value(QStringLiteral("tree")).toArray();
        auto names = [](const QJsonArray &nodes) {
            QStringList out;
            for (const QJsonValue &n : nodes)
                out.append(n.toObject().value(QStringLiteral("name")).toString());
            return out;
        };
        QJsonArray branch;
        for (const QJsonValue &n : tree)
            if (n.toObject().value(QStringLiteral("name")).toString() == QLatin1String("zweig"))
                branch = n.toObject().value(QStringLiteral("children")).toArray();
        return {names(tree), names(branch)};
    }

    QTemporaryDir dir;
    QString file;
};

TEST_F(DumpSortTest, SortsEveryLevelWithTheGivenCriteria)
{
    using Names = std::pair<QStringList, QStringList>;
    EXPECT_EQ(sortedNames(QStringLiteral("default")),
              (Names{{"ast", "zweig", "eintrag alt", "Eintrag neu"}, {"c", "A", "b"}}));
    EXPECT_EQ(sortedNames(QStringLiteral("0:1,1:1")),
              (Names{{"Eintrag neu", "eintrag alt", "zweig", "ast"}, {"b", "A", "c"}}));
    EXPECT_EQ(sortedNames(QStringLiteral("2:1,0:0,1:0")),
              (Names{{"ast", "zweig", "Eintrag neu", "eintrag alt"}, {"c", "A", "b"}}));
}

TEST_F(DumpSortTest, RefusesCriteriaTheDialogWouldNotAccept)
{
    for (const char *criteria : {"1:0,1:1", "4:0", "0:2", "0:0,1:0,2:0,3:0", "1", "x:y"}) {
        const test::CliRun run = test::runCli({QStringLiteral("dump"), file, QStringLiteral("--sort"),
                                               QString::fromLatin1(criteria)});
        EXPECT_EQ(run.exitCode, 1) << criteria;
        EXPECT_TRUE(run.err.contains("--sort")) << criteria;
    }
}

} // namespace
} // namespace lexora
