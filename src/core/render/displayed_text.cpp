#include "render/displayed_text.h"

#include "database/win1252.h"
#include "render/displayed_text_style.h"

#include <gumbo.h>

#include <algorithm>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

namespace lexora {
namespace render {
namespace {

// The innerText result: text, tabs and line breaks, and the "required line break counts" of
// blocks, of which a run becomes as many line breaks as its largest count, and which vanish at the
// start and the end of the text.
class TextResult {
public:
    void text(std::string_view text)
    {
        if (text.empty())
            return;
        flushLineBreaks();
        m_text.append(text.data(), qsizetype(text.size()));
    }
    void newline() { flushLineBreaks(); m_text.append('\n'); }
    void tab() { flushLineBreaks(); m_text.append('\t'); }
    void requireLineBreaks(int count)
    {
        if (!m_text.isEmpty())
            m_required = std::max(m_required, count);
    }
    // Text written so far, for a later insert.
    qsizetype size() const { return m_text.size(); }
    void insertSpace(qsizetype at) { m_text.insert(at, ' '); }
    const QByteArray &utf8() const { return m_text; }

private:
    void flushLineBreaks()
    {
        m_text.append(qsizetype(m_required), '\n');
        m_required = 0;
    }

    QByteArray m_text;
    int m_required = 0;
};

// The text of all text nodes below `node`, as the DOM's textContent (without recursion, however
// deep the tree).
void appendTextContent(const GumboNode &node, QByteArray &out)
{
    if (node.type != GUMBO_NODE_ELEMENT)
        return;
    std::vector<std::pair<const GumboNode *, unsigned>> open = {{&node, 0}};
    while (!open.empty()) {
        auto &[parent, next] = open.back();
        if (next == parent->v.element.children.length) {
            open.pop_back();
            continue;
        }
        const GumboNode &child = *static_cast<const GumboNode *>(parent->v.element.children.data[next++]);
        if (child.type == GUMBO_NODE_TEXT || child.type == GUMBO_NODE_WHITESPACE || child.type == GUMBO_NODE_CDATA)
            out.append(child.v.text.text);
        else if (child.type == GUMBO_NODE_ELEMENT)
            open.emplace_back(&child, 0);
    }
}

bool isCollapsibleSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Walks the parse tree the way the browser lays it out and collects what innerText shows.
//
// White space collapses within one run of lines (the inline content between two block
// boundaries): a run of spaces becomes one space, a space after a space, at the start of the run
// or after a line break disappears, and a space at the end of the run or before a line break
// disappears. A space is therefore held back until what follows it is known.
class Collector {
public:
    explicit Collector(bool quirks) : m_quirks(quirks) {}

    void children(const GumboNode &node, const ElementStyle &style)
    {
        if (m_depth >= kMaxDepth)
            return flattened(node, style);
        ++m_depth;
        const GumboVector &children = node.v.element.children;
        for (unsigned i = 0; i < children.length; ++i)
            child(*static_cast<const GumboNode *>(children.data[i]), style);
        --m_depth;
    }

    const QByteArray &utf8() const { return m_result.utf8(); }

private:
    // A held space of shown or hidden text; a deferred one belongs at m_deferredSpaceAt, before
    // the text of floated or positioned boxes that came after it.
    enum class HeldSpace { None, Shown, Hidden, Deferred };

    // Browsers nest elements no deeper than this; deeper ones end up side by side.
    static constexpr int kMaxDepth = 512;

    void child(const GumboNode &node, const ElementStyle &parent)
    {
        switch (node.type) {
        case GUMBO_NODE_TEXT:
        case GUMBO_NODE_WHITESPACE:
        case GUMBO_NODE_CDATA:
            if (parent.rendersText && !(node.type == GUMBO_NODE_WHITESPACE && holdsRowsOrCells(*node.parent, parent)))
                text(node.v.text.text, parent.whiteSpace, parent.visible);
            break;
        case GUMBO_NODE_ELEMENT:
        case GUMBO_NODE_TEMPLATE:
            element(node, parent);
            break;
        default:
            break;
        }
    }

