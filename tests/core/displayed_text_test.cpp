// The displayed text of pages: each expected text is what Qt WebEngine's innerText gives for the
// page (measured), so the rules stay pinned without a browser.
#include "render/displayed_text.h"
#include "support/item_pages.h"

#include <gtest/gtest.h>

using namespace lexora;

namespace {

struct Case {
    const char *html;
    const char *text;
};

void expectTexts(std::initializer_list<Case> cases)
{
    for (const Case &c : cases) {
        SCOPED_TRACE(c.html);
        EXPECT_EQ(DisplayedText(c.html), Text(c.text));
    }
}

} // namespace

TEST(DisplayedText, BlocksStartLinesAndParagraphsLeaveABlankLine)
{
    expectTexts({
        {"<p>a</p><p>b</p>", "a\n\nb"},
        {"<h1>a</h1><h2>b</h2><p>c</p><h3>d</h3>", "a\nb\n\nc\n\nd"},
        {"a<p></p>b<div></div>c", "a\n\nb\nc"},
        {"<div>a<p>b</p>c</div>", "a\n\nb\n\nc"},
        {"<p>a</p>\r\n\r\n<p>b</p>", "a\n\nb"},
        {"<blockquote><p>a</p></blockquote><p>b</p>", "a\n\nb"},
        {"<dl><dt>t<dd>d</dl><blockquote>q</blockquote><address>ad</address><center>c</center>",
         "t\nd\nq\nad\nc"},
        {"a<hr>b", "a\nb"},
        {"<span>a<div>b</div>c</span>", "a\nb\nc"},
        {"<fieldset><legend>L</legend>x</fieldset>", "L\nx"},
        {"<p>&nbsp;</p>", "\xA0"},
        {"<p> </p><p>&nbsp;</p>x", "\xA0\n\nx"},
    });
}

TEST(DisplayedText, LineBreaksFromBrAreKeptEvenAtTheEnds)
{
    expectTexts({
        {"<br><br>a<br><br><br>b<br><br>", "\n\na\n\n\nb\n\n"},
        {"a<br>", "a\n"},
        {"<p>a</p><br><p>b</p>", "a\n\n\n\n\nb"},
        {"<div>a<br></div>b", "a\n\nb"},
        {"<p>a<br></p>b", "a\n\n\nb"},
        {"<b>a</b><br><b>b</b>  <br>  c", "a\nb\nc"},
    });
}

TEST(DisplayedText, WhiteSpaceCollapsesAcrossInlineElements)
{
    expectTexts({
        {"a<br> b", "a\nb"},
        {"a <br> b", "a\nb"},
        {"x <b> y </b> z<i> </i> w", "x y z w"},
        {"<div>a </div> <div> b</div>", "a\nb"},
        {"a\tb&#9;c", "a b c"},
        {"a&#13;b &#13; c&#10;d", "a b c d"},
        {"<code>  x  </code> y", "x y"},
        {"a<!-- c -->b <!-- c --> c", "ab c"},
        {"<a name=x></a>a<a href=#>  </a>b", "a b"},
        // The quotation marks around q are not shown, yet the spaces beside them stay.
        {"<q>\r\n a </q> b", " a  b"},
        {"x <q> </q> y", "x   y"},
        {"a<wbr>b a <wbr> b", "ab a b"},
        {"<html><body>a</body></html>\r\n\r\nb", "a b"},
    });
}

TEST(DisplayedText, AtomicInlinesKeepTheSpacesAroundThem)
{
    expectTexts({
        {"a <img> b", "a  b"},
        {"x<button>btn</button>y <input value=v> z <textarea>t</textarea>", "xbtny  z "},
        {"a <span style=\"display:inline-block\"> x </span> b", "a x b"},
        {"a <span style='display:inline-block'></span> b", "a  b"},
        {"<button><div>a</div>b</button>c", "a\nbc"},
    });
}

