#include "exchange/html_export.h"

#include "database/win1252.h"
#include "exchange/line_writer.h"
#include "render/html_text.h"
#include "render/page_builder.h"
#include "support/atomic_file.h"
#include "support/error.h"
#include "support/progress.h"
#include "support/user_prompt.h"
#include "text/code_field_text.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <vector>

namespace lexora {
namespace {

struct Line {
    int level;
    const char *text;
};

// The script that builds the tree while the page loads, up to the node count. The en dash of an
// open key's box is the Windows-1252 byte 0x96.
constexpr Line kScriptHead[] = {
    {2, "function selKeySpan(obj) {"},
    {3, "obj.style.backgroundColor = \"yellow\";"},
    {2, "}"},
    {2, "function deselKeySpan(obj) {"},
    {3, "obj.style.backgroundColor = obj.parentNode.style.backgroundColor;"},
    {2, "}"},
    {2, "function showDiv(divId, itemType) {"},
    {3, "with (document.getElementById(divId).style) {"},
    {4, "display = (display == \"block\") ? \"none\" : \"block\";"},
    {4, "if (itemType)"},
    {5, "document.getElementById(\"s\"+divId).style.display = display == \"none\" ? \"none\" : \"inline\";"},
    {4, "else"},
    {5, "document.getElementById(\"s\"+divId).innerHTML = display == \"none\" ? \"+\" : \"\x96\";"},
    {3, "}"},
    {2, "}"},
    {2, "function initObjs() {"},
    {3, "var objs = document.getElementsByTagName(\"div\");"},
    {3, "var i;"},
    {3, "for (i in objs) {"},
    {4, "if (objs[i].className == \"content\")"},
    {5, "objs[i].style.backgroundColor = objs[i].parentNode.style.backgroundColor == \"#ddd\" ? \"white\" : \"#ddd\";"},
    {3, "}"},
    {3, "objs = document.getElementsByTagName(\"span\");"},
    {3, "for (i in objs) {"},
    {4, "if (objs[i].className == (\"key\" || \"space\"))"},
    {5, "objs[i].innerHTML = \"+\";"},
    {3, "}"},
    {3, "document.getElementById(\"wait\").style.display = \"none\";"},
    {3, "document.getElementById(\"database\").style.display = \"block\";"},
    {2, "}"},
    {2, "var keyCounter = 1;"},
    {2, "var itemCounter = 1;"},
};

// The script after the node count.
constexpr Line kScriptTail[] = {
    {2, "function refreshProgress() {"},
    {3, "document.getElementById('progress').innerText = parseInt((keyCounter+itemCounter-2)/countItems*100);"},
    {2, "}"},
    {2, "function openKey(name) {"},
    {3, "with (document) {"},
    {4, "writeln('<div class=\"title\">');"},
    {5, "writeln('<span class=\"key\" id=\"sk'+keyCounter+'\" onMouseOver=\"selKeySpan(this)\" onMouseOut=\"deselKeySpan(this)\" onClick=\"showDiv(\\'k'+keyCounter+'\\')\"></span>');"},
    {5, "writeln('<span><a href=\"javascript:showDiv(\\'k'+keyCounter+'\\')\">'+name+'</a></span>');"},
    {4, "writeln('</div>');"},
    {4, "writeln('<div class=\"content\" id=\"k'+keyCounter+'\">');"},
    {3, "}"},
    {3, "++keyCounter;"},
    {2, "}"},
    {2, "function closeKey() {"},
    {3, "document.writeln('</div>');"},
    {3, "refreshProgress();"},
    {2, "}"},
    {2, "function openItem(name) {"},
    {3, "with (document) {"},
    {4, "writeln('<div class=\"title\">');"},
    {5, "writeln('<span class=\"space\"></span>');"},
    {5, "writeln('<span><a href=\"javascript:showDiv(\\'i'+itemCounter+'\\', true)\">'+name+'</a></span>');"},
    {5, "writeln('<span class=\"arrow\" id=\"si'+itemCounter+'\">&#230;</span>');"},
    {4, "writeln('</div>');"},
    {4, "writeln('<div class=\"item\" id=\"i'+itemCounter+'\">');"},
    {3, "}"},
    {3, "++itemCounter;"},
    {2, "}"},
    {2, "function closeItem() {"},
    {3, "document.writeln('</div>');"},
    {3, "refreshProgress();"},
    {2, "}"},
    {1, "</script>"},
};

constexpr Line kStyle[] = {
    {2, "<style type=\"text/css\">"},
    {3, "span\t{padding:2; width:20; white-space:nowrap; margin-top:2}"},
    {3, "span.space\t{text-align:center; border:1 solid black; margin-right:4; cursor:pointer; overflow:hidden; visibility:hidden}"},
    {3, "span.key\t{text-align:center; border:1 solid black; margin-right:4; cursor:pointer; overflow:hidden}"},
    {3, "span.arrow\t{font-family:Wingdings; display:none}"},
    {3, "span.title        {white-space:nowrap}"},
    {3, "div.content\t{margin-left:30; margin-right:8; display:none; padding:2}"},
    {3, "div.item\t{margin-left:60; margin-right:2; border:1 outset silver; display:none; background-color:white; padding:4}"},
    {2, "</style>"},
};

constexpr const char *kCreatedWith = "Erstellt mit QZ-Software Lexora-Datenbank";

// Number of all nodes below parent, keys and items, the children of items included.
qint64 countNodes(const Node &parent)
{
    qint64 count = 0;
    std::vector<const Node *> stack{&parent};
    while (!stack.empty()) {
        const Node *node = stack.back();
        stack.pop_back();
        count += node->childCount();
        for (const Node &child : node->children())
            stack.push_back(&child);
    }
    return count;
}

// The German umlauts and "ß" as their named entities, so that names read right whatever code
// page a browser takes the file for.
Text umlautEntities(const Text &text)
{
    Text out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (static_cast<unsigned char>(c)) {
        case 0xE4: out.append("&auml;"); break;
        case 0xF6: out.append("&ouml;"); break;
        case 0xFC: out.append("&uuml;"); break;
        case 0xC4: out.append("&Auml;"); break;
        case 0xD6: out.append("&Ouml;"); break;
        case 0xDC: out.append("&Uuml;"); break;
        case 0xDF: out.append("&szlig;"); break;
        default: out.append(c);
        }
    }
    return out;
}

// The name as the argument of openKey/openItem. The script writes it into the page between
// tags, so it is escaped for the page: it holds no "<" then, which could end the script block,
// nor a double quote, which would end the string literal. A backslash or a line break would
// still end the literal or change the name, so they become escape sequences. The string's value
// is the escaped name, which the page shows as the name.
QByteArray scriptArgument(const Text &name)
{
    const Text escaped = EscapeForPage(name);
    QByteArray out;
    out.reserve(escaped.size() + 16);
    out.append("(\"");
    for (const char c : escaped) {
        switch (c) {
        case '\\': out.append("\\\\"); break;
        case '\r': out.append("\\r"); break;
        case '\n': out.append("\\n"); break;
        default: out.append(c);
        }
    }
    out.append("\");");
    return out;
}

// The tree, depth first with an explicit stack so that deep trees cannot exhaust the call stack.
void writeTree(const Database &db, LineWriter &out, Progress &progress)
{
    struct Open {
        const Node *key;
        int nextChild;
        int level;
    };
    std::vector<Open> stack{{&db.topLevel(), 0, 3}};
    qint64 done = 0;
    while (!stack.empty()) {
        Open &top = stack.back();
        if (top.nextChild == top.key->childCount()) {
            const int level = top.level;
            const bool isTopLevel = stack.size() == 1;
            stack.pop_back();
            if (!isTopLevel) {
                out.line(level, "closeKey();");
                progress.step(++done);
            }
            continue;
        }
        const Node &node = *top.key->child(top.nextChild++);
        const int level = top.level + 1;
        if (node.isItem()) {
            // Children of an item are not exported.
            out.line(level, "openItem" + scriptArgument(node.name()));
            out.line(level + 1, "</script>");
            out.raw(BuildNodePage(db, node));
            out.raw("\r\n");
            out.line(level + 1, "<script>");
            out.line(level, "closeItem();");
            progress.step(++done);
        } else {
            out.line(level, "openKey" + scriptArgument(node.name()));
            stack.push_back({&node, 0, level});
        }
    }
}

void writePage(const Database &db, const HtmlExportOptions &options, const QByteArray &family,
               LineWriter &out, Progress &progress)
{
    // The title is text: escaped first, then a character that Windows-1252 lacks is kept as its
    // character reference, which the browser shows as typed, instead of turning into "?".
    const Text title = codeFromField(escapeHtml(options.title));
    out.line(0, "<html>");
    out.line(1, "<script type=\"text/javascript\">");
    for (const Line &l : kScriptHead)
        out.line(l.level, l.text);
    out.line(2, "var countItems = " + QByteArray::number(countNodes(db.topLevel())) + ";");
    for (const Line &l : kScriptTail)
        out.line(l.level, l.text);
    out.line(1, "<head>");
    if (!title.isEmpty())
        out.line(2, "<title>" + title + "</title>");
    out.line(2, QByteArray("<meta name=\"description\" content=\"") + kCreatedWith + "\">");
    for (const Line &l : kStyle)
        out.line(l.level, l.text);
    out.line(1, "</head>");
    out.line(1, "<body bgColor=\"white\" onLoad=\"initObjs()\" style=\"font:"
                    + exportFontSizeKeyword(options.fontSize) + ' ' + family + "\">");
    if (!title.isEmpty()) {
        out.line(2, QByteArray("<h1 style=\"margin-bottom:2\" title=\"") + kCreatedWith + "\">"
                        + umlautEntities(title) + "</h1>");
        out.line(2, "<hr>");
    }
    out.line(2, "<div id=\"wait\">Bitte warten... Die Datenbank wird geladen: <span "
                "id=\"progress\" style=\"margin:0; padding:0; width:0\">0</span> %</div>");
    out.line(2, "<div id=\"database\" style=\"display:none\">");
    out.line(3, "<script>");
    writeTree(db, out, progress);
    out.line(3, "</script>");
    out.line(2, "</div>");
    out.line(1, "</body>");
    out.line(0, "</html>");
    out.flush();
}

// The checks of the output path; returns the message for the input field, empty when it passes.
QString checkOutputPath(const QString &fileName)
{
    const qsizetype slash = fileName.lastIndexOf(QLatin1Char('/'));
    const QString folder = fileName.left(slash + 1);
    // Missing folders are created now, even when the file name is refused afterwards. A relative
    // folder would be taken from wherever the program happens to run, so it counts as none.
    if (folder.isEmpty() || QDir::isRelativePath(folder) || !QDir().mkpath(folder))
        return QStringLiteral("Das angegebene Verzeichnis kann nicht erstellt werden.");
    const QString name = fileName.mid(slash + 1);
    static const QString invalid = QStringLiteral("\\/:*?\"<>|");
    if (name.isEmpty() || std::any_of(name.begin(), name.end(),
                                      [](QChar c) { return invalid.contains(c); }))
        return QStringLiteral("Der angegebene Dateiname ist ungültig.");
    return {};
}

} // namespace

