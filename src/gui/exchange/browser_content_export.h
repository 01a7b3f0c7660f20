#pragma once

#include <QObject>

class QWidget;

namespace lexora {

class BrowserView;
class Document;
class FileDialogs;
class UserPrompt;

// "Browser-Inhalt exportieren": saves the page that a display shows as an HTML file, with the
// included files it uses copied into the "-Dateien" folder beside it (ExportBrowserContent).
class BrowserContentExport : public QObject {
    Q_OBJECT

public:
    BrowserContentExport(const Document &document, UserPrompt &prompt, FileDialogs &dialogs,
                         QWidget *parent);

    // Asks for the file (the save dialog asks before overwriting), then reads the page from
    // browser once it has finished loading, and writes it.
    void MenuItem_ExportBrowserContentClick(BrowserView &browser);

Q_SIGNALS:
    // The export has ended: written, or refused with its message shown.
    void finished(bool written);

private:
    const Document &m_document;
    UserPrompt &m_prompt;
    FileDialogs &m_dialogs;
    QWidget *m_parent;
};

} // namespace lexora
