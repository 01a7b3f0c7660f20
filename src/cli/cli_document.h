#pragma once

#include "terminal.h"

#include "document/document.h"
#include "support/progress.h"

#include <QTemporaryDir>

#include <optional>

namespace lexora::cli {

// The document of one verb, the same Document the desktop program works on. Its included files
// are written to --files-dir, where they stay, or to a temporary folder removed at the end.
class CliDocument {
public:
    explicit CliDocument(const DocumentOptions &options = {});
    CliDocument(const CliDocument &) = delete;
    CliDocument &operator=(const CliDocument &) = delete;

    Document &document() { return *m_document; }
    const Database &db() const { return m_document->database(); }
    TerminalPrompt &prompt() { return m_prompt; }

    // Opens fileName, sorted; throws Error when it is refused or damaged.
    void open(const QString &fileName);
    // Saves the database to fileName (with its own encryption setting).
    void save(const QString &fileName);

private:
    TerminalPrompt m_prompt;
    NoProgress m_progress;
    std::optional<QTemporaryDir> m_tempDir; // outlives the document, which deletes its files
    std::optional<Document> m_document;
};

} // namespace lexora::cli
