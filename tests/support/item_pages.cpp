#include "support/item_pages.h"

#include <array>
#include <random>

namespace lexora::test {
namespace {

// The default database's templates, byte for byte: CR LF line ends, tab indentation.
const char kHtml1[] =
    "<html>\r\n\t<head>\r\n\t\t<style type=\"text/css\">\r\n\t\t\t%css%\r\n\t\t</style>\r\n\t</head>\r\n"
    "\t<body>\r\n\t\t<h3 style=\"margin-top:0\">%headline%</h3>\r\n\t\t<hr class=\"head\">\r\n"
    "\t\t%text%\r\n\t</body>\r\n</html>";

const char kCss1[] =
    "body\t\t\t\t\t{font:x-small \"Tahoma\"; text-align=left; margin:6}\r\n"
    "code\t\t\t\t\t{font:11; white-space:nowrap}\r\n"
    "h1,h2,h3,h4,h5,h6\t{margin-bottom:0}\r\n"
    "table\t\t\t\t\t{font-size:x-small}\r\n"
    "td,th\t\t\t\t\t{border:none}\r\n"
    "hr.head\t\t\t\t{color:red}\r\n"
    "img\t\t\t\t\t{border-style:none}\r\n"
    "ul, ol\t\t\t\t{margin-top:0; margin-bottom:0}\r\n"
    "ul\t\t\t\t\t\t{margin-left:16}\r\n"
    "ol\t\t\t\t\t\t{margin-left:40}";

const char kDotClpbrd1[] =
    "<span\r\n\ttitle=\"In die Zwischenablage kopieren\"\r\n\tstyle=\"cursor:pointer; color:blue\"\r\n"
    "\tonClick=\"window.clipboardData.setData('text', this.innerText)\"\r\n"
    "\tonMouseOver=\"with (this.style) {backgroundColor = 'highlight'; color = 'highlighttext';}\"\r\n"
    "\tonMouseOut=\"with (this.style) {backgroundColor = this.parentNode.style.backgroundColor; "
    "color = 'blue';}\">\r\n\t%text%\r\n</span>";

const char kDotCode1[] =
    "<div style=\"margin-left:8; margin-top:4; margin-bottom:4\">\r\n\t<small\r\n"
    "\t\tstyle=\"cursor:pointer; color:blue\"\r\n"
    "\t\tonClick=\"window.clipboardData.setData('text', this.nextSibling.innerText); "
    "this.nextSibling.style.backgroundColor = '#EDE';\"\r\n"
    "\t\tonMouseOver=\"this.nextSibling.style.backgroundColor = '#FFC'; "
    "this.style.textDecoration = 'overline';\"\r\n"
    "\t\tonMouseOut=\"this.nextSibling.style.backgroundColor = '#EEE'; "
    "this.style.textDecoration = 'none';\">\r\n"
    "\t\t\tIn die Zwischenablage kopieren\r\n\t</small>\r\n"
    "\t<div style=\"border:1 solid black; background-color:#EEE; padding:4\">\r\n"
    "\t\t<code>%text%</code>\r\n\t</div>\r\n</div>";

const char kDotCode2[] =
    "<div style=\"border:1 solid black; background-color:#EEE; padding:4; margin-left:8; "
    "margin-top:4; margin-bottom:4\">\r\n\t<code>%text%</code>\r\n</div>";

Text fill(const char *templateCode, const Text &text)
{
    return Text(templateCode).replace("%text%", text);
}

// Expands the ".Code #1" blocks of item code, as the page builder does (they do not nest here).
Text expandCodeBlocks(Text code)
{
    static const QByteArray open = "%>xhtml%.Code #1>", close = "%<xhtml%";
    qsizetype from = 0, at;
    while ((at = code.indexOf(open, from)) >= 0) {
        const qsizetype start = at + open.size();
        const qsizetype end = code.indexOf(close, start);
        if (end < 0)
            break;
        const Text block = fill(kDotCode1, code.mid(start, end - start));
        code = code.left(at) + block + code.mid(end + close.size());
        from = at + block.size();
    }
    return code;
}

Text html1(const Text &text, const Text &headline)
{
    return fill(kHtml1, text).replace("%css%", kCss1).replace("%headline%", headline);
}

// Random pieces of item code, as people write them: German prose with umlauts and entities,
// auto-formatted line breaks, tables, lists, code.
class CodeGenerator {
public:
    explicit CodeGenerator(unsigned seed) : m_random(seed) {}

