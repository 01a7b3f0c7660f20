#include "exchange/browser_content_export.h"

#include "browser/browser_view.h"
#include "document/document.h"
#include "exchange/page_export.h"
#include "support/file_dialogs.h"

#include <QPointer>

namespace lexora {

BrowserContentExport::BrowserContentExport(const Document &document, UserPrompt &prompt,
                                           FileDialogs &dialogs, QWidget *parent)
    : QObject(parent), m_document(document), m_prompt(prompt), m_dialogs(dialogs),
      m_parent(parent)
{
}

void BrowserContentExport::MenuItem_ExportBrowserContentClick(BrowserView &browser)
{
    const std::optional<QString> file = m_dialogs.saveHtml(m_parent, FileDialogs::Overwrite::Ask);
    if (!file)
        return;
    // The page arrives from the browser's own process a moment later.
    browser.readPageHtml([self = QPointer(this), fileName = *file](const QString &innerHtml) {
        if (!self)
            return;
        const bool written =
            ExportBrowserContent(self->m_document.database(), fileName, innerHtml, self->m_prompt);
        Q_EMIT self->finished(written);
    });
}

} // namespace lexora