TEST(DisplayedText, PreservedWhiteSpace)
{
    expectTexts({
        {"<pre>\n a  b\n  c</pre>d", " a  b\n  c\nd"},
        {"<pre>\n\na</pre>", "\na"},
        {"<pre>a\n\n</pre>b", "a\n\n\nb"},
        {"<pre>a&#13;&#10;b\r\nc\rd</pre>", "a\r\nb\nc\nd"},
        {"<xmp><b>x</b></xmp>", "<b>x</b>"},
        {"<listing>\na  b</listing>", "a  b"},
        {"<span style=\"white-space:pre-line\">  a  \n   b  </span>", "a\nb"},
        {"<span style=\"white-space:pre-wrap\">  a  </span>x", "  a  x"},
        {"<div style='white-space:pre'>a  <br>  b</div>", "a  \n  b"},
        {"<div style='white-space:pre'> a </div>  b ", " a \nb"},
        {"x <span style='white-space:pre'> a </span>  b ", "x  a  b"},
        {"<nobr>a  b</nobr>", "a b"},
        // Without a doctype tables do not inherit white-space.
        {"<pre><table><tr><td>  a   b</td></tr></table></pre>", "a b"},
        {"<!DOCTYPE html><pre><table><tr><td>  a   b</td></tr></table></pre>", "  a   b"},
    });
}

TEST(DisplayedText, TablesSeparateCellsByTabsAndRowsByLineBreaks)
{
    expectTexts({
        {"<table><tr><td>a<td>b</tr><tr><td>c<td>d</table>e", "a\tb\nc\td\ne"},
        {"<table><thead><tr><td>a</tr></thead><tbody><tr><td>b</tr></tbody></table>", "a\nb"},
        {"<table><tfoot><tr><td>f</td></tr></tfoot><tbody><tr><td>b</td></tr></tbody></table>x", "f\nb\nx"},
        {"<table><tr><td><p>a</p></td><td>b</td></tr><tr><td>c</td></tr></table>", "a\n\n\tb\nc"},
        {"<table><tr><td></td><td></td></tr><tr><td></td></tr></table>z", "\t\n\nz"},
        {"<table><tr></tr><tr><td>a</td></tr></table>", "\na"},
        {"<table><caption>cap</caption><tr><th>h1<th>h2<tr><td>1<td>2</table>", "cap\nh1\th2\n1\t2"},
        {"<table><tr><td>a</td></tr><caption>c</caption></table>", "a\nc"},
        {"<table><tr><td><h3>h</h3></td><td>x</td></tr></table>", "h\n\tx"},
        {"<span style='display:table-cell'>a</span><span style='display:table-cell'>b</span>", "a\tb"},
        {"<span style='display:table-cell'>a</span><div>x</div><span style='display:table-cell'>b</span>", "a\nx\nb"},
        {"<table style='white-space:pre-line'>\r\n<tr>\r\n<td>a</td>\r\n</tr>\r\n</table>", "a"},
        // Hidden cells and rows do not count when looking for the last one.
        {"<table><tr><td>a</td><td style=\"display:none\">b</td></tr><tr style=\"display:none\"><td>c</td></tr></table>x",
         "a\nx"},
    });
}

TEST(DisplayedText, ListsAndFormControls)
{
    expectTexts({
        {"<ul><li>a<li>b</ul>c", "a\nb\nc"},
        {"<ol><li>a<ul><li>b</li></ul></li><li>c</li></ol>", "a\nb\nc"},
        {"<li><p>a</p></li><li>b</li>", "a\n\nb"},
        {"<ul><li> </li><li>x</li></ul>", "x"},
        {"<select><option>a<option>b</select>c", "a\nb\nc"},
        {"a<select><optgroup label=g><option> x  y </option></optgroup><option label=L>z</option></select>b",
         "a\nx y\nz\nb"},
        {"<label>l</label><input type=checkbox>k<input type=hidden value=h>", "lk"},
        {"<details><summary>s</summary>hidden</details><details open><summary>t</summary>shown</details>",
         "s\nt\nshown"},
        // An option outside a select box shows all its text on a line of its own.
        {"a<option> x <b hidden>y</b> </option>b", "a\nx y\nb"},
        {"<div>ab<option>12</div>cd", "ab\n12\ncd"},
    });
}

