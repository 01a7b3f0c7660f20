#include "render/displayed_text_style.h"

#include <optional>
#include <string_view>

namespace lexora::render {
namespace {

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = char(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

bool hasAttribute(const GumboElement &element, const char *name)
{
    return gumbo_get_attribute(&element.attributes, name) != nullptr;
}

// The tag name as written, for elements gumbo does not know (SVG "text", "dialog").
std::string_view originalTagName(const GumboElement &element)
{
    GumboStringPiece piece = element.original_tag;
    if (piece.data == nullptr)
        return {};
    gumbo_tag_from_original_text(&piece);
    return {piece.data, piece.length};
}

struct Declarations {
    std::optional<std::string_view> display, whiteSpace, visibility, floating, position;
};

std::string_view trim(std::string_view s)
{
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; };
    while (!s.empty() && isSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

// The declarations of a style attribute that matter here; a later one wins, as in CSS. Values keep
// their case (keywords are compared without case).
Declarations parseStyleAttribute(std::string_view css)
{
    Declarations result;
    std::size_t start = 0;
    while (start < css.size()) {
        // A declaration ends at a semicolon outside quotes and parentheses.
        std::size_t end = start;
        char quote = 0;
        int depth = 0;
        for (; end < css.size(); ++end) {
            const char c = css[end];
            if (quote) {
                if (c == quote)
                    quote = 0;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '(') {
                ++depth;
            } else if (c == ')' && depth > 0) {
                --depth;
            } else if (c == ';' && depth == 0) {
                break;
            }
        }
        const std::string_view declaration = css.substr(start, end - start);
        start = end + 1;
        const std::size_t colon = declaration.find(':');
        if (colon == std::string_view::npos)
            continue;
        const std::string_view name = trim(declaration.substr(0, colon));
        std::string_view value = trim(declaration.substr(colon + 1));
        if (const std::size_t bang = value.find('!'); bang != std::string_view::npos)
            value = trim(value.substr(0, bang));
        if (equalsIgnoringCase(name, "display"))
            result.display = value;
        else if (equalsIgnoringCase(name, "white-space"))
            result.whiteSpace = value;
        else if (equalsIgnoringCase(name, "visibility"))
            result.visibility = value;
        else if (equalsIgnoringCase(name, "float"))
            result.floating = value;
        else if (equalsIgnoringCase(name, "position"))
            result.position = value;
    }
    return result;
}

// Applies a display keyword; unknown keywords are invalid and change nothing.
void applyDisplay(std::string_view value, ElementStyle &style)
{
    struct Keyword { std::string_view name; Box box; bool container; };
    static constexpr Keyword keywords[] = {
        {"none", Box::None, false},
        {"inline", Box::Inline, false},
        {"contents", Box::Inline, false},
        {"ruby", Box::Inline, false},
        {"ruby-text", Box::Inline, false},
        {"block", Box::Block, false},
        {"list-item", Box::Block, false},
        {"flow-root", Box::Block, false},
        {"table", Box::Block, false},
        {"table-caption", Box::Block, false},
        {"-webkit-box", Box::Block, false},
        {"flex", Box::Block, true},
        {"grid", Box::Block, true},
        {"inline-block", Box::InlineBlock, false},
        {"inline-table", Box::InlineBlock, false},
        {"-webkit-inline-box", Box::InlineBlock, false},
        {"inline-flex", Box::InlineBlock, true},
        {"inline-grid", Box::InlineBlock, true},
        {"table-row-group", Box::TableRowGroup, false},
        {"table-header-group", Box::TableRowGroup, false},
        {"table-footer-group", Box::TableRowGroup, false},
        {"table-row", Box::TableRow, false},
        {"table-cell", Box::TableCell, false},
        {"table-column", Box::TableColumn, false},
        {"table-column-group", Box::TableColumn, false},
    };
    for (const Keyword &keyword : keywords) {
        if (equalsIgnoringCase(value, keyword.name)) {
            style.box = keyword.box;
            style.blockifiesChildren = keyword.container;
            return;
        }
    }
}

void applyWhiteSpace(std::string_view value, ElementStyle &style)
{
    if (equalsIgnoringCase(value, "normal") || equalsIgnoringCase(value, "nowrap"))
        style.whiteSpace = WhiteSpace::Collapse;
    else if (equalsIgnoringCase(value, "pre") || equalsIgnoringCase(value, "pre-wrap")
             || equalsIgnoringCase(value, "break-spaces"))
        style.whiteSpace = WhiteSpace::Preserve;
    else if (equalsIgnoringCase(value, "pre-line"))
        style.whiteSpace = WhiteSpace::PreserveLines;
}

// The browser's default style of an HTML element (its box and whether it shows its content).
void applyHtmlDefaults(const GumboElement &element, ElementStyle &style)
{
    switch (element.tag) {
    case GUMBO_TAG_HEAD: case GUMBO_TAG_TITLE: case GUMBO_TAG_BASE: case GUMBO_TAG_LINK:
    case GUMBO_TAG_META: case GUMBO_TAG_STYLE: case GUMBO_TAG_SCRIPT: case GUMBO_TAG_NOSCRIPT:
    case GUMBO_TAG_TEMPLATE: case GUMBO_TAG_NOEMBED: case GUMBO_TAG_NOFRAMES: case GUMBO_TAG_PARAM:
    case GUMBO_TAG_SOURCE: case GUMBO_TAG_TRACK: case GUMBO_TAG_AREA: case GUMBO_TAG_DATALIST:
    case GUMBO_TAG_RP:
        style.box = Box::None;
        break;
    case GUMBO_TAG_HTML: case GUMBO_TAG_BODY: case GUMBO_TAG_ADDRESS: case GUMBO_TAG_ARTICLE:
    case GUMBO_TAG_ASIDE: case GUMBO_TAG_BLOCKQUOTE: case GUMBO_TAG_CENTER: case GUMBO_TAG_DD:
    case GUMBO_TAG_DETAILS: case GUMBO_TAG_DIR: case GUMBO_TAG_DIV: case GUMBO_TAG_DL:
    case GUMBO_TAG_DT: case GUMBO_TAG_FIELDSET: case GUMBO_TAG_FIGCAPTION: case GUMBO_TAG_FIGURE:
    case GUMBO_TAG_FOOTER: case GUMBO_TAG_FORM: case GUMBO_TAG_H1: case GUMBO_TAG_H2:
    case GUMBO_TAG_H3: case GUMBO_TAG_H4: case GUMBO_TAG_H5: case GUMBO_TAG_H6:
    case GUMBO_TAG_HEADER: case GUMBO_TAG_HGROUP: case GUMBO_TAG_HR: case GUMBO_TAG_LEGEND:
    case GUMBO_TAG_LISTING: case GUMBO_TAG_MAIN: case GUMBO_TAG_MENU: case GUMBO_TAG_NAV:
    case GUMBO_TAG_OL: case GUMBO_TAG_P: case GUMBO_TAG_PLAINTEXT: case GUMBO_TAG_PRE:
    case GUMBO_TAG_SECTION: case GUMBO_TAG_SUMMARY: case GUMBO_TAG_UL: case GUMBO_TAG_XMP:
    case GUMBO_TAG_LI: case GUMBO_TAG_TABLE: case GUMBO_TAG_CAPTION: case GUMBO_TAG_OPTGROUP:
    case GUMBO_TAG_OPTION: case GUMBO_TAG_FRAMESET: case GUMBO_TAG_MULTICOL:
        style.box = Box::Block;
        break;
    case GUMBO_TAG_THEAD: case GUMBO_TAG_TBODY: case GUMBO_TAG_TFOOT:
        style.box = Box::TableRowGroup;
        break;
    case GUMBO_TAG_TR:
        style.box = Box::TableRow;
        break;
    case GUMBO_TAG_TD: case GUMBO_TAG_TH:
        style.box = Box::TableCell;
        break;
    case GUMBO_TAG_COL: case GUMBO_TAG_COLGROUP:
        style.box = Box::TableColumn;
        break;
    case GUMBO_TAG_BUTTON: case GUMBO_TAG_MARQUEE: case GUMBO_TAG_SELECT:
        style.box = Box::InlineBlock;
        break;
    case GUMBO_TAG_INPUT: {
        const GumboAttribute *type = gumbo_get_attribute(&element.attributes, "type");
        style.box = type && equalsIgnoringCase(type->value, "hidden") ? Box::None : Box::InlineBlock;
        style.showsContent = false;
        break;
    }
    case GUMBO_TAG_AUDIO:
        style.box = hasAttribute(element, "controls") ? Box::InlineBlock : Box::None;
        style.showsContent = false;
        break;
    case GUMBO_TAG_IMG: case GUMBO_TAG_IMAGE: case GUMBO_TAG_TEXTAREA: case GUMBO_TAG_VIDEO:
    case GUMBO_TAG_CANVAS: case GUMBO_TAG_IFRAME: case GUMBO_TAG_EMBED: case GUMBO_TAG_KEYGEN:
    case GUMBO_TAG_METER: case GUMBO_TAG_PROGRESS: case GUMBO_TAG_FRAME: case GUMBO_TAG_APPLET:
        style.box = Box::InlineBlock;
        style.showsContent = false;
        break;
    case GUMBO_TAG_UNKNOWN:
        if (equalsIgnoringCase(originalTagName(element), "dialog"))
            style.box = hasAttribute(element, "open") ? Box::Block : Box::None;
        else
            style.box = Box::Inline;
        break;
    default:
        style.box = Box::Inline;
        break;
    }
    switch (element.tag) {
    case GUMBO_TAG_PRE: case GUMBO_TAG_LISTING: case GUMBO_TAG_XMP: case GUMBO_TAG_PLAINTEXT:
    case GUMBO_TAG_TEXTAREA:
        style.whiteSpace = WhiteSpace::Preserve;
        break;
    case GUMBO_TAG_NOBR:
        style.whiteSpace = WhiteSpace::Collapse;
        break;
    default:
        break;
    }
    if (hasAttribute(element, "hidden"))
        style.box = Box::None;
}

// SVG shows only the text of its text elements (block-level boxes) and of foreign objects.
void applySvgDefaults(const GumboElement &element, ElementStyle &style)
{
    const std::string_view name = originalTagName(element);
    style.box = Box::Inline;
    if (element.tag == GUMBO_TAG_SVG) {
        style.box = Box::InlineBlock;
        style.rendersText = false;
    } else if (equalsIgnoringCase(name, "text")) {
        style.box = Box::Block;
        style.rendersText = true;
    } else if (element.tag == GUMBO_TAG_FOREIGNOBJECT) {
        style.box = Box::InlineBlock;
        style.rendersText = true;
    } else if (element.tag == GUMBO_TAG_DESC || element.tag == GUMBO_TAG_TITLE
               || element.tag == GUMBO_TAG_STYLE || element.tag == GUMBO_TAG_SCRIPT
               || equalsIgnoringCase(name, "defs") || equalsIgnoringCase(name, "metadata")) {
        style.box = Box::None;
    }
}

} // namespace

ElementStyle RootStyle()
{
    return {};
}

bool IsHtml(const GumboNode &node, GumboTag tag)
{
    return (node.type == GUMBO_NODE_ELEMENT || node.type == GUMBO_NODE_TEMPLATE)
           && node.v.element.tag_namespace == GUMBO_NAMESPACE_HTML && node.v.element.tag == tag;
}

ElementStyle ComputeStyle(const GumboNode &node, const ElementStyle &parent, bool quirks)
{
    const GumboElement &element = node.v.element;
    ElementStyle style;
    style.whiteSpace = parent.whiteSpace;
    style.visible = parent.visible;
    style.rendersText = parent.rendersText;
    switch (element.tag_namespace) {
    case GUMBO_NAMESPACE_HTML:
        applyHtmlDefaults(element, style);
        if (quirks && element.tag == GUMBO_TAG_TABLE)
            style.whiteSpace = WhiteSpace::Collapse;
        if (element.tag == GUMBO_TAG_TD || element.tag == GUMBO_TAG_TH) {
            if (hasAttribute(element, "nowrap"))
                style.whiteSpace = WhiteSpace::Collapse;
        }
        break;
    case GUMBO_NAMESPACE_SVG:
        applySvgDefaults(element, style);
        break;
    case GUMBO_NAMESPACE_MATHML:
        style.box = Box::Inline;
        break;
    }
    if (node.type == GUMBO_NODE_TEMPLATE)
        style.box = Box::None;

    if (const GumboAttribute *attribute = gumbo_get_attribute(&element.attributes, "style")) {
        const Declarations declarations = parseStyleAttribute(attribute->value);
        if (declarations.display)
            applyDisplay(*declarations.display, style);
        if (declarations.whiteSpace)
            applyWhiteSpace(*declarations.whiteSpace, style);
        if (declarations.visibility) {
            if (equalsIgnoringCase(*declarations.visibility, "visible"))
                style.visible = true;
            else if (equalsIgnoringCase(*declarations.visibility, "hidden")
                     || equalsIgnoringCase(*declarations.visibility, "collapse"))
                style.visible = false;
        }
        // Floated and absolutely positioned boxes are block-level.
        const bool floated = declarations.floating
                             && (equalsIgnoringCase(*declarations.floating, "left")
                                 || equalsIgnoringCase(*declarations.floating, "right"));
        const bool positioned = declarations.position
                                && (equalsIgnoringCase(*declarations.position, "absolute")
                                    || equalsIgnoringCase(*declarations.position, "fixed"));
        if ((floated || positioned) && style.box != Box::None) {
            style.box = Box::Block;
            style.outOfFlow = true;
        }
    }
    // Children of flex and grid containers are block-level.
    if (parent.blockifiesChildren && (style.box == Box::Inline || style.box == Box::InlineBlock))
        style.box = Box::Block;
    return style;
}

} // namespace lexora::render
