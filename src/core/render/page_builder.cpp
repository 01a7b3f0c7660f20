#include "render/page_builder.h"

#include "database/win1252.h"
#include "render/html_text.h"
#include "render/placeholders.h"
#include "render/text_rewrite.h"
#include "render/text_steps.h"
#include "text/file_size.h"
#include "text/short_date.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace lexora {
namespace {

// Template blocks nested deeper than this are left unexpanded: every level is a recursion, and
// a page of nothing but nested blocks must not exhaust the stack.
constexpr int MaxBlockNesting = 100;
// A small file can ask for a huge page: a template naming "%text%", "%css%" or "%headline%" many
// times over, or templates whose blocks name each other several times. So every page has one
// budget, a fixed amount plus a multiple of its own size: every byte by which a step makes a
// text longer is paid from it, and so is every block, for reading its template and content
// (those reads cost time even when nothing grows) and a fixed share for running the steps.
// Where the budget ends, the page is cut and ends with a note.
constexpr qsizetype PageBudgetFixed = qsizetype(16) << 20;
constexpr qsizetype PageBudgetPerByte = 32;
constexpr qsizetype BlockStepsWork = 256;

// A folder as the page writes it: with its trailing separator, as text.
Text folderText(QString folder)
{
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return escapeHtml(win1252::fromUnicode(folder));
}

Text dateText(DateTime date)
{
    return win1252::fromUnicode(shortDate(date));
}

// What one page is built from, fixed for the whole build, nested expansions included, and the
// state of the nested expansions.
class RenderContext {
public:
    // pageSize: the size of the text and templates the page is built from.
    RenderContext(const Database &db, PageTemplates templates, const Node &node,
                  const TTipItem *item, qsizetype pageSize);

    Text ExpandText(const Text &text, bool lineBreaks, bool wrap);
    // Whether the page ran out of budget and was cut.
    bool isCut() const { return m_budget.isCut(); }
    // The page's size limit, for the note.
    qsizetype pageLimit() const { return m_pageLimit; }

private:
    template <class Value>
    void replaceArguments(RewrittenText &text, int index, Value value);
    void replacePlain(RewrittenText &text, int index, QByteArrayView value);
    bool expandTemplateBlocks(const Text &text, Text &out);
    bool mayExpand(const TTemplate *tmpl) const;
    // Pays for reading a block's template and content; false when the budget cannot.
    bool afford(const TTemplate &tmpl, const Text &content);
    Text expandBlock(const TTemplate &tmpl, const Text &content);
    Text parentTitle(const Text &argument) const;
    Text includedFile(const Text &name) const;

    const Database &m_db;
    const PageTemplates m_templates;
    const Node &m_node;
    const TTipItem *m_item;
    std::vector<const Node *> m_ancestors; // the parent first, the top-level ancestor last
    // The values of the plain placeholders, made once for all nested expansions. Names, users
    // and paths are text, not markup: they are inserted escaped, so that the page shows them
    // as the tree does.
    Text m_headline, m_createdBy, m_modifiedBy;
    Text m_created, m_modified, m_level, m_children, m_fileName, m_filePath, m_appPath;

