#include "node_page.h"

#include "cli_document.h"

#include "database/node_path.h"
#include "database/win1252.h"
#include "render/page_builder.h"
#include "support/error.h"

#include <cstdio>

namespace lexora::cli {

const Node &nodeAt(const Database &db, const QString &path)
{
    const Node *node = FindNodeByPath(db, win1252::fromUnicode(path));
    if (!node)
        throw Error(Error::Kind::InvalidInput, QStringLiteral("Es gibt kein Element \"%1\".").arg(path));
    return *node;
}

Text nodePageOf(const QStringList &arguments, const QString &usage)
{
    QStringList args = arguments;
    const DocumentOptions options = takeDocumentOptions(args);
    requireArguments(args, 2, usage);
    CliDocument opened(options);
    opened.open(args.at(0));
    return BuildNodePage(opened.db(), nodeAt(opened.db(), args.at(1)));
}

void printText(const Text &text)
{
    const QByteArray utf8 = win1252::toUtf8(text);
    std::fwrite(utf8.constData(), 1, std::size_t(utf8.size()), stdout);
    std::fflush(stdout);
}

} // namespace lexora::cli