    void element(const GumboNode &node, const ElementStyle &parent)
    {
        const ElementStyle style = ComputeStyle(node, parent, m_quirks);
        if (style.box == Box::None)
            return;
        if (IsHtml(node, GUMBO_TAG_BR)) {
            lineBreak();
            if (style.visible)
                m_result.newline();
            return;
        }
        if (IsHtml(node, GUMBO_TAG_OPTION) && !style.outOfFlow)
            return option(node, style.visible);
        // Paragraphs are set off by a blank line, whatever their display.
        const int lineBreaks = IsHtml(node, GUMBO_TAG_P) ? 2 : style.box == Box::Block ? 1 : 0;
        const int shownLineBreaks = style.visible ? lineBreaks : 0;
        switch (style.box) {
        case Box::Inline:
            // The held space is shown before the line breaks, yet still swallows the next one.
            if (shownLineBreaks > 0 && m_heldSpace != HeldSpace::None) {
                showHeldSpace();
                m_atLineStart = true;
            }
            if (IsHtml(node, GUMBO_TAG_Q))
                quotationMark();
            m_result.requireLineBreaks(shownLineBreaks);
            content(node, style);
            m_result.requireLineBreaks(shownLineBreaks);
            if (IsHtml(node, GUMBO_TAG_Q))
                quotationMark();
            break;
        case Box::InlineBlock:
            showHeldSpace();
            m_atLineStart = true;
            m_result.requireLineBreaks(shownLineBreaks);
            content(node, style);
            m_result.requireLineBreaks(shownLineBreaks);
            endLines();
            m_atLineStart = false;
            break;
        case Box::Block:
            if (style.outOfFlow)
                return outOfFlowBlock(node, style, shownLineBreaks);
            [[fallthrough]];
        case Box::TableRowGroup:
        case Box::TableRow:
        case Box::TableCell:
            endLines();
            m_result.requireLineBreaks(shownLineBreaks);
            content(node, style);
            endLines();
            m_result.requireLineBreaks(shownLineBreaks);
            if (style.visible && style.box == Box::TableCell && !isLastCell(node, parent))
                m_result.tab();
            if (style.visible && style.box == Box::TableRow && !isLastRow(node, parent))
                m_result.newline();
            break;
        case Box::TableColumn:
        case Box::None:
            break;
        }
    }

    // A floated or positioned block stands beside the lines around it, which go on after it as if
    // it were not there: whether a space before it stays is known only after it.
    void outOfFlowBlock(const GumboNode &node, const ElementStyle &style, int shownLineBreaks)
    {
        const HeldSpace held = m_heldSpace;
        const bool atLineStart = m_atLineStart;
        if (held == HeldSpace::Shown)
            m_deferredSpaceAt = m_result.size();
        m_heldSpace = HeldSpace::None;
        m_atLineStart = true;
        m_result.requireLineBreaks(shownLineBreaks);
        content(node, style);
        endLines();
        m_result.requireLineBreaks(shownLineBreaks);
        m_heldSpace = held == HeldSpace::Shown ? HeldSpace::Deferred : held;
        m_atLineStart = atLineStart;
    }

    // The content of an element nested too deep, read without recursion (so that no page can
    // exhaust the stack) as one flat run: text as text, each block starting a line.
    void flattened(const GumboNode &root, const ElementStyle &style)
    {
        struct Open { const GumboNode *node; unsigned next; int lineBreaks; };
        std::vector<Open> open = {{&root, 0, 0}};
        while (!open.empty()) {
            Open &top = open.back();
            if (top.next == top.node->v.element.children.length) {
                if (top.lineBreaks > 0) {
                    endLines();
                    m_result.requireLineBreaks(top.lineBreaks);
                }
                open.pop_back();
                continue;
            }
            const GumboNode &node = childAt(*top.node, top.next++);
            if (node.type != GUMBO_NODE_ELEMENT) {
                child(node, style);
                continue;
            }
            const ElementStyle nodeStyle = ComputeStyle(node, style, m_quirks);
            if (nodeStyle.box == Box::None || !nodeStyle.showsContent)
                continue;
            if (IsHtml(node, GUMBO_TAG_BR)) {
                lineBreak();
                if (nodeStyle.visible)
                    m_result.newline();
                continue;
            }
            const int lineBreaks = nodeStyle.box != Box::Inline && nodeStyle.visible ? 1 : 0;
            if (lineBreaks > 0) {
                endLines();
                m_result.requireLineBreaks(lineBreaks);
            }
            open.push_back({&node, 0, lineBreaks});
        }
    }

