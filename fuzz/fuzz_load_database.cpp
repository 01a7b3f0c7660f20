// Fuzz target of the database loader: every input is loaded as a file, once whole and once merged
// into what that load left, as an import does. Bad input must end in Error or a refusal, never
// in a crash, a sanitizer report or a hang.
#include "seeds.h"

#include "database/file_format.h"
#include "support/error.h"
#include "support/progress.h"
#include "support/user_prompt.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString fileName = workDir().filePath(QStringLiteral("input.lxd"));
    {
        QFile file(fileName);
        if (!file.open(QIODevice::WriteOnly))
            return 0;
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    lexora::Database db;
    db.IncludedFilesFolder = workDir().filePath(QStringLiteral("files/"));
    QDir().mkpath(db.IncludedFilesFolder);
    FuzzPrompt prompt;
    lexora::NoProgress progress;
    for (lexora::LoadParts parts :
         {lexora::lpAll, lexora::LoadParts(lexora::lpHTMLTemplates | lexora::lpNewEntries
                                            | lexora::lpExistingEntries | lexora::lpIncludedFiles)}) {
        try {
            lexora::LoadDatabase(db, fileName, parts, prompt, progress);
        } catch (const lexora::Error &) {
            // A damaged file: the expected outcome for most inputs.
        }
    }
    return 0;
}