TEST(DisplayedText, HiddenPartsShowNothing)
{
    expectTexts({
        {"<html><head><title>T</title><style>h3{margin-bottom:0}</style></head><body><h3>Title</h3>text</body></html>",
         "Title\ntext"},
        {"<div hidden>h</div><div style=\"display:none\">n</div>v<noscript>ns</noscript>", "v"},
        {"<script>var s = '<b>x</b>';</script>a<template>t</template><style>p{}</style>", "a"},
        {"<p>a <span style='display:none'>x</span> b</p>", "a b"},
        {"<b style='display : BLOCK'>a</b>b", "a\nb"},
        {"<div style='display:none;display:block'>a</div>b", "a\nb"},
        {"<div style='display:block;display:nonsense'>a</div>b", "a\nb"},
        {"<div style='display:none' hidden>a</div>b<div hidden style='display:block'>c</div>", "b\nc"},
        {"<iframe>x</iframe>a<video>v</video>b<canvas>c</canvas><object>o</object><audio>au</audio>", "abo"},
        {"<img alt='alt text'>x", "x"},
        {"<dialog>d</dialog><dialog open>o</dialog>", "o"},
        // Hidden text still takes part in collapsing white space.
        {"<span style=\"visibility:hidden\">a<b style=\"visibility:visible\">b</b></span>c", "bc"},
        {"<div style=\"visibility:hidden\">a<div>b</div></div>c", "c"},
        {"<div>a<span style='visibility:hidden'> x </span>b</div>", "ab"},
        {"<div>a <span style='visibility:hidden'>x</span> b</div>", "a  b"},
        // With scripts on, browsers read a noscript element in the head as raw text up to its end.
        {"<noscript>mit Spalte</noscript>x", "x"},
        {"<noscript><b>x</b> y</NOSCRIPT>z", "z"},
        {"<noscript>a</noscript><noscript>b</noscript>c", "c"},
        {"<noscript><link></noscript>x", "x"},
        {"a<noscript>b</noscript>", "a"},
        // A body that is not rendered gives all its text.
        {"<body style=\"display:none\">a<p>b</p></body>", "ab"},
        {"<frameset><frame></frameset>", ""},
    });
}

TEST(DisplayedText, DisplayFloatAndPositionFromTheStyleAttribute)
{
    expectTexts({
        {"<span style='display:block'>a</span>b", "a\nb"},
        {"<div style='display:inline'>a</div>b", "ab"},
        {"<h3 style='display:inline'>a</h3>b", "ab"},
        {"a <p style=\"display:inline\">b</p> c", "a \n\nb\n\n c"},
        {"<div style='display:contents'>a</div>b", "ab"},
        {"<div style=\"display:flex\"><span>a</span><span>b</span>c</div>", "a\nb\nc"},
        {"<div style='display:table-row'>a</div><div style='display:table-row'>b</div>", "a\nb"},
        {"x <span style='position:absolute'>f</span> y", "x \nf\ny"},
        {"x<span style='position:absolute'>f</span> y", "x\nf\n y"},
        {"x <span style='float:left'>f</span> y", "x \nf\ny"},
        {"x <img style='float:left'> y", "x \ny"},
        {"x <span style='position:relative'>f</span> y", "x f y"},
        // A space before a floated or positioned box stays only when the line goes on after it.
        {"x <span style='position:absolute'>f</span>", "x\nf"},
        {"<div>x <span style='float:left'>f</span></div>y", "x\nf\ny"},
        {"x <span style='float:left'>f</span>  <b> y</b>", "x \nf\ny"},
        {"x <span style='float:left'>f</span><br>y", "x\nf\n\ny"},
        {"<p>x <img style='position:absolute'></p>", "x"},
    });
}

