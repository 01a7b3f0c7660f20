// Which database each running instance has open, and the warning when a second one opens it.
#include "setup/open_file_record.h"

#include "document/document.h"
#include "setup/instance_folder.h"
#include "support/database_fixtures.h"
#include "support/test_document.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

using namespace lexora;
using namespace lexora::test;

TEST(OpenFileRecord, OnlyRunningInstancesCount)
{
    QTemporaryDir home;
    const QString file = home.filePath(QStringLiteral("wissen.lxd"));
    writeFileBytes(file, "x");
    const QString link = home.filePath(QStringLiteral("verweis.lxd"));
    ASSERT_TRUE(QFile::link(file, link));

    std::optional<InstanceFolder> first(std::in_place, home.path());
    std::optional<OpenFileRecord> firstRecord(std::in_place, *first);
    InstanceFolder second(home.path());
    OpenFileRecord secondRecord(second);

    firstRecord->setOpenFile(file);
    EXPECT_TRUE(secondRecord.isOpenElsewhere(file));
    EXPECT_TRUE(secondRecord.isOpenElsewhere(link)) << "the same file under another name";
    EXPECT_FALSE(firstRecord->isOpenElsewhere(file)) << "its own record does not count";
    EXPECT_FALSE(secondRecord.isOpenElsewhere(home.filePath(QStringLiteral("anders.lxd"))));

    firstRecord->setOpenFile({});
    EXPECT_FALSE(secondRecord.isOpenElsewhere(file));

    // An instance that ended, and one that was killed and left its record behind.
    firstRecord->setOpenFile(file);
    firstRecord.reset();
    first.reset();
    writeFileBytes(home.filePath(QStringLiteral("Included Files/7.open")), QFile::encodeName(file));
    EXPECT_FALSE(secondRecord.isOpenElsewhere(file));
}

TEST(OpenFileRecord, OpeningAFileAnotherInstanceHasOpenWarns)
{
    QTemporaryDir home;
    InstanceFolder other(home.path());
    OpenFileRecord otherRecord(other);
    InstanceFolder self(home.path());
    OpenFileRecord selfRecord(self);

    TestDocument doc;
    doc->setOpenFileRecord(&selfRecord);
    const QString file = home.filePath(QStringLiteral("wissen.lxd"));
    doc->saveAs(file);
    EXPECT_TRUE(otherRecord.isOpenElsewhere(file)) << "a saved file is recorded as open";

    otherRecord.setOpenFile(file);
    ASSERT_EQ(doc->open(file), Document::OpenResult::Opened);
    ASSERT_EQ(doc.prompt.shown().size(), 1);
    EXPECT_EQ(doc.prompt.shown()[0].caption, QStringLiteral("Datei bereits geöffnet"));
    EXPECT_EQ(doc.prompt.shown()[0].icon, UserPrompt::Icon::Warning);
    EXPECT_TRUE(doc.prompt.shown()[0].text.contains(QDir::toNativeSeparators(file)));

    otherRecord.setOpenFile({});
    ASSERT_EQ(doc->open(file), Document::OpenResult::Opened);
    EXPECT_EQ(doc.prompt.shown().size(), 1) << "no warning when no other instance has it";
}