    // Templates whose own code is being expanded right now, outermost first.
    std::vector<const TTemplate *> m_expanding;
    int m_nesting = 0;
    const qsizetype m_pageLimit;
    PageBudget m_budget;
};

RenderContext::RenderContext(const Database &db, PageTemplates templates, const Node &node,
                             const TTipItem *item, qsizetype pageSize)
    : m_db(db), m_templates(templates), m_node(node), m_item(item),
      m_pageLimit(pageSize + PageBudgetFixed + PageBudgetPerByte * pageSize),
      m_budget(PageBudgetFixed + PageBudgetPerByte * pageSize)
{
    for (const Node *p = node.parent(); p; p = p->parent())
        m_ancestors.push_back(p);
    m_headline = escapeHtml(node.name());
    if (item) {
        m_created = dateText(item->Created);
        m_modified = dateText(item->Modified);
        m_createdBy = escapeHtml(item->CreatedBy);
        m_modifiedBy = escapeHtml(item->ModifiedBy);
    }
    m_level = Text::number(m_ancestors.size());
    m_children = Text::number(node.childCount());
    const QString &file = db.CurrentFileName;
    if (!file.isEmpty()) {
        m_fileName = escapeHtml(win1252::fromUnicode(QFileInfo(file).fileName()));
        m_filePath = folderText(QFileInfo(file).path());
    }
    // Without an application object (a bare test program) there is no program folder to name.
    if (QCoreApplication::instance())
        m_appPath = folderText(QCoreApplication::applicationDirPath());
}

Text RenderContext::ExpandText(const Text &input, bool lineBreaks, bool wrap)
{
    // Each step works on the whole result of the one before, so it sees what earlier steps
    // inserted, but never what it inserted itself.
    RewrittenText text(input, &m_budget);
    if (lineBreaks)
        convertLineBreaks(text);
    replaceEscapes(text);
    if (wrap && m_templates.html) {
        text.apply([this](const Text &in, Text &out) {
            if (!replaceAll(m_templates.html->Code, placeholderPattern(PhText), in, out, &m_budget))
                out = m_templates.html->Code;
            return true;
        });
    }
    keepIndentation(text);
    if (m_templates.css)
        replacePlain(text, PhCss, m_templates.css->Code);
    replacePlain(text, PhHeadline, m_headline);
    replaceArguments(text, PhXcss, [this](const Text &name) {
        const TTemplate *css = name.isEmpty() ? m_db.DefaultCSSTemplate
                                              : m_db.FindTemplate(CssTemplates, name);
        return css ? css->Code : Text();
    });
    text.apply([this](const Text &in, Text &out) { return expandTemplateBlocks(in, out); });
    if (m_item) {
        replacePlain(text, PhCreated, m_created);
        replacePlain(text, PhModified, m_modified);
        replacePlain(text, PhCreatedBy, m_createdBy);
        replacePlain(text, PhModifiedBy, m_modifiedBy);
    }
    replacePlain(text, PhLevel, m_level);
    replaceArguments(text, PhParents, [this](const Text &index) { return parentTitle(index); });
    replacePlain(text, PhChildren, m_children);
    replacePlain(text, PhFileName, m_fileName);
    replacePlain(text, PhFilePath, m_filePath);
    replacePlain(text, PhAppPath, m_appPath);
    replaceArguments(text, PhFile, [this](const Text &name) { return includedFile(name); });
    replacePlain(text, PhType, m_item ? "1" : "0");
    return text.take();
}

void RenderContext::replacePlain(RewrittenText &text, int index, QByteArrayView value)
{
    text.replaceAll(placeholderPattern(index), value);
}

// Each occurrence of an argument placeholder, from the start, is replaced by value(argument);
// an empty value makes it disappear.
template <class Value>
void RenderContext::replaceArguments(RewrittenText &text, int index, Value value)
{
    text.apply([this, index, &value](const Text &in, Text &out) {
        const PlaceholderSearch search(index, in);
        TextRewriter rewriter(in, out, &m_budget);
        PlaceholderMatch match;
        for (qsizetype from = 0; !rewriter.isCut() && search.FindPlaceholder(from, match);
             from = match.end)
            rewriter.replace(match.start, match.end, value(match.argument));
        return rewriter.finish();
    });
}

// A decimal integer with an optional sign and nothing around it.
std::optional<int> decimalIndex(const Text &argument)
{
    const qsizetype digits = argument.startsWith('-') || argument.startsWith('+') ? 1 : 0;
    if (argument.size() == digits
        || !std::all_of(argument.begin() + digits, argument.end(),
                        [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    bool valid = false;
    const int index = argument.toInt(&valid);
    return valid ? std::optional<int>(index) : std::nullopt;
}

Text RenderContext::parentTitle(const Text &argument) const
{
    const std::optional<int> parsed = decimalIndex(argument);
    if (!parsed)
        return {};
    int index = *parsed;
    const int level = int(m_ancestors.size());
    if (index < 0)
        index += level;
    if (index < 0 || index >= level)
        return {};
    return escapeHtml(m_ancestors[std::size_t(index)]->name());
}

Text RenderContext::includedFile(const Text &name) const
{
    if (!m_db.FindIncludedFile(name))
        return {};
    return win1252::fromUnicode(m_db.IncludedFilesFolder) + name;
}

bool RenderContext::expandTemplateBlocks(const Text &text, Text &out)
{
    const PlaceholderSearch search(PhXhtml, text);
    std::optional<BlockMarkers> markers; // indexed at the first block that needs its end
    const Text closing = blockClosing(PhXhtml);
    TextRewriter rewriter(text, out, &m_budget);
    PlaceholderMatch opening;
    qsizetype from = 0;
    while (!rewriter.isCut() && search.FindPlaceholder(from, opening)) {
        // The opening goes in any case; when its block is not expanded, its content is searched
        // on and the content and the closing marker stay in the page.
        from = opening.end;
        const TTemplate *tmpl = opening.argument.isEmpty()
                                    ? m_db.DefaultHTMLTemplate
                                    : m_db.FindTemplate(HtmlTemplates, opening.argument);
        std::optional<Text> expanded;
        qsizetype close = -1;
        if (mayExpand(tmpl)) {
            if (!markers)
                markers.emplace(text, PhXhtml);
            close = markers->FindBlockEnd(opening.end);
            if (close >= 0) {
                const Text content = text.sliced(opening.end, close - opening.end);
                if (!afford(*tmpl, content)) {
                    rewriter.cutAt(opening.start);
                    break;
                }
                expanded = expandBlock(*tmpl, content);
            }
        }
        if (expanded) {
            from = close + closing.size();
            rewriter.replace(opening.start, from, *expanded);
            // A page cut inside this block ends with it.
            if (m_budget.isCut()) {
                rewriter.cutAt(from);
                break;
            }
        } else {
            rewriter.replace(opening.start, opening.end, {});
        }
    }
    return rewriter.finish();
}

bool RenderContext::mayExpand(const TTemplate *tmpl) const
{
    // The page's own HTML template is never expanded in a block. Nor is a template whose code is
    // being expanded already: a template naming itself in a block, directly or through other
    // templates, would otherwise recurse without end.
    return tmpl && tmpl != m_templates.html
           && std::find(m_expanding.begin(), m_expanding.end(), tmpl) == m_expanding.end()
           && m_nesting < MaxBlockNesting && !m_budget.isCut();
}

bool RenderContext::afford(const TTemplate &tmpl, const Text &content)
{
    const qsizetype work = BlockStepsWork + tmpl.Code.size() + content.size();
    return m_budget.take(work) == work;
}

// The template's code and the block's content, each expanded on its own without line breaks and
// wrap; the content takes the place of every "%text%" of the code.
Text RenderContext::expandBlock(const TTemplate &tmpl, const Text &content)
{
    struct Nesting {
        RenderContext &context;
        explicit Nesting(RenderContext &c) : context(c) { ++context.m_nesting; }
        ~Nesting() { --context.m_nesting; }
    } nesting(*this);

    m_expanding.push_back(&tmpl);
    const Text code = ExpandText(tmpl.Code, false, false);
    m_expanding.pop_back();
    const Text inner = ExpandText(content, false, false);
    RewrittenText filled(code, &m_budget);
    filled.replaceAll(placeholderPattern(PhText), inner);
    return filled.take();
}

// What ends a page that was cut. The page may end inside a comment, a script, a style sheet, a
// text area or the title, where the note would not be shown; each of them ends here first.
// Where nothing is open these end tags are ignored and the comment is empty.
Text cutNote(qsizetype pageLimit)
{
    return "<!-- --></script></style></textarea></title>"
           "<p style=\"clear:both; margin:1em 0; padding:0.5em; border:1px solid #c00; "
           "color:#000; background:#fee; font:small sans-serif\">"
           + win1252::fromUnicode(
               QStringLiteral("Lexora hat diese Seite hier abgeschnitten: Ihre Vorlagen und "
                              "Platzhalter hätten sie auf mehr als %1 anwachsen lassen.")
                   .arg(FormatFileSize(pageLimit)))
           + "</p>";
}

} // namespace

Text BuildPage(const Database &db, const Text &code, PageTemplates templates, const Node &node,
               const TTipItem *item, bool autoFormat)
{
    const qsizetype pageSize = code.size() + (templates.html ? templates.html->Code.size() : 0);
    RenderContext context(db, templates, node, item, pageSize);
    Text page = context.ExpandText(code, autoFormat, true);
    if (context.isCut())
        page += cutNote(context.pageLimit());
    return page;
}

Text BuildNodePage(const Database &db, const Node &node)
{
    if (const TTipItem *item = node.item())
        return BuildPage(db, item->Code, {item->HTMLTemplate, item->CSSTemplate}, node, item,
                         item->AutoFormat);
    return BuildPage(db, {}, {db.DefaultHTMLTemplate, db.DefaultCSSTemplate}, node, nullptr, true);
}

} // namespace lexora
