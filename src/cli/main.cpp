#include "verbs.h"

#include "support/error.h"

#include <QCoreApplication>
#include <QMap>

#include <cstdio>

namespace lexora::cli {
namespace {

QMap<QString, Verb> &registry()
{
    static QMap<QString, Verb> verbs;
    return verbs;
}

void printUsage(FILE *to)
{
    std::fprintf(to, "Aufruf: lexora-cli VERB [ARGUMENTE]\n\n");
    for (const Verb &verb : allVerbs())
        std::fprintf(to, "  lexora-cli %s %s\n", verb.name, verb.usage);
}

} // namespace

bool registerVerb(const Verb &verb)
{
    registry().insert(QString::fromLatin1(verb.name), verb);
    return true;
}

const Verb *findVerb(const QString &name)
{
    auto it = registry().constFind(name);
    return it == registry().constEnd() ? nullptr : &it.value();
}

QList<Verb> allVerbs()
{
    return registry().values();
}

} // namespace lexora::cli

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Lexora"));
    QCoreApplication::setApplicationVersion(QStringLiteral(LEXORA_VERSION));
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h")) {
        lexora::cli::printUsage(args.isEmpty() ? stderr : stdout);
        return args.isEmpty() ? 2 : 0;
    }
    if (args.first() == QLatin1String("--version")) {
        std::printf("lexora-cli %s\n", LEXORA_VERSION);
        return 0;
    }
    const lexora::cli::Verb *verb = lexora::cli::findVerb(args.first());
    if (!verb) {
        std::fprintf(stderr, "lexora-cli: unbekannter Befehl \"%s\"\n", qPrintable(args.first()));
        lexora::cli::printUsage(stderr);
        return 2;
    }
    try {
        return verb->run(args.mid(1));
    } catch (const lexora::Error &e) {
        std::fprintf(stderr, "lexora-cli: %s\n", e.what());
        return 1;
    }
}
