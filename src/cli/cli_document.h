#pragma once

#include "terminal.h"

#include "document/document.h"
#include "support/progress.h"

#include <memory>
#include <optional>

namespace lexora {
class InstanceFolder;
}

namespace lexora::cli {

// The document of one verb, the same Document the desktop program works on. Its included files
// are written to --files-dir, where they stay, or else into the folder of an instance of its
// own, like the desktop program's: removed at the end, and cleared by the next start of either
// program if lexora-cli is killed, since the files of an encrypted database are decrypted.
class CliDocument {
public:
    explicit CliDocument(const DocumentOptions &options = {});
    ~CliDocument();
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
    std::unique_ptr<InstanceFolder> m_instance; // outlives the document, which deletes its files
    std::optional<Document> m_document;
};

} // namespace lexora::cli
