#include "database/cipher.h"
#include "database/file_format.h"
#include "database/value_reader.h"
#include "database/value_writer.h"
#include "support/database_fixtures.h"
#include "support/error.h"
#include "support/scripted_prompt.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

#include <signal.h>
#include <sys/resource.h>

using namespace lexora;
using namespace lexora::test;

namespace {

const QByteArray kMagic("\xBD\x94\x94\xF1", 4);

// A temporary folder with one included-files folder per database made in it.
class FileFormat : public ::testing::Test {
protected:
    QString path(const QString &name) const { return dir.filePath(name); }

    std::unique_ptr<Database> newDatabase()
    {
        const QString folder = dir.filePath(QStringLiteral("files%1/").arg(++m_databases));
        QDir().mkpath(folder);
        auto db = std::make_unique<Database>();
        db->IncludedFilesFolder = folder;
        return db;
    }

    std::unique_ptr<Database> variedDatabase(bool encrypted)
    {
        auto db = newDatabase();
        buildVariedDatabase(*db);
        db->Encrypted = encrypted;
        db->Password = encrypted ? "Geh\xE4im 2" : "";
        return db;
    }

    QString save(Database &db, const QString &name)
    {
        NoProgress progress;
        SaveDatabase(db, path(name), false, progress);
        return path(name);
    }

    // Loads with the password given (if any); returns LoadDatabase's result.
    bool load(Database &db, const QString &file, LoadParts parts, const QByteArray &password = {})
    {
        if (!password.isNull())
            prompt.givePassword(password);
        NoProgress progress;
        return LoadDatabase(db, file, parts, prompt, progress);
    }

    // A file of the magic followed by what body writes.
    QString handMade(const QString &name, const std::function<void(ValueWriter &)> &body)
    {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        ValueWriter writer(file);
        writer.writeRaw(kMagic.constData(), kMagic.size());
        body(writer);
        writer.flush();
        return path(name);
    }

    QTemporaryDir dir;
    ScriptedPrompt prompt;

private:
    int m_databases = 0;
};

// The parts of a plain file up to the tree: no encryption, no templates.
void emptyHeader(ValueWriter &w)
{
    w.writeBoolean(false);
    for (int list = 0; list < 2; ++list) {
        w.writeListBegin();
        w.writeListEnd();
        w.writeInteger(-1);
    }
}

} // namespace

class FileFormatRoundTrip : public FileFormat, public ::testing::WithParamInterface<bool> {};

TEST_P(FileFormatRoundTrip, EverythingComesBack)
{
    const bool encrypted = GetParam();
    auto source = variedDatabase(encrypted);
    source->DatabaseModified = true;
    const QString file = save(*source, QStringLiteral("a.lxd"));
    EXPECT_FALSE(source->DatabaseModified);

    auto loaded = newDatabase();
    loaded->DatabaseModified = true;
    ASSERT_TRUE(load(*loaded, file, lpAll, encrypted ? source->Password : QByteArray()));
    EXPECT_TRUE(prompt.allAnswersUsed());
    EXPECT_TRUE(prompt.messages().isEmpty());
    EXPECT_FALSE(loaded->DatabaseModified);
    // An item without a template comes back with the default of that list.
    for (Node *node : source->preorder()) {
        if (TTipItem *item = node->item()) {
            item->HTMLTemplate = item->HTMLTemplate ? item->HTMLTemplate : source->DefaultHTMLTemplate;
            item->CSSTemplate = item->CSSTemplate ? item->CSSTemplate : source->DefaultCSSTemplate;
        }
    }
    EXPECT_EQ(describeDatabase(*loaded), describeDatabase(*source));
    // Siblings of equal name stay apart.
    EXPECT_EQ(loaded->topLevel().childCount(), 4);
    EXPECT_EQ(loaded->topLevel().child(2)->item()->Code, "zweiter");

    // Saving what was loaded gives the same bytes.
    EXPECT_EQ(readFileBytes(save(*loaded, QStringLiteral("b.lxd"))),
              readFileBytes(save(*source, QStringLiteral("c.lxd"))));
}

INSTANTIATE_TEST_SUITE_P(PlainAndEncrypted, FileFormatRoundTrip, ::testing::Bool(),
                         [](const auto &info) { return info.param ? "Encrypted" : "Plain"; });
