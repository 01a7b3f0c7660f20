#include "database/file_format.h"
#include "database/value_writer.h"
#include "support/database_fixtures.h"
#include "support/error.h"
#include "support/scripted_prompt.h"
#include "support/system_error.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

using namespace lexora;
using namespace lexora::test;

TEST(SystemErrors, CommonFileErrorsEndInGermanAndNameTheFile)
{
    QTemporaryDir dir;
    NoProgress progress;
    ScriptedPrompt prompt;
    const QString longName = dir.filePath(QString(256, QLatin1Char('x')) + QStringLiteral(".lxd"));
    const QString notAFolder = dir.filePath(QStringLiteral("keinOrdner"));
    writeFileBytes(notAFolder, "x");
    const QString withFile = dir.filePath(QStringLiteral("mitDatei.lxd"));
    {
        Database source;
        source.IncludedFilesFolder = dir.filePath(QStringLiteral("quelle/"));
        QDir().mkpath(source.IncludedFilesFolder);
        writeFileBytes(source.includedFilePath("a.txt"), "abc");
        source.IncludedFiles.push_back(std::make_unique<TInclFile>(TInclFile{"a.txt", 3}));
        SaveDatabase(source, withFile, false, progress);
    }

    struct Case {
        const char *what;
        std::function<void()> work;
        QString names;   // what the message must name
        int error;       // whose German text ends it
    };
    const Case cases[] = {
        {"open a missing file", [&] {
             Database db;
             LoadDatabase(db, dir.filePath(QStringLiteral("fehlt.lxd")), lpAll, prompt, progress);
         }, QStringLiteral("fehlt.lxd"), ENOENT},
        {"save under a name too long", [&] {
             Database db;
             SaveDatabase(db, longName, false, progress);
         }, QString(256, QLatin1Char('x')), ENAMETOOLONG},
        {"write to a full disk", [&] {
             QFile full(QStringLiteral("/dev/full"));
             ASSERT_TRUE(full.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
             ValueWriter writer(full, full.fileName());
             writer.writeString(Text(100000, 'x'));
             writer.flush();
         }, QStringLiteral("/dev/full"), ENOSPC},
        {"write included files where a file is", [&] {
             Database db;
             db.IncludedFilesFolder = notAFolder + QLatin1Char('/');
             LoadDatabase(db, withFile, lpAll, prompt, progress);
         }, QStringLiteral("keinOrdner"), ENOTDIR},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const std::optional<Error> error = thrownError(c.work);
        ASSERT_TRUE(error);
        EXPECT_EQ(error->kind(), Error::Kind::IoError);
        const QString message = error->message();
        EXPECT_TRUE(message.contains(c.names)) << message.toStdString();
        EXPECT_TRUE(message.endsWith(systemErrorText(c.error))) << message.toStdString();
        EXPECT_FALSE(message.contains(QString::fromLocal8Bit(std::strerror(c.error))))
            << message.toStdString();
    }
}

TEST(SystemErrors, QtsEnglishTextsBecomeGermanAndOthersStay)
{
    EXPECT_EQ(germanErrorText(QStringLiteral("No such file or directory")), systemErrorText(ENOENT));
    EXPECT_EQ(germanErrorText(QStringLiteral("No space left on device")), systemErrorText(ENOSPC));
    EXPECT_EQ(germanErrorText(QStringLiteral("File name too long")), systemErrorText(ENAMETOOLONG));
    EXPECT_EQ(germanErrorText(QStringLiteral("Unknown error")), QStringLiteral("Unbekannter Fehler"));
    EXPECT_EQ(germanErrorText(QStringLiteral("Schon deutsch")), QStringLiteral("Schon deutsch"));
}
