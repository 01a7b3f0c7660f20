#include "setup/instance_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace lexora;

namespace {

QString includedFiles(const QTemporaryDir &home)
{
    return home.filePath(QStringLiteral("Included Files"));
}

void writeFile(const QString &path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("left over");
}

// Program instances as separate processes: each waits for the start signal, takes its number,
// reports it and keeps it until the parent lets it end.
class Instances {
public:
    explicit Instances(const QString &home, int count)
    {
        int start[2], release[2];
        EXPECT_EQ(::pipe(start), 0);
        EXPECT_EQ(::pipe(release), 0);
        m_release = release[1];
        for (int i = 0; i < count; ++i) {
            int result[2];
            EXPECT_EQ(::pipe(result), 0);
            const pid_t pid = ::fork();
            if (pid == 0) {
                ::close(start[1]);
                ::close(release[1]);
                ::close(result[0]);
                char c;
                (void)!::read(start[0], &c, 1); // returns when the parent closes its end
                int number = -1;
                try {
                    InstanceFolder instance(home);
                    number = instance.number();
                    QFile file(instance.includedFilesFolder() + QStringLiteral("picture.png"));
                    if (!file.open(QIODevice::WriteOnly))
                        number = -1;
                    file.close();
                    (void)!::write(result[1], &number, sizeof number);
                    (void)!::read(release[0], &c, 1);
                } catch (...) {
                    (void)!::write(result[1], &number, sizeof number);
                }
                ::_exit(0);
            }
            ::close(result[1]);
            m_children.push_back(pid);
            m_results.push_back(result[0]);
        }
        ::close(start[0]);
        ::close(release[0]);
        ::close(start[1]); // all children start at once
    }

    ~Instances() { end(); }

    // The numbers the instances took, sorted.
    std::vector<int> numbers()
    {
        std::vector<int> out;
        for (int fd : m_results) {
            int number = -1;
            EXPECT_EQ(::read(fd, &number, sizeof number), ssize_t(sizeof number));
            out.push_back(number);
        }
        std::sort(out.begin(), out.end());
        return out;
    }

    // Ends the instances without their clean-up, as a crash would.
    void crash()
    {
        for (pid_t pid : m_children)
            ::kill(pid, SIGKILL);
        finish(false);
    }

    void end() { finish(true); }

private:
    void finish(bool normally)
    {
        if (m_release < 0)
            return;
        ::close(m_release);
        m_release = -1;
        for (pid_t pid : m_children) {
            int status = 0;
            ::waitpid(pid, &status, 0);
            if (normally) {
                EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
            }
        }
        for (int fd : m_results)
            ::close(fd);
    }