    void content(const GumboNode &node, const ElementStyle &style)
    {
        if (!style.showsContent)
            return;
        if (IsHtml(node, GUMBO_TAG_SELECT))
            return selectOptions(node, style);
        if (IsHtml(node, GUMBO_TAG_DETAILS) && !gumbo_get_attribute(&node.v.element.attributes, "open"))
            return closedDetails(node, style);
        children(node, style);
    }

    // A closed details element shows its first summary only.
    void closedDetails(const GumboNode &node, const ElementStyle &style)
    {
        const GumboVector &children = node.v.element.children;
        for (unsigned i = 0; i < children.length; ++i) {
            const GumboNode &child = *static_cast<const GumboNode *>(children.data[i]);
            if (IsHtml(child, GUMBO_TAG_SUMMARY))
                return element(child, style);
        }
    }

    // A select box shows each option's text on a line of its own.
    void selectOptions(const GumboNode &select, const ElementStyle &style)
    {
        const GumboVector &children = select.v.element.children;
        for (unsigned i = 0; i < children.length; ++i) {
            const GumboNode &child = *static_cast<const GumboNode *>(children.data[i]);
            if (IsHtml(child, GUMBO_TAG_OPTGROUP))
                selectOptions(child, style);
            else if (IsHtml(child, GUMBO_TAG_OPTION))
                option(child, style.visible);
        }
    }

    // An option, in a select box or not, shows its whole text (hidden parts included), white
    // space collapsed, on a line of its own.
    void option(const GumboNode &node, bool visible)
    {
        QByteArray label;
        appendTextContent(node, label);
        label = label.simplified();
        endLines();
        m_result.requireLineBreaks(1);
        if (visible)
            m_result.text({label.constData(), std::size_t(label.size())});
        m_result.requireLineBreaks(1);
        endLines();
    }

    // Text in the white-space handling of its element; hidden text takes part in the collapsing
    // but shows nothing.
    void text(std::string_view text, WhiteSpace whiteSpace, bool shown)
    {
        m_buffer.clear();
        for (const char c : text) {
            if (whiteSpace == WhiteSpace::Preserve || (c == '\n' && whiteSpace == WhiteSpace::PreserveLines)) {
                if (c == '\n') {
                    m_heldSpace = HeldSpace::None;
                    m_atLineStart = true;
                } else {
                    releaseHeldSpace(shown);
                    m_atLineStart = false;
                }
                m_buffer.append(c);
            } else if (isCollapsibleSpace(c)) {
                if (!m_atLineStart && m_heldSpace == HeldSpace::None)
                    m_heldSpace = shown ? HeldSpace::Shown : HeldSpace::Hidden;
            } else {
                releaseHeldSpace(shown);
                m_atLineStart = false;
                m_buffer.append(c);
            }
        }
        if (shown)
            m_result.text({m_buffer.constData(), std::size_t(m_buffer.size())});
    }

    // A held space is followed by a character: it stays, shown if its own text was shown, even
    // when the character's text is hidden.
    void releaseHeldSpace(bool shown)
    {
        if (m_heldSpace == HeldSpace::Deferred) {
            m_result.insertSpace(m_deferredSpaceAt);
        } else if (m_heldSpace == HeldSpace::Shown) {
            if (shown)
                m_buffer.append(' ');
            else
                m_result.text(" ");
        }
        m_heldSpace = HeldSpace::None;
    }

    void showHeldSpace()
    {
        if (m_heldSpace == HeldSpace::Deferred)
            m_result.insertSpace(m_deferredSpaceAt);
        else if (m_heldSpace == HeldSpace::Shown)
            m_result.text(" ");
        m_heldSpace = HeldSpace::None;
    }

    // The quotation marks the browser puts around a q element are no part of innerText, but they
    // are characters of the line: spaces beside them stay.
    void quotationMark()
    {
        showHeldSpace();
        m_atLineStart = false;
    }

    // A forced line break: the space before it and spaces after it disappear.
    void lineBreak()
    {
        m_heldSpace = HeldSpace::None;
        m_atLineStart = true;
    }

    // A block boundary ends the current run of lines.
    void endLines() { lineBreak(); }

    static const GumboNode &childAt(const GumboNode &parent, unsigned i)
    {
        return *static_cast<const GumboNode *>(parent.v.element.children.data[i]);
    }