TEST(DisplayedText, MalformedMarkupIsReadAsBrowsersRepairIt)
{
    expectTexts({
        {"<p>a<table><tr><td>b</td></tr></table>c</p>", "a\nb\nc"},
        {"<!DOCTYPE html><p>a<table><tr><td>b</td></tr></table>c</p>", "a\n\nb\nc"},
        {"<body><p>a</p></body><p>after body</p>", "a\n\nafter body"},
        {"</body>a</html>b", "ab"},
        {"<li>a</li>text<table><tr><td>c</td></tr></table>d", "a\ntext\nc\nd"},
        {"<td>x</td>", "x"},
        {"<b><i>x</b> y</i>", "x y"},
        {"a < b > c &amp d &foo; e", "a < b > c & d &foo; e"},
        {"", ""},
    });
}

TEST(DisplayedText, DeeplyNestedMarkupNeitherCrashesNorLosesText)
{
    for (const char *open : {"<span>", "<div>", "<ul><li>", "<table><tr><td>", "<b><i>"}) {
        SCOPED_TRACE(open);
        const Text text = DisplayedText(Text(open).repeated(5000) + "x<br>y");
        EXPECT_TRUE(text.trimmed().endsWith("x\ny")) << text.right(20).constData();
    }
    EXPECT_EQ(DisplayedText(Text("<div>").repeated(3000) + "a<p>b</p>c"), "a\nb\nc");
    EXPECT_EQ(DisplayedText("<body style=\"display:none\">" + Text("<span>").repeated(100000) + "x"), "x");
}

TEST(DisplayedText, CharactersStayWindows1252)
{
    expectTexts({
        {"x&nbsp;y &#160; z", "x\xA0y \xA0 z"},
        {"Gr\xFC\xDF" "e &auml;&Ouml;&szlig; &euro;&#8364;\x80", "Gr\xFC\xDF" "e \xE4\xD6\xDF \x80\x80\x80"},
        {"&#x263A; &#128512; &#x4E2D;", "? ? ?"},
        {"x\xADyz a &shy; b", "x\xADyz a \xAD b"},
        {"a\x01" "b\x07" "c\x0B" "d\x0C" "e\x7F" "f\x81" "g\x9D" "h", "a\x01" "b\x07" "c\x0B" "d\x0C" "e\x7F" "f\x81" "g\x9D" "h"},
        {"<pre>a\x0C" "b\x0B" "c\x01" "d</pre>", "a\x0C" "b\x0B" "c\x01" "d"},
    });
    EXPECT_EQ(DisplayedText(Text("a\0b", 3)), Text("ab"));
}

TEST(DisplayedText, PagesOfTheDefaultTemplates)
{
    using test::ItemPage;
    using test::PageForm;
    const Text code = "Erste Zeile<br>&#160;&#160;einger\xFC" "ckt<br><b>fett</b> und <i>kursiv</i>";
    const Text text = "Erste Zeile\n\xA0\xA0" "einger\xFC" "ckt\nfett und kursiv";
    EXPECT_EQ(DisplayedText(ItemPage(code, "Titel", PageForm::Html1)), "Titel\n" + text);
    EXPECT_EQ(DisplayedText(ItemPage(code, "Titel", PageForm::Code1)), "Titel\n" + text);
    EXPECT_EQ(DisplayedText(ItemPage(code, "Titel", PageForm::DotCode1)), "In die Zwischenablage kopieren\n" + text);
    EXPECT_EQ(DisplayedText(ItemPage(code, "Titel", PageForm::DotCode2)), text);
    EXPECT_EQ(DisplayedText(ItemPage(code, "Titel", PageForm::DotClpbrd1)), text);
    EXPECT_EQ(DisplayedText(ItemPage("", "Schl\xFC" "ssel", PageForm::Html1)), "Schl\xFC" "ssel");
}
