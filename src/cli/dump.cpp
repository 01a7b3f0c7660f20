// lexora-cli dump FILE [--sort C:M,...]: the whole database as JSON, the tree sorted if asked.
#include "dump.h"

#include "cli_document.h"
#include "sort_option.h"
#include "verbs.h"

#include "database/win1252.h"
#include "support/error.h"

#include <QCryptographicHash>
#include <QFile>
#include <QJsonDocument>

#include <cstdio>
#include <unordered_map>

namespace lexora::cli {
namespace {

QJsonValue text(const Text &t)
{
    return win1252::toUnicode(t);
}

QJsonArray templatesToJson(const Database &db, int list)
{
    QJsonArray out;
    for (const auto &t : db.templates(list))
        out.append(QJsonObject{{QStringLiteral("name"), text(t->Name)},
                               {QStringLiteral("description"), text(t->Description)},
                               {QStringLiteral("code"), text(t->Code)}});
    return out;
}

QJsonValue itemToJson(const Database &db, const TTipItem *item)
{
    if (!item)
        return QJsonValue::Null;
    return QJsonObject{{QStringLiteral("code"), text(item->Code)},
                       {QStringLiteral("created"), item->Created},
                       {QStringLiteral("modified"), item->Modified},
                       {QStringLiteral("createdBy"), text(item->CreatedBy)},
                       {QStringLiteral("modifiedBy"), text(item->ModifiedBy)},
                       {QStringLiteral("htmlTemplate"), db.templateIndex(HtmlTemplates, item->HTMLTemplate)},
                       {QStringLiteral("cssTemplate"), db.templateIndex(CssTemplates, item->CSSTemplate)},
                       {QStringLiteral("autoFormat"), item->AutoFormat}};
}

QJsonArray trayToJson(const Database &db)
{
    std::unordered_map<const Node *, int> index;
    const std::vector<Node *> all = db.preorder();
    for (std::size_t i = 0; i < all.size(); ++i)
        index.emplace(all[i], int(i));
    QJsonArray out;
    for (const Node *node : db.TrayNodes)
        out.append(index.at(node));
    return out;
}

QJsonArray includedFilesToJson(const Database &db)
{
    QJsonArray out;
    for (const auto &f : db.IncludedFiles) {
        QFile file(db.includedFilePath(f->Name));
        QCryptographicHash hash(QCryptographicHash::Sha256);
        if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
            throw Error(QStringLiteral("Die eingebundene Datei \"%1\" kann nicht gelesen werden: %2")
                            .arg(win1252::toUnicode(f->Name), file.errorString()));
        out.append(QJsonObject{{QStringLiteral("name"), text(f->Name)},
                               {QStringLiteral("size"), f->Size},
                               {QStringLiteral("sha256"), QString::fromLatin1(hash.result().toHex())}});
    }
    return out;
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
    const QByteArray json = QJsonDocument(databaseToJson(opened.db())).toJson(QJsonDocument::Indented);
    std::fwrite(json.constData(), 1, std::size_t(json.size()), stdout);
    return 0;
}

} // namespace

QJsonArray treeToJson(const Database &db, const Node &container)
{
    QJsonArray out;
    for (const auto &node : container.children())
        out.append(QJsonObject{{QStringLiteral("name"), text(node->name())},
                               {QStringLiteral("item"), itemToJson(db, node->item())},
                               {QStringLiteral("children"), treeToJson(db, *node)}});
    return out;
}

QJsonObject databaseToJson(const Database &db)
{
    return QJsonObject{
        {QStringLiteral("encrypted"), db.Encrypted},
        {QStringLiteral("htmlTemplates"), templatesToJson(db, HtmlTemplates)},
        {QStringLiteral("defaultHtmlTemplate"), db.templateIndex(HtmlTemplates, db.DefaultHTMLTemplate)},
        {QStringLiteral("cssTemplates"), templatesToJson(db, CssTemplates)},
        {QStringLiteral("defaultCssTemplate"), db.templateIndex(CssTemplates, db.DefaultCSSTemplate)},
        {QStringLiteral("tree"), treeToJson(db, db.topLevel())},
        {QStringLiteral("tray"), trayToJson(db)},
        {QStringLiteral("includedFiles"), includedFilesToJson(db)},
    };
}


LEXORA_CLI_VERB("dump", "FILE [--sort C:M,...|default] [--password-file FILE]", runDump)

} // namespace lexora::cli
