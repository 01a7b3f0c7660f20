#pragma once

#include "document/document.h"
#include "support/progress.h"
#include "support/scripted_prompt.h"

#include <QTemporaryDir>

#include <optional>

namespace lexora::test {

// A Document of its own, with its included-files folder in a temporary folder and a scripted
// prompt: for the tests of one window or of the core without the whole program.
class TestDocument {
public:
    TestDocument();

    Document &operator*() { return *m_document; }
    Document *operator->() { return &*m_document; }
    const QString &folder() const { return m_folder; } // the temporary folder, ending with '/'

    ScriptedPrompt prompt;

private:
    QTemporaryDir m_dir;
    QString m_folder;
    NoProgress m_progress;
    std::optional<Document> m_document;
};

} // namespace lexora::test