    Text code()
    {
        Text code;
        const int pieces = pick(1, 6);
        for (int i = 0; i < pieces; ++i) {
            if (i > 0)
                code += oneOf({"", "\r\n", " ", "<br>", "\r\n\r\n", "<br>\r\n", "\t"});
            code += piece();
        }
        return code;
    }

    Text headline() { return words(pick(1, 4)); }
    PageForm form() { return PageForm(pick(0, 6)); }

private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }
    bool chance(int percent) { return pick(1, 100) <= percent; }
    Text oneOf(std::initializer_list<const char *> choices)
    {
        return Text(*(choices.begin() + pick(0, int(choices.size()) - 1)));
    }

    Text word()
    {
        static const std::array<const char *, 32> words = {
            "Datenbank", "Eintrag", "Schl\xFC" "ssel", "Vorlage", "\xC4nderung", "Gr\xF6\xDF" "e",
            "\xFC" "ber", "Stra\xDF" "e", "Hinweis", "Code", "Wert", "Zeile", "Spalte", "und",
            "oder", "nicht", "die", "der", "das", "mit", "f\xFC" "r", "Men\xFC", "Datei", "Ordner",
            "Suche", "Text", "Tabelle", "Liste", "Beispiel", "Fehler", "Ende", "x86",
        };
        static const std::array<const char *, 20> entities = {
            "&amp;", "&lt;", "&gt;", "&quot;", "&auml;", "&Ouml;", "&szlig;", "&euro;", "&#8364;",
            "&#228;", "&#x263A;", "&copy;", "&nbsp;", "&#160;", "&mdash;", "&hellip;", "&bdquo;",
            "&ldquo;", "&#x4E2D;", "&amp",
        };
        Text w = words[std::size_t(pick(0, int(words.size()) - 1))];
        if (chance(8))
            w += entities[std::size_t(pick(0, int(entities.size()) - 1))];
        if (chance(10))
            w += oneOf({".", ",", ":", ";", "!", "?", ")"});
        return w;
    }

    Text space()
    {
        if (chance(85))
            return " ";
        return oneOf({"  ", "\t", "\r\n", " \r\n  ", "&#160;", " &nbsp; ", "\r\n\t\t", "   "});
    }

    Text words(int count)
    {
        Text text;
        for (int i = 0; i < count; ++i) {
            if (i > 0)
                text += space();
            text += word();
        }
        return text;
    }

    Text inlineText(int count)
    {
        Text text;
        for (int i = 0; i < count; ++i) {
            if (i > 0)
                text += space();
            if (chance(12)) {
                const Text tag = oneOf({"b", "i", "u", "code", "small", "strong", "em", "tt", "font"});
                const Text open = tag == "font" ? Text("<font color=\"red\">") : "<" + tag + ">";
                const Text inner = chance(20) ? " " + words(pick(1, 3)) + " " : words(pick(1, 3));
                text += open + inner + "</" + tag + ">";
            } else if (chance(3)) {
                text += "<a href=\"http://example.com/?a=1&b=2\">" + words(pick(1, 2)) + "</a>";
            } else if (chance(2)) {
                text += oneOf({"<img src=\"x.png\">", "<input value=\"v\">", "<button>Knopf</button>",
                               "<span style=\"display:none\">versteckt</span>", "<wbr>"});
            } else {
                text += word();
            }
        }
        return text;
    }

    Text lines(int count, const char *separator)
    {
        Text text;
        for (int i = 0; i < count; ++i) {
            if (i > 0)
                text += separator;
            if (chance(30))
                text += Text("&#160;").repeated(pick(1, 6));
            text += inlineText(pick(1, 6));
        }
        return text;
    }

