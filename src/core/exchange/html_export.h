#pragma once

#include "database/model.h"

#include <QString>

namespace lexora {

class UserPrompt;
class Progress;

// The entries of the font size list, "winzig" to "riesig".
inline constexpr int ExportFontSizeCount = 7;
// The CSS size keyword of a font size entry ("xx-small" .. "xx-large"); throws Error when the
// entry is out of range.
QByteArray exportFontSizeKeyword(int entry);

// A name as text of the exported page: "&", "<", ">" and the double quotation mark escaped
// (escapeHtml), the German umlauts and "ß" as their HTML entities. Nothing else changes.
Text EscapeForPage(const Text &text);

struct HtmlExportOptions {
    QString fileName;   // the output file, with its absolute folder
    QString title;      // empty: the page gets no title and no headline; characters outside
                        // Windows-1252 are written as character references
    QString fontFamily; // the chosen family; empty when none is chosen
    // An installed family the caller names (for instance the system's default font), written
    // when no family is chosen.
    QString fallbackFontFamily;
    int fontSize = 1; // an entry of the font size list
};

struct HtmlExportResult {
    enum Outcome {
        Exported,     // written; the success message was shown
        InvalidInput, // the file name was refused; inputError is the text for the input field
        Declined,     // the file exists and the user did not want it overwritten
        Failed,       // the file could not be written; the failure message was shown
    };
    Outcome outcome = Exported;
    QString inputError;
};

// Writes the whole database as one HTML page that shows the tree as collapsible blocks, each
// item's rendered page inside its block. The page is streamed while the tree is walked: only one
// item page is in memory at a time.
HtmlExportResult ExportDatabaseHTML(const Database &db, const HtmlExportOptions &options,
                                    UserPrompt &prompt, Progress &progress);

} // namespace lexora
