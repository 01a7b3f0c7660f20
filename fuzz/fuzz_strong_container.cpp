// Fuzz target of the strong container's reader. An input that begins like a container is loaded
// as the file itself (header, key check, chunks); any other input is taken as the plain database
// bytes, wrapped into an intact container with the fuzz password and loaded, so that damaged
// content behind valid encryption is read too. Each is loaded whole and merged into what that
// load left. Nothing may crash, hang or raise a sanitizer report, and a refused or damaged
// container must leave the database as it was.
#include "seeds.h"

#include "database/file_format.h"
#include "database/strong_container.h"
#include "support/error.h"
#include "support/progress.h"
#include "support/user_prompt.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

class FuzzPrompt : public lexora::UserPrompt {
public:
    void message(Icon, const QString &, const QString &) override {}
    Answer question(const QString &, const QString &, Buttons, Icon) override { return Answer::Cancel; }
    QByteArray password(const QString &, const QString &) override { return lexora::fuzz::kPassword; }
};

const QTemporaryDir &workDir()
{
    static const QTemporaryDir dir;
    return dir;
}

bool writeInput(const QString &fileName, const std::uint8_t *data, std::size_t size)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArrayView input(data, qsizetype(size));
    if (lexora::strong::isContainer(input))
        return file.write(input.data(), input.size()) == input.size();
    static const auto key =
        lexora::StrongKey::derive(lexora::SecretBytes(lexora::fuzz::kPassword), lexora::fuzz::kCheapKdf);
    lexora::StrongWriter container(file, key, 64);
    return container.open(QIODevice::WriteOnly | QIODevice::Unbuffered)
           && container.write(input.data(), input.size()) == input.size() && container.finish();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString fileName = workDir().filePath(QStringLiteral("input.lxd"));
    if (!writeInput(fileName, data, size))
        return 0;
    lexora::Database db;
    db.IncludedFilesFolder = workDir().filePath(QStringLiteral("files/"));
    QDir().mkpath(db.IncludedFilesFolder);
    FuzzPrompt prompt;
    lexora::NoProgress progress;
    for (lexora::LoadParts parts :
         {lexora::lpAll, lexora::LoadParts(lexora::lpHTMLTemplates | lexora::lpNewEntries
                                            | lexora::lpExistingEntries | lexora::lpIncludedFiles)}) {
        const std::size_t before = db.topLevel().children().size() + db.IncludedFiles.size()
                                   + db.HTMLTemplates.size();
        try {
            lexora::LoadDatabase(db, fileName, parts, prompt, progress);
        } catch (const lexora::Error &e) {
            // A refused container keeps nothing of itself; intact encryption around damaged
            // content is an ordinary damaged database.
            if (e.kind() == lexora::Error::Kind::Tampered
                && db.topLevel().children().size() + db.IncludedFiles.size() + db.HTMLTemplates.size() != before)
                std::abort();
        }
    }
    return 0;
}
