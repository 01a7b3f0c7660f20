#pragma once

#include <gumbo.h>

// The part of an element's computed style that decides what a browser's innerText shows: the
// browser's default style of the tag, the "hidden" attribute and the declarations of the element's
// own "style" attribute. Style sheets of the page are not applied.
namespace lexora::render {

enum class Box {
    None,          // not rendered, nor anything below it
    Inline,        // part of the surrounding line
    InlineBlock,   // an atomic box on the line (inline-block, button, img): its own lines inside
    Block,         // block-level: list items, tables, captions, floats and flex items included
    TableRowGroup,
    TableRow,
    TableCell,
    TableColumn,   // rendered, but shows none of its content
};

enum class WhiteSpace {
    Collapse,      // normal, nowrap
    Preserve,      // pre, pre-wrap, break-spaces
    PreserveLines, // pre-line
};

struct ElementStyle {
    Box box = Box::Block;
    WhiteSpace whiteSpace = WhiteSpace::Collapse;
    bool visible = true;              // visibility (inherited)
    bool showsContent = true;         // false for replaced elements (img, textarea, video ...)
    bool rendersText = true;          // false inside SVG outside its text elements (inherited)
    bool blockifiesChildren = false;  // flex and grid containers
    bool outOfFlow = false;           // floated or absolutely positioned: a block beside the lines
};

// The style of the body's parent chain start: what the root of the page inherits.
ElementStyle RootStyle();

// The style of element `node` (an element or template node) below a parent of style `parent`.
// `quirks` is the document's quirks mode, in which tables do not inherit white-space.
ElementStyle ComputeStyle(const GumboNode &node, const ElementStyle &parent, bool quirks);

// True for an element of the HTML namespace whose tag is `tag`.
bool IsHtml(const GumboNode &node, GumboTag tag);

} // namespace lexora::render