QByteArray exportFontSizeKeyword(int entry)
{
    static constexpr std::array<const char *, ExportFontSizeCount> keywords = {
        "xx-small", "x-small", "small", "medium", "large", "x-large", "xx-large"};
    if (entry < 0 || entry >= ExportFontSizeCount)
        throw Error(Error::Kind::InvalidInput, QStringLiteral("Die Schriftgröße %1 gibt es nicht; erlaubt sind 0 bis %2.")
                        .arg(entry)
                        .arg(ExportFontSizeCount - 1));
    return keywords[std::size_t(entry)];
}

Text EscapeForPage(const Text &text)
{
    return umlautEntities(escapeHtml(text));
}

HtmlExportResult ExportDatabaseHTML(const Database &db, const HtmlExportOptions &options,
                                    UserPrompt &prompt, Progress &progress)
{
    if (QString error = checkOutputPath(options.fileName); !error.isEmpty())
        return {HtmlExportResult::InvalidInput, error};
    if (QFileInfo::exists(options.fileName)) {
        const QString text = QStringLiteral("Die Datei\r\n") + options.fileName
                             + QStringLiteral("\r\nexistiert bereits. Soll sie überschrieben werden?");
        if (prompt.question(QStringLiteral("Datei existiert bereits"), text,
                            UserPrompt::Buttons::YesNo)
            != UserPrompt::Answer::Yes)
            return {HtmlExportResult::Declined, {}};
    }

    // Without a chosen family the body line would name none and lose its whole font setting, so
    // the export takes the installed family the caller names, and failing that the generic
    // "sans-serif", which every browser maps to an installed font.
    QString family = options.fontFamily;
    if (family.isEmpty())
        family = options.fallbackFontFamily;
    if (family.isEmpty())
        family = QStringLiteral("sans-serif");

    bool written = false;
    try {
        // Written to a temporary file and put in place at the end: a failed export leaves an
        // existing file as it was.
        AtomicFile file(options.fileName);
        if (!file.open(QIODevice::WriteOnly))
            throw Error(Error::Kind::IoError, file.errorString());
        {
            ProgressScope scope(progress, QStringLiteral("Daten exportieren"),
                                QStringLiteral("Daten werden exportiert..."),
                                countNodes(db.topLevel()));
            LineWriter out(file.device());
            writePage(db, options, win1252::fromUnicode(family), out, progress);
        }
        written = file.commit();
    } catch (const Error &) {
        written = false;
    }
    if (!written) {
        prompt.message(UserPrompt::Icon::Error, QStringLiteral("Speichervorgang fehlgeschlagen"),
                       QStringLiteral("Die Ausgabedatei konnte nicht erstellt werden."));
        return {HtmlExportResult::Failed, {}};
    }
    prompt.message(
        UserPrompt::Icon::Information, QStringLiteral("Vorgang abgeschlossen"),
        QStringLiteral("Die Datenbank wurde exportiert.\r\n\r\nHinweise:\r\n"
                       "- Fehlerhafter HTML-Code eines einzigen Eintrags kann zur fehlerhaften "
                       "Darstellung der gesamten Datenbank führen.\r\n"
                       "- Bei älteren Browsern können Darstellungsfehler auftreten."));
    return {HtmlExportResult::Exported, {}};
}

} // namespace lexora