    Text table()
    {
        Text t = chance(50) ? "<table>" : "<table border=\"1\" cellpadding=\"2\">";
        if (chance(15))
            t += "<caption>" + words(2) + "</caption>";
        const int rows = pick(1, 4), columns = pick(1, 4);
        const bool closeTags = chance(70);
        for (int r = 0; r < rows; ++r) {
            t += "\r\n\t<tr>";
            for (int c = 0; c < columns; ++c) {
                const Text tag = r == 0 && chance(40) ? "th" : "td";
                t += "<" + tag + (chance(10) ? " nowrap>" : ">");
                const int kind = pick(0, 9);
                if (kind == 0)
                    t += "";
                else if (kind == 1)
                    t += "&nbsp;";
                else if (kind == 2)
                    t += "<p>" + words(2) + "</p>";
                else if (kind == 3)
                    t += lines(2, "<br>");
                else if (kind == 4)
                    t += " " + words(2) + " ";
                else
                    t += inlineText(pick(1, 3));
                if (closeTags)
                    t += "</" + tag + ">";
            }
            if (closeTags)
                t += "</tr>";
        }
        return t + "\r\n</table>";
    }

    Text list()
    {
        const Text tag = chance(50) ? "ul" : "ol";
        Text l = "<" + tag + ">";
        const int items = pick(1, 5);
        for (int i = 0; i < items; ++i) {
            l += chance(50) ? "\r\n\t<li>" : "<li>";
            l += inlineText(pick(1, 5));
            if (chance(15))
                l += "<ul><li>" + words(2) + "</li><li>" + words(1) + "</li></ul>";
            if (chance(60))
                l += "</li>";
        }
        return l + "\r\n</" + tag + ">";
    }

    Text pre()
    {
        Text p = chance(50) ? "<pre>\r\n" : "<pre>";
        const int count = pick(1, 5);
        for (int i = 0; i < count; ++i) {
            p += Text(" ").repeated(pick(0, 2) * 4) + (chance(20) ? "\t" : "");
            p += oneOf({"if (a &lt; b)", "return x;", "{", "}", "int  i = 0;  ", "// Kommentar",
                        "x = \"<b>\";", "   ", "f\xFC" "r (;;)"});
            p += "\r\n";
        }
        return p + (chance(50) ? "</pre>" : "\r\n</pre>");
    }