    // White space between the rows and cells of a table is not rendered.
    static bool holdsRowsOrCells(const GumboNode &element, const ElementStyle &style)
    {
        return style.box == Box::TableRowGroup || style.box == Box::TableRow || IsHtml(element, GUMBO_TAG_TABLE);
    }

    // The box of the next sibling after `node` that has one: not hidden, not white space, not a
    // comment; Box::None when there is none.
    Box nextBox(const GumboNode &node, const ElementStyle &parentStyle) const
    {
        const GumboNode &parent = *node.parent;
        for (unsigned i = node.index_within_parent + 1; i < parent.v.element.children.length; ++i) {
            const GumboNode &sibling = childAt(parent, i);
            if (sibling.type == GUMBO_NODE_TEXT || sibling.type == GUMBO_NODE_CDATA)
                return Box::Inline;
            if (sibling.type != GUMBO_NODE_ELEMENT)
                continue;
            if (const Box box = boxOf(sibling, parentStyle); box != Box::None)
                return box;
        }
        return Box::None;
    }

    // True when no table cell follows `cell` in its row: cells side by side form one row.
    bool isLastCell(const GumboNode &cell, const ElementStyle &rowStyle) const
    {
        return nextBox(cell, rowStyle) != Box::TableCell;
    }

    // True when no table row follows `row` in its table, row groups included.
    bool isLastRow(const GumboNode &row, const ElementStyle &parentStyle) const
    {
        const Box next = nextBox(row, parentStyle);
        if (next == Box::TableRow)
            return false;
        const GumboNode &parent = *row.parent;
        if (next != Box::None || boxOf(parent, parentStyle) != Box::TableRowGroup || !parent.parent)
            return true;
        const GumboNode &table = *parent.parent;
        for (unsigned i = parent.index_within_parent + 1; i < table.v.element.children.length; ++i) {
            const GumboNode &group = childAt(table, i);
            const Box box = boxOf(group, parentStyle);
            if (box == Box::TableRow)
                return false;
            if (box != Box::TableRowGroup)
                continue;
            const ElementStyle groupStyle = ComputeStyle(group, parentStyle, m_quirks);
            for (unsigned j = 0; j < group.v.element.children.length; ++j)
                if (boxOf(childAt(group, j), groupStyle) == Box::TableRow)
                    return false;
        }
        return true;
    }

    Box boxOf(const GumboNode &node, const ElementStyle &parentStyle) const
    {
        if (node.type != GUMBO_NODE_ELEMENT)
            return Box::None;
        return ComputeStyle(node, parentStyle, m_quirks).box;
    }

