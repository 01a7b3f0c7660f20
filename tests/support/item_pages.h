#pragma once

#include "database/model.h"

#include <vector>

// Realistic item pages: the default database's templates around varied item code, for checking
// and measuring the displayed text of pages. Qt Core only, so benchmarks can use it too.
namespace lexora::test {

// How the item's code becomes a page, after the default database's HTML templates.
enum class PageForm {
    Html1,          // "HTML #1": the whole page with the CSS template, heading and rule
    Code1,          // "Code #1": the code in <code> inside "HTML #1"
    DotCode1,       // ".Code #1" as the page's template: only the fragment, no page frame
    DotCode2,       // ".Code #2" likewise
    DotClpbrd1,     // ".Clpbrd #1" likewise
    Html1WithBlock, // "HTML #1" around code holding a ".Code #1" block in its middle
    NoTemplate,     // the code alone
};

// The page of `code` with title `headline` in the given form, the way the page builder fills
// "%text%", "%css%" and "%headline%" of the default templates.
Text ItemPage(const Text &code, const Text &headline, PageForm form);

struct CorpusPage {
    QByteArray name; // for messages: what the page tests
    Text page;
};

// Hand-written tricky pages first, then `generated` pages composed from random pieces of item code
// (prose, tables, lists, headings, pre, line breaks, entities, umlauts, scripts, hidden parts,
// malformed markup), the same for every call.
std::vector<CorpusPage> ItemPageCorpus(int generated);

// One large page of about `bytes` bytes of such item code in "HTML #1".
Text LargeItemPage(int bytes);

} // namespace lexora::test