    int m_release = -1;
    std::vector<pid_t> m_children;
    std::vector<int> m_results;
};

TEST(InstanceFolder, FirstInstanceTakesOneAndCleansUp)
{
    QTemporaryDir home;
    QString folder, temporary;
    {
        InstanceFolder instance(home.path());
        EXPECT_EQ(instance.number(), 1);
        folder = instance.includedFilesFolder();
        temporary = instance.temporaryFolder();
        EXPECT_EQ(folder, includedFiles(home) + QStringLiteral("/1/"));
        EXPECT_EQ(temporary, includedFiles(home) + QStringLiteral("/1.temp/"));
        EXPECT_EQ(temporaryFolder(), temporary);
        EXPECT_TRUE(QFileInfo(folder).isDir());
        EXPECT_TRUE(QFileInfo(temporary).isDir());
        writeFile(folder + QStringLiteral("image.png"));
        writeFile(temporary + QStringLiteral("page.html"));
    }
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_FALSE(QFileInfo::exists(temporary));
    EXPECT_EQ(temporaryFolder(), QDir::tempPath() + QLatin1Char('/'));
    EXPECT_TRUE(QFileInfo(includedFiles(home)).isDir()); // the parent folder stays
    EXPECT_EQ(QDir(includedFiles(home)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList()) << "no lock file or record of the open database stays";
}

TEST(InstanceFolder, AStartRemovesTheFoldersOfEveryInstanceThatDiedAndKeepsThoseThatRun)
{
    QTemporaryDir home;
    InstanceFolder running(home.path());
    writeFile(running.includedFilesFolder() + QStringLiteral("kept.png"));
    writeFile(running.temporaryFolder() + QStringLiteral("kept.html"));
    // Instances 5 and 7 were killed: their folders stay, their locks are free (7 left no lock
    // file at all).
    for (const QString &dead : {QStringLiteral("/5/"), QStringLiteral("/5.temp/"), QStringLiteral("/7.temp/")}) {
        ASSERT_TRUE(QDir().mkpath(includedFiles(home) + dead + QStringLiteral("sub")));
        writeFile(includedFiles(home) + dead + QStringLiteral("sub/decrypted.txt"));
    }
    writeFile(includedFiles(home) + QStringLiteral("/5.lock"));

    InstanceFolder next(home.path());
    EXPECT_EQ(next.number(), 2);
    EXPECT_EQ(QDir(includedFiles(home)).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
              (QStringList{QStringLiteral("1"), QStringLiteral("1.temp"), QStringLiteral("2"),
                           QStringLiteral("2.temp")}));
    EXPECT_TRUE(QFileInfo::exists(running.includedFilesFolder() + QStringLiteral("kept.png")));
    EXPECT_TRUE(QFileInfo::exists(running.temporaryFolder() + QStringLiteral("kept.html")));
    EXPECT_EQ(QDir(includedFiles(home)).entryList(QDir::Files),
              (QStringList{QStringLiteral("1.lock"), QStringLiteral("2.lock")}))
        << "the dead instance's lock file goes with its folders";
}

TEST(InstanceFolder, TakesTheSmallestFreeNumber)
{
    QTemporaryDir home;
    auto one = std::make_optional<InstanceFolder>(home.path());
    auto two = std::make_optional<InstanceFolder>(home.path());
    auto three = std::make_optional<InstanceFolder>(home.path());
    EXPECT_EQ(three->number(), 3);

    two.reset(); // 1 and 3 run
    {
        InstanceFolder next(home.path());
        EXPECT_EQ(next.number(), 2);
        InstanceFolder after(home.path());
        EXPECT_EQ(after.number(), 4);
    }
    one.reset();
    InstanceFolder again(home.path());
    EXPECT_EQ(again.number(), 1);
}

TEST(InstanceFolder, ClearsTheFolderOfAnInstanceThatDidNotCleanUp)
{
    QTemporaryDir home;
    // Instance 2 crashed: its folder and lock file are still there, the lock is free.
    const QString stale = includedFiles(home) + QStringLiteral("/2/");
    ASSERT_TRUE(QDir().mkpath(stale + QStringLiteral("sub")));
    writeFile(stale + QStringLiteral("old.txt"));
    writeFile(stale + QStringLiteral("sub/old.txt"));
    writeFile(includedFiles(home) + QStringLiteral("/2.lock"));

    InstanceFolder one(home.path());
    InstanceFolder two(home.path());
    ASSERT_EQ(two.number(), 2);
    EXPECT_TRUE(QDir(stale).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
}

TEST(InstanceFolder, ANumberIsFreeAgainWhenItsProcessEnds)
{
    QTemporaryDir home;
    {
        Instances first(home.path(), 1);
        EXPECT_EQ(first.numbers(), std::vector<int>({1}));
        InstanceFolder second(home.path());
        EXPECT_EQ(second.number(), 2);
    }
    InstanceFolder again(home.path());
    EXPECT_EQ(again.number(), 1);
}

TEST(InstanceFolder, ACrashedInstanceFreesItsNumberAndItsFolderIsCleared)
{
    QTemporaryDir home;
    const QString folder = includedFiles(home) + QStringLiteral("/1/");
    {
        Instances crashing(home.path(), 1);
        EXPECT_EQ(crashing.numbers(), std::vector<int>({1}));
        crashing.crash();
    }
    ASSERT_TRUE(QFileInfo::exists(folder + QStringLiteral("picture.png")));
    InstanceFolder next(home.path());
    EXPECT_EQ(next.number(), 1);
    EXPECT_TRUE(QDir(folder).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
}

TEST(InstanceFolder, InstancesStartedAtOnceGetDistinctSmallestNumbers)
{
    QTemporaryDir home;
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE(round);
        {
            Instances two(home.path(), 2);
            EXPECT_EQ(two.numbers(), std::vector<int>({1, 2}));
        }
        {
            Instances four(home.path(), 4);
            EXPECT_EQ(four.numbers(), std::vector<int>({1, 2, 3, 4}));
        }
    }
    // Every instance removed its folder and its lock file when it ended, while others started.
    EXPECT_TRUE(QDir(includedFiles(home)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

} // namespace