    Text piece()
    {
        switch (pick(0, 19)) {
        case 0: case 1: case 2:
            return inlineText(pick(3, 25));
        case 3: case 4:
            return "<p>" + inlineText(pick(3, 20)) + (chance(70) ? "</p>" : "");
        case 5:
            return "<h" + Text::number(pick(1, 6)) + ">" + words(pick(1, 4)) + "</h"
                   + Text::number(pick(1, 6)) + ">";
        case 6: case 7:
            return table();
        case 8: case 9:
            return list();
        case 10:
            return pre();
        case 11: // auto-formatted lines with kept indentation
            return lines(pick(2, 6), chance(50) ? "<br>" : "<br>\r\n");
        case 12:
            return Text("<br>").repeated(pick(1, 4)) + Text(" ").repeated(pick(0, 3))
                   + inlineText(pick(1, 3)) + Text(" <br> ").repeated(pick(0, 3));
        case 13:
            return "<div>" + inlineText(pick(1, 5)) + (chance(50) ? "<div>" + words(2) + "</div>" : "")
                   + " " + words(pick(0, 3)) + "</div>";
        case 14:
            return oneOf({"<blockquote>", "<center>", "<div style=\"margin-left:20\">", "<dl><dt>"})
                   + inlineText(pick(1, 6)) + oneOf({"</blockquote>", "</center>", "</div>", "</dl>"});
        case 15:
            return oneOf({"<script>var s = \"<b>nicht sichtbar</b>\"; document.title = 'x';</script>",
                          "<style>.x { color: red }</style>",
                          "<div style=\"display:none\">" + words(3) + "</div>",
                          "<div hidden>" + words(2) + "</div>",
                          "<span style=\"DISPLAY: none !important\">" + words(2) + "</span>",
                          "<noscript>" + words(2) + "</noscript>",
                          "<span style=\"visibility:hidden\">" + words(2) + "</span>",
                          "<template><b>" + words(2) + "</b></template>"});
        case 16: // markup as people get it wrong
            return oneOf({"<b><i>" + words(2) + "</b></i>", "<p>" + words(2) + "<div>" + words(2) + "</p>",
                          "<table><tr>" + words(2) + "<td>" + words(1) + "</table>",
                          "<li>" + words(2), "a < b > c", "</br>" + words(1), "<p>a<p>b",
                          "</div>" + words(2), "<b>" + words(2), "x &amp y &foo; z",
                          "<td>" + words(1) + "</td>", "<<b>>" + words(1), "<hr>" + words(2) + "<hr/>"});
        case 17:
            return oneOf({"<span style=\"white-space:pre\">  " + words(2) + "   " + words(1) + " </span>",
                          "<div style=\"white-space:pre-line\">  " + words(2) + " \r\n   " + words(2) + "</div>",
                          "<span style=\"white-space:nowrap\">" + words(3) + "</span>",
                          "<code>" + inlineText(pick(2, 6)) + "</code>",
                          "<select><option>" + words(1) + "</option><option> " + words(2) + "</option></select>",
                          words(1) + " <span style=\"float:right\">" + words(2) + "</span> " + words(pick(0, 2)),
                          words(1) + " <div style=\"position:absolute; top:0\">" + words(1) + "</div>",
                          "<span style=\"display:inline-block\"> " + words(2) + " </span> " + words(1),
                          "<q>" + words(2) + "</q> " + words(1),
                          "<div style=\"display:flex\"><span>" + words(1) + "</span> <b>" + words(1) + "</b></div>"});
        case 18:
            return Text(" ").repeated(pick(1, 5)) + words(pick(1, 3)) + Text(" ").repeated(pick(1, 5))
                   + Text("&#160;").repeated(pick(0, 3)) + words(1) + Text("\t").repeated(pick(0, 2));
        default:
            return "%>xhtml%.Code #1>" + lines(pick(1, 3), "<br>") + "%<xhtml%";
        }
    }

    std::mt19937 m_random;
};

// Pages whose edge cases are easy to get wrong, written by hand.
const char *const kTrickyCodes[] = {
    "",
    " ",
    "<br>",
    "a<br><br><br>b",
    "<p>a</p><p>b</p><p></p><p>c</p>",
    "<p>eins</p><br><p>zwei</p>",
    "<h1>Eins</h1>Text<h2>Zwei</h2><p>Absatz</p>",
    "a <b> b </b> c <i> </i> d",
    "Zeile<br>&#160;&#160;&#160;einger\xFC" "ckt<br>\t<br>&#160;",
    "<table><tr><td>a<td>b<tr><td>c</table>Nach",
    "<table><tr><td><p>a</p></td><td>b</td></tr></table>",
    "<table><thead><tr><th>Kopf</th></tr></thead><tbody><tr><td>Rumpf</td></tr></tbody>"
    "<tfoot><tr><td>Fu\xDF</td></tr></tfoot></table>",
    "<table><tr><td>a</td><td style=\"display:none\">b</td></tr><tr style=\"display:none\"><td>c</td></tr></table>",
    "<pre>\r\n  zwei Leerzeichen\r\n\tTab</pre>danach",
    "<pre><table><tr><td>  a   b</td></tr></table></pre>",
    "<ul><li>a<ul><li>b</ul><li>c</ul>",
    "<ol>\r\n<li> eins </li>\r\n<li> zwei </li>\r\n</ol>",
    "x&nbsp;&nbsp;y &#160; z&amp;&lt;&gt;&quot;&euro;&#x263A;&#128512;",
    "Gr\xFC\xDF" "e &auml;&ouml;&uuml;&szlig; \x80 \x96 \x84" "Zitat\x93",
    "<div hidden>versteckt</div><div style=\"display : none\">auch</div>sichtbar",
    "<span style=\"visibility:hidden\">a<b style=\"visibility:visible\">b</b></span>c",
    "<script>var nicht = 'sichtbar';</script>ja<style>p{}</style>",
    "a <img src=\"x\"> b <input> c <button> d </button> e",
    "<div>a </div> <div> b</div>  <span> c </span>",
    "<b><i>falsch</b> verschachtelt</i> <p>offen <div>block</div> weiter",
    "<table><tr>vor der Zelle<td>Zelle</td></tr></table>",
    "<!-- Kommentar -->a<!-- b -->c <!-- --> d",
    "%>xhtml%.Code #1>if (a &lt; b)<br>&#160;&#160;&#160;&#160;return;%<xhtml%",
    "<details><summary>Kurz</summary>lang</details><details open><summary>K</summary>L</details>",
    "<span style=\"white-space:pre\">  a   b  </span>|<span style=\"white-space:pre-line\">  c  \r\n  d  </span>",
    "<div style=\"display:flex\"><span>a</span><span>b</span>c</div>",
    "<dl><dt>Begriff<dd>Erkl\xE4rung</dl><hr><address>Adresse</address>",
    "a\x0B" "b\x0C" "c",
    "<select><option> a  b </option><optgroup label=\"g\"><option>c</option></optgroup></select>",
    "<p style=\"display:inline\">inline</p> danach",
    "<center>Mitte</center><blockquote>Zitat</blockquote>",
    "<table><tr><td><table><tr><td>innen</td><td>2</td></tr></table></td><td>au\xDF" "en</td></tr></table>",
    "Ende mit Leerzeichen   ",
    "<a href=\"#\">Verweis</a>, <a href=\"#\"> mit Raum </a>.",
    "\t\tTabs\tdazwischen\t",
    "&lt;b&gt;kein Fett&lt;/b&gt;",
    "<code>a  b\r\n c</code><br><tt> t </tt>",
    "<h3>Ebene</h3><hr>Linie<hr><hr>",
    "<textarea>Text im Feld</textarea><iframe>Rahmen</iframe><video>Film</video>x",
    "<p>a<br></p><p><br></p><p>b</p>",
};

} // namespace

