// lexora-cli import TARGET SOURCE... --parts html,css,new,existing,files [--output OUT]: merges
// other databases into TARGET and saves the result to TARGET or OUT.
#include "cli_document.h"
#include "verbs.h"

#include "exchange/import.h"
#include "sorting/sort_criteria.h"
#include "support/error.h"

#include <cstdio>

namespace lexora::cli {
namespace {

// The rows of the import window's element list that each name of --parts checks.
struct PartName {
    const char *name;
    std::size_t row;
};
constexpr PartName kPartNames[] = {
    {"html", 1}, {"css", 2}, {"new", 4}, {"existing", 5}, {"files", 7},
};

LoadParts parseParts(const QString &text)
{
    std::array<bool, ImportElements.size()> checked{};
    for (const QString &name : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const auto it = std::find_if(std::begin(kPartNames), std::end(kPartNames),
                                     [&](const PartName &p) { return name.trimmed() == QLatin1String(p.name); });
        if (it == std::end(kPartNames))
            throw Error(Error::Kind::InvalidInput, QStringLiteral("Unbekannter Teil \"%1\" in --parts; erlaubt sind html, css, "
                                       "new, existing und files.")
                            .arg(name));
        checked[it->row] = true;
    }
    return importLoadParts(checked);
}

int runImport(const QStringList &arguments)
{
    QStringList args = arguments;
    const DocumentOptions documentOptions = takeDocumentOptions(args);
    const LoadParts parts = parseParts(takeOption(args, QStringLiteral("--parts")));
    const QString output = takeOption(args, QStringLiteral("--output"));
    if (args.size() < 2) {
        std::fprintf(stderr, "Aufruf: lexora-cli import ZIEL QUELLE... --parts "
                             "html,css,new,existing,files [--output AUSGABE] "
                             "[--password-file DATEI]\n");
        return 2;
    }

    CliDocument opened(documentOptions);
    opened.open(args.at(0));
    ImportFileList files;
    files.AddImportFiles(args.mid(1), opened.prompt());
    // A damaged source throws: nothing is saved, so TARGET stays as it was.
    opened.document().setSortCriteria(DefaultSortCriteria());
    const ImportResult result = opened.document().importDatabases(files.files(), parts);
    if (result.inputError)
        throw Error(Error::Kind::InvalidInput, result.inputError->message);
    // The final message has named the refused sources. When none was imported there is nothing
    // to save; when some were, the others are saved, but the status still tells of the failure.
    if (result.refused.size() == files.files().size())
        return 1;
    opened.save(output.isEmpty() ? args.at(0) : output);
    return result.refused.isEmpty() ? 0 : 1;
}

} // namespace

LEXORA_CLI_VERB("import",
                "TARGET SOURCE... --parts html,css,new,existing,files [--output OUT] "
                "[--password-file FILE]",
                runImport)

} // namespace lexora::cli