    bool m_quirks;
    TextResult m_result;
    QByteArray m_buffer;
    HeldSpace m_heldSpace = HeldSpace::None;
    bool m_atLineStart = true;
    qsizetype m_deferredSpaceAt = 0;
    int m_depth = 0;
};

const GumboNode *childElement(const GumboNode &parent, GumboTag tag)
{
    for (unsigned i = 0; i < parent.v.element.children.length; ++i) {
        const GumboNode &child = *static_cast<const GumboNode *>(parent.v.element.children.data[i]);
        if (IsHtml(child, tag))
            return &child;
    }
    return nullptr;
}

// innerText of the body; a body that is not rendered gives its text content.
QByteArray bodyText(const GumboOutput &output)
{
    const GumboNode *html = output.root;
    const GumboNode *body = childElement(*html, GUMBO_TAG_BODY);
    if (!body)
        return {};
    const bool quirks = output.document->v.document.doc_type_quirks_mode == GUMBO_DOCTYPE_QUIRKS;
    const ElementStyle htmlStyle = ComputeStyle(*html, RootStyle(), quirks);
    const ElementStyle bodyStyle = ComputeStyle(*body, htmlStyle, quirks);
    if (htmlStyle.box == Box::None || bodyStyle.box == Box::None) {
        QByteArray content;
        appendTextContent(*body, content);
        return content;
    }
    Collector collector(quirks);
    collector.children(*body, bodyStyle);
    return collector.utf8();
}

// gumbo replaces the control characters of a page by U+FFFD, where browsers keep them. They pass
// the parser as private-use characters U+E000 + c instead. (A private-use character the page
// itself holds, through an entity, is no Windows-1252 character and would become '?' anyway.)
bool replacedByParser(unsigned c)
{
    return (c >= 0x01 && c <= 0x08) || c == 0x0B || (c >= 0x0E && c <= 0x1F) || (c >= 0x7F && c <= 0x9F);
}

void appendSheltered(QByteArray &out, unsigned c)
{
    out.append(char(0xEE));
    out.append(char(0x80 | (c >> 6)));
    out.append(char(0x80 | (c & 0x3F)));
}

QByteArray shelterControls(const QByteArray &utf8)
{
    QByteArray out;
    out.reserve(utf8.size() + 16);
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (replacedByParser(byte)) {
            appendSheltered(out, byte);
        } else if (byte == 0xC2 && i + 1 < utf8.size()
                   && replacedByParser(static_cast<unsigned char>(utf8[i + 1]))) {
            appendSheltered(out, static_cast<unsigned char>(utf8[++i]));
        } else {
            out.append(char(byte));
        }
    }
    return out;
}

QByteArray unshelterControls(const QByteArray &utf8)
{
    QByteArray out;
    out.reserve(utf8.size());
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == char(0xEE) && i + 2 < utf8.size()) {
            const auto high = static_cast<unsigned char>(utf8[i + 1]);
            const auto low = static_cast<unsigned char>(utf8[i + 2]);
            const unsigned c = ((high & 0x3Fu) << 6) | (low & 0x3Fu);
            if (high >= 0x80 && high <= 0x82 && replacedByParser(c)) {
                if (c >= 0x80)
                    out.append(char(0xC2));
                out.append(char(c));
                i += 2;
                continue;
            }
        }
        out.append(utf8[i]);
    }
    return out;
}

bool hasControls(const Text &page)
{
    return std::any_of(page.begin(), page.end(), [](char c) {
        return replacedByParser(win1252::toCodePoint(static_cast<unsigned char>(c)));
    });
}

using ParseTree = std::unique_ptr<GumboOutput, void (*)(GumboOutput *)>;

ParseTree parse(const QByteArray &utf8)
{
    GumboOptions options = kGumboDefaultOptions;
    options.max_errors = 0; // the errors are not needed, recording them costs time
    return ParseTree(gumbo_parse_with_options(&options, utf8.constData(), std::size_t(utf8.size())),
                     [](GumboOutput *o) { gumbo_destroy_output(&kGumboDefaultOptions, o); });
}

// Browsers run scripts, so a noscript element in the head holds everything up to its end tag as
// raw text that shows nothing. gumbo parses as if scripts were off: it ends the noscript and the
// head at the first thing that does not belong there and shows that in the body. Removes such
// noscript elements, end tag included, from the source; false when there are none.
bool removeHeadNoscripts(const GumboOutput &output, QByteArray &utf8)
{
    const GumboNode *head = childElement(*output.root, GUMBO_TAG_HEAD);
    if (!head)
        return false;
    bool removed = false;
    const GumboVector &children = head->v.element.children;
    for (unsigned i = children.length; i-- > 0;) { // from the back, so earlier offsets stay valid
        const GumboNode &child = *static_cast<const GumboNode *>(children.data[i]);
        if (!IsHtml(child, GUMBO_TAG_NOSCRIPT) || !child.v.element.original_tag.data)
            continue;
        const qsizetype start = qsizetype(child.v.element.start_pos.offset);
        qsizetype end = start;
        do {
            end = utf8.indexOf("</", end + 1);
        } while (end >= 0 && !utf8.mid(end + 2, 8).toLower().startsWith("noscript"));
        end = end < 0 ? -1 : utf8.indexOf('>', end);
        utf8.remove(start, end < 0 ? utf8.size() - start : end + 1 - start);
        removed = true;
    }
    return removed;
}

} // namespace
} // namespace render

Text DisplayedText(const Text &page)
{
    const bool controls = render::hasControls(page);
    QByteArray utf8 = controls ? render::shelterControls(win1252::toUtf8(page)) : win1252::toUtf8(page);
    auto output = render::parse(utf8);
    while (render::removeHeadNoscripts(*output, utf8))
        output = render::parse(utf8);
    const QByteArray text = render::bodyText(*output);
    return win1252::fromUtf8(controls ? render::unshelterControls(text) : text);
}

} // namespace lexora
