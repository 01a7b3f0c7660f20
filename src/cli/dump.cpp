// lexora-cli dump FILE [--sort C:M,...]: the whole database as JSON, the tree sorted if asked.
// The JSON is written as it goes: a file of millions of keys needs no second copy in memory.
#include "cli_document.h"
#include "json_stream.h"
#include "sort_option.h"
#include "verbs.h"

#include "database/win1252.h"
#include "support/error.h"
#include "support/system_error.h"

#include <QCryptographicHash>
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <unordered_map>
#include <vector>

namespace lexora::cli {
namespace {

void writeText(JsonStream &json, const Text &t)
{
    json.value(win1252::toUnicode(t));
}

// The keys of every object in the order QJsonObject keeps them: sorted.
void writeTemplates(JsonStream &json, const Database &db, int list)
{
    json.beginArray();
    for (const auto &t : db.templates(list)) {
        json.beginObject();
        json.key("code");
        writeText(json, t->Code);
        json.key("description");
        writeText(json, t->Description);
        json.key("name");
        writeText(json, t->Name);
        json.endObject();
    }
    json.endArray();
}

void writeItem(JsonStream &json, const Database &db, const TTipItem *item)
{
    if (!item) {
        json.null();
        return;
    }
    json.beginObject();
    json.key("autoFormat");
    json.value(item->AutoFormat);
    json.key("code");
    writeText(json, item->Code);
    json.key("created");
    json.value(item->Created);
    json.key("createdBy");
    writeText(json, item->CreatedBy);
    json.key("cssTemplate");
    json.value(db.templateIndex(CssTemplates, item->CSSTemplate));
    json.key("htmlTemplate");
    json.value(db.templateIndex(HtmlTemplates, item->HTMLTemplate));
    json.key("modified");
    json.value(item->Modified);
    json.key("modifiedBy");
    writeText(json, item->ModifiedBy);
    json.endObject();
}

// The node list of container in the tree's current order: a sorted tree gives a sorted dump.
void writeTree(JsonStream &json, const Database &db, const Node &container)
{
    json.beginArray();
    for (const Node &node : container.children()) {
        json.beginObject();
        json.key("children");
        writeTree(json, db, node);
        json.key("item");
        writeItem(json, db, node.item());
        json.key("name");
        writeText(json, node.name());
        json.endObject();
    }
    json.endArray();
}

// The tray as absolute indexes of the current tree.
void writeTray(JsonStream &json, const Database &db)
{
    std::unordered_map<const Node *, int> index;
    const std::vector<const Node *> all = db.preorder();
    for (std::size_t i = 0; i < all.size(); ++i)
        index.emplace(all[i], int(i));
    json.beginArray();
    for (const Node *node : db.TrayNodes)
        json.value(index.at(node));
    json.endArray();
}

// The SHA-256 of every included file's bytes, taken before anything is written, so that a file
// that cannot be read ends the dump before its output begins.
std::vector<QString> includedFileHashes(const Database &db)
{
    std::vector<QString> hashes;
    for (const auto &f : db.IncludedFiles) {
        QFile file(db.includedFilePath(f->Name));
        QCryptographicHash hash(QCryptographicHash::Sha256);
        if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
            throw Error(Error::Kind::IoError, QStringLiteral("Die eingebundene Datei \"%1\" kann nicht gelesen werden: %2")
                            .arg(win1252::toUnicode(f->Name), fileErrorText(file)));
        hashes.push_back(QString::fromLatin1(hash.result().toHex()));
    }
    return hashes;
}

void writeIncludedFiles(JsonStream &json, const Database &db, const std::vector<QString> &hashes)
{
    json.beginArray();
    for (std::size_t i = 0; i < db.IncludedFiles.size(); ++i) {
        const TInclFile &f = *db.IncludedFiles[i];
        json.beginObject();
        json.key("name");
        writeText(json, f.Name);
        json.key("sha256");
        json.value(hashes[i]);
        json.key("size");
        json.value(int(f.Size));
        json.endObject();
    }
    json.endArray();
}

void writeDatabase(JsonStream &json, const Database &db)
{
    const std::vector<QString> hashes = includedFileHashes(db);
    json.beginObject();
    json.key("cssTemplates");
    writeTemplates(json, db, CssTemplates);
    json.key("defaultCssTemplate");
    json.value(db.templateIndex(CssTemplates, db.DefaultCSSTemplate));
    json.key("defaultHtmlTemplate");
    json.value(db.templateIndex(HtmlTemplates, db.DefaultHTMLTemplate));
    json.key("encrypted");
    json.value(db.Encrypted);
    json.key("htmlTemplates");
    writeTemplates(json, db, HtmlTemplates);
    json.key("includedFiles");
    writeIncludedFiles(json, db, hashes);
    json.key("tray");
    writeTray(json, db);
    json.key("tree");
    writeTree(json, db, db.topLevel());
    json.endObject();
}

int runDump(const QStringList &arguments)
{
    QStringList args = arguments;
    const DocumentOptions options = takeDocumentOptions(args);
    const std::optional<SortCriteria> sort = takeSortOption(args);
    requireArguments(args, 1, QStringLiteral("dump FILE [--sort K:M,...] [--password-file DATEI]"));
    CliDocument opened(options);
    opened.open(args.first());
    if (sort) {
        opened.document().setSortCriteria(*sort);
        opened.document().sortTree();
    }
    JsonStream json(stdout);
    writeDatabase(json, opened.db());
    if (!json.finish())
        throw Error(Error::Kind::IoError, QStringLiteral("Die Ausgabe konnte nicht geschrieben werden: %1")
                        .arg(systemErrorText(errno)));
    return 0;
}

} // namespace

LEXORA_CLI_VERB("dump", "FILE [--sort C:M,...|default] [--password-file FILE]", runDump)

} // namespace lexora::cli
