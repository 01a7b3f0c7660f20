// lexora-cli search: runs a search as the search window would and prints one line per result,
// or, with --highlight, the highlighted pieces of one node as JSON.

#include "node_page.h"
#include "cli_document.h"
#include "verbs.h"

#include "database/node_path.h"
#include "database/win1252.h"
#include "search/highlight.h"
#include "search/search_engine.h"
#include "support/error.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace lexora::cli {
namespace {

bool takeFlag(QStringList &args, const QString &name)
{
    return args.removeAll(name) > 0;
}

Text modelText(const QString &text)
{
    return win1252::fromUnicode(text);
}

// "OP:VALUE" with OP the index of the operator in the window's list for that condition.
std::pair<int, QString> operatorAndValue(const QString &option, const QString &text, int operators)
{
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    bool ok = false;
    const int op = text.left(colon).toInt(&ok);
    if (colon < 0 || !ok || op < 0 || op >= operators)
        throw Error(Error::Kind::InvalidInput, QStringLiteral("%1 erwartet OPERATOR:WERT mit einem Operator von 0 bis %2, "
                                   "nicht \"%3\".")
                        .arg(option).arg(operators - 1).arg(text));
    return {op, text.mid(colon + 1)};
}

void takeDateCondition(QStringList &args, const QString &option, DateCondition &condition)
{
    if (!args.contains(option))
        return;
    const auto [op, value] = operatorAndValue(option, takeOption(args, option), 3);
    const QDate date = QDate::fromString(value, QStringLiteral("dd.MM.yyyy"));
    if (!date.isValid())
        throw Error(Error::Kind::InvalidInput, QStringLiteral("%1: \"%2\" ist kein Datum der Form TT.MM.JJJJ.")
                        .arg(option, value));
    condition = {true, op, DateTime(QDate(1899, 12, 30).daysTo(date))};
}

void takeUserCondition(QStringList &args, const QString &option, const QString &label,
                       UserCondition &condition)
{
    if (!args.contains(option))
        return;
    const auto [op, value] = operatorAndValue(option, takeOption(args, option), 2);
    if (value.isEmpty())
        throw Error(Error::Kind::InvalidInput, QStringLiteral("Sie müssen einen Benutzernamen für die Bedingung \"%1\" "
                                   "angeben.").arg(label));
    condition = {true, op, modelText(value)};
}

// A template condition names its template; it is looked up once the database is open.
struct TemplateChoice {
    int list;
    std::optional<std::pair<int, QString>> choice;
};

TemplateChoice takeTemplateChoice(QStringList &args, const QString &option, int list)
{
    if (!args.contains(option))
        return {list, std::nullopt};
    return {list, operatorAndValue(option, takeOption(args, option), 2)};
}

// An empty name stands for "Keine Vorlage".
void resolve(const TemplateChoice &t, const Database &db, TemplateCondition &condition)
{
    if (!t.choice)
        return;
    const auto &[op, name] = *t.choice;
    const TTemplate *tmpl = nullptr;
    if (!name.isEmpty()) {
        tmpl = db.FindTemplate(t.list, modelText(name));
        if (!tmpl)
            throw Error(Error::Kind::InvalidInput, QStringLiteral("Die Datenbank hat keine %1 namens \"%2\".")
                            .arg(t.list == HtmlTemplates ? QStringLiteral("HTML-Vorlage")
                                                         : QStringLiteral("CSS-Vorlage"),
                                 name));
    }
    condition = {true, op, tmpl};
}

SearchPlaces takePlaces(QStringList &args)
{
    if (!args.contains(QStringLiteral("--places")))
        return {};
    SearchPlaces places{false, false, false, false};
    const QString list = takeOption(args, QStringLiteral("--places"));
    for (const QString &place : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        if (place == QLatin1String("keys"))
            places.keyNames = true;
        else if (place == QLatin1String("names"))
            places.itemNames = true;
        else if (place == QLatin1String("codes"))
            places.itemCodes = true;
        else if (place == QLatin1String("texts"))
            places.itemTexts = true;
        else
            throw Error(Error::Kind::InvalidInput, QStringLiteral("--places kennt \"%1\" nicht (keys, names, codes, texts).")
                            .arg(place));
    }
    if (!places.keyNames && !places.itemNames && !places.itemCodes && !places.itemTexts)
        throw Error(Error::Kind::InvalidInput, QStringLiteral("Sie müssen mindestens eine Stelle (Schlüsselname, "
                                   "Eintragsname, Eintragscode oder Eintragstext) angeben, die "
                                   "durchsucht werden soll."));
    return places;
}

QStringList takeAll(QStringList &args, const QString &option)
{
    QStringList values;
    while (args.contains(option))
        values.append(takeOption(args, option));
    return values;
}

// The scope list as the window keeps it: each entry once, the top level first, then the keys in
// tree order. Without --scope it holds the top level; an empty path stands for it.
std::vector<const Node *> scopeList(const QStringList &paths, const Database &db)
{
    std::vector<const Node *> scope;
    for (const QString &path : paths) {
        const Node *key = path.isEmpty() ? nullptr : &nodeAt(db, path);
        if (key && key->isItem())
            throw Error(Error::Kind::InvalidInput, QStringLiteral("\"%1\" ist kein Schlüssel.").arg(path));
        if (std::find(scope.begin(), scope.end(), key) == scope.end())
            scope.push_back(key);
    }
    if (scope.empty())
        return {nullptr};
    std::vector<std::pair<int, const Node *>> ordered;
    for (const Node *key : scope)
        ordered.emplace_back(key ? db.absoluteIndex(key) : -1, key);
    std::sort(ordered.begin(), ordered.end());
    scope.clear();
    for (const auto &entry : ordered)
        scope.push_back(entry.second);
    return scope;
}

QByteArray placesText(quint8 places)
{
    QByteArray text;
    if (places & PlaceName)
        text += ", Eintragsname";
    if (places & PlaceCode)
        text += ", Quellcode";
    if (places & PlaceText)
        text += ", Anzeigetext";
    return text.mid(2);
}

QJsonArray piecesJson(const Text &text, const SearchQuery &query)
{
    QJsonArray pieces;
    for (const HighlightPiece &piece : HighlightHits(text, query))
        pieces.append(QJsonArray{piece.hit, win1252::toUnicode(piece.text)});
    return pieces;
}

void write(const QByteArray &utf8)
{
    std::fwrite(utf8.constData(), 1, std::size_t(utf8.size()), stdout);
}

int runSearch(const QStringList &arguments)
{
    QStringList args = arguments;
    const DocumentOptions documentOptions = takeDocumentOptions(args);
    SearchQuery query;
    query.mode = takeFlag(args, QStringLiteral("--any")) ? SearchMode::Any : SearchMode::All;
    query.wholeWords = takeFlag(args, QStringLiteral("--whole-words"));
    query.exactCase = takeFlag(args, QStringLiteral("--exact-case"));
    query.recursive = !takeFlag(args, QStringLiteral("--no-recursive"));
    query.places = takePlaces(args);
    takeDateCondition(args, QStringLiteral("--created"), query.created);
    takeDateCondition(args, QStringLiteral("--modified"), query.modified);
    takeUserCondition(args, QStringLiteral("--creator"), QStringLiteral("Ersteller"), query.creator);
    takeUserCondition(args, QStringLiteral("--modifier"), QStringLiteral("Bearbeiter"),
                      query.modifier);
    const TemplateChoice html =
        takeTemplateChoice(args, QStringLiteral("--html-template"), HtmlTemplates);
    const TemplateChoice css = takeTemplateChoice(args, QStringLiteral("--css-template"), CssTemplates);
    if (args.contains(QStringLiteral("--autoformat"))) {
        const QString value = takeOption(args, QStringLiteral("--autoformat"));
        if (value != QLatin1String("on") && value != QLatin1String("off"))
            throw Error(Error::Kind::InvalidInput, QStringLiteral("--autoformat erwartet on oder off, nicht \"%1\".").arg(value));
        query.autoFormat = {true, value == QLatin1String("on") ? 0 : 1};
    }
    const QStringList scopePaths = takeAll(args, QStringLiteral("--scope"));
    const bool highlight = args.contains(QStringLiteral("--highlight"));
    const QString highlightPath = takeOption(args, QStringLiteral("--highlight"));
    if (args.size() < 2)
        throw Error(Error::Kind::InvalidInput, QStringLiteral("Aufruf: lexora-cli search DATEI STICHWÖRTER [Optionen]"));
    if (args.size() > 2)
        throw Error(Error::Kind::InvalidInput, QStringLiteral("Unbekannte oder überzählige Argumente: %1")
                        .arg(args.mid(2).join(QLatin1Char(' '))));
    query.keywordText = modelText(args.at(1));
    // As in the window: a search needs keywords, highlighting shows none without them.
    if (!highlight && query.keywordText.isEmpty())
        throw Error(Error::Kind::InvalidInput, QStringLiteral("Sie haben keine Stichwörter definiert."));

    CliDocument opened(documentOptions);
    opened.open(args.first());
    const Database &db = opened.db();
    resolve(html, db, query.htmlTemplate);
    resolve(css, db, query.cssTemplate);
    query.scope = scopeList(scopePaths, db);

    SearchEngine engine(db);
    if (highlight) {
        const Node *node = &nodeAt(db, highlightPath);
        QJsonObject json{{QStringLiteral("title"), piecesJson(node->name(), query)},
                         {QStringLiteral("code"), QJsonArray()},
                         {QStringLiteral("text"), QJsonArray()}};
        if (node->isItem()) {
            json[QStringLiteral("code")] = piecesJson(node->item()->Code, query);
            json[QStringLiteral("text")] = piecesJson(engine.DisplayedText(*node), query);
        }
        write(QJsonDocument(json).toJson(QJsonDocument::Compact) + '\n');
        return 0;
    }

    std::vector<SearchResult> results;
    engine.RunSearch(query, results);
    QByteArray out;
    for (const SearchResult &result : results)
        out += win1252::toUtf8(NodePath(*result.node)) + '\t' + placesText(result.places) + '\n';
    write(out);
    return 0;
}

} // namespace

LEXORA_CLI_VERB("search",
                "FILE WORDS [--any] [--whole-words] [--exact-case] [--places keys,names,codes,texts] "
                "[--scope PATH]... [--no-recursive] [--created OP:DATE] [--modified OP:DATE] "
                "[--creator OP:NAME] [--modifier OP:NAME] [--html-template OP:NAME] "
                "[--css-template OP:NAME] [--autoformat on|off] [--highlight PATH] "
                "[--password-file FILE] [--files-dir DIR]",
                runSearch)

} // namespace lexora::cli