Text ItemPage(const Text &itemCode, const Text &headline, PageForm form)
{
    const Text code = expandCodeBlocks(itemCode);
    switch (form) {
    case PageForm::Html1:
        return html1(code, headline);
    case PageForm::Code1:
        return html1("<code>" + code + "</code>", headline);
    case PageForm::DotCode1:
        return fill(kDotCode1, code);
    case PageForm::DotCode2:
        return fill(kDotCode2, code);
    case PageForm::DotClpbrd1:
        return fill(kDotClpbrd1, code);
    case PageForm::Html1WithBlock: {
        const qsizetype middle = code.size() / 2;
        return html1(code.left(middle) + fill(kDotCode1, "x = 1;<br>&#160;&#160;y = 2;") + code.mid(middle),
                     headline);
    }
    case PageForm::NoTemplate:
        break;
    }
    return code;
}

std::vector<CorpusPage> ItemPageCorpus(int generated)
{
    std::vector<CorpusPage> corpus;
    int n = 0;
    for (const char *code : kTrickyCodes) {
        // Each tricky code in the main template and in one other form.
        const PageForm other = PageForm(1 + n % 6);
        corpus.push_back({"tricky " + QByteArray::number(n) + " HTML #1", ItemPage(code, "Titel", PageForm::Html1)});
        corpus.push_back({"tricky " + QByteArray::number(n) + " form " + QByteArray::number(int(other)),
                          ItemPage(code, "Titel", other)});
        ++n;
    }
    CodeGenerator generator(20261210);
    for (int i = 0; i < generated; ++i) {
        const PageForm form = generator.form();
        const Text headline = generator.headline();
        corpus.push_back({"generated " + QByteArray::number(i) + " form " + QByteArray::number(int(form)),
                          ItemPage(generator.code(), headline, form)});
    }
    return corpus;
}

Text LargeItemPage(int bytes)
{
    CodeGenerator generator(4711);
    Text code;
    while (code.size() < bytes)
        code += generator.code() + "\r\n";
    return ItemPage(code, "Gro\xDF" "e Seite", PageForm::Html1);
}

} // namespace lexora::test
