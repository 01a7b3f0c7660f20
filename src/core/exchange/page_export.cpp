#include "exchange/page_export.h"

#include "database/win1252.h"
#include "exchange/line_writer.h"
#include "render/html_text.h"
#include "support/atomic_file.h"
#include "support/error.h"
#include "support/user_prompt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace lexora {
namespace {

// The included-files folder as it appears in innerHTML: pages carry it in Windows-1252, and the
// browser's serializer writes "&" and the non-breaking space as entities.
QString folderAsSerialized(const QString &folder)
{
    QString form = win1252::toUnicode(win1252::fromUnicode(folder));
    form.replace(QLatin1Char('&'), QLatin1String("&amp;"));
    form.replace(QChar(0xA0), QLatin1String("&nbsp;"));
    return form;
}

// The file name behind a serialized reference, with the serializer's entities undone.
QString unescapeSerialized(QString text)
{
    if (!text.contains(QLatin1Char('&')))
        return text;
    text.replace(QLatin1String("&lt;"), QLatin1String("<"));
    text.replace(QLatin1String("&gt;"), QLatin1String(">"));
    text.replace(QLatin1String("&quot;"), QLatin1String("\""));
    text.replace(QLatin1String("&nbsp;"), QString(QChar(0xA0)));
    text.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return text;
}

qsizetype nextQuote(const QString &text, qsizetype from)
{
    for (qsizetype i = from; i < text.size(); ++i)
        if (text[i] == QLatin1Char('"') || text[i] == QLatin1Char('\''))
            return i;
    return -1;
}

// The page text as Windows-1252 with CR LF line ends. The browser gives lines ended by a line
// feed alone; characters the code page lacks become numeric character references instead of
// being lost.
QByteArray toPageBytes(const QString &text)
{
    QByteArray out;
    out.reserve(text.size() + text.size() / 16);
    const char16_t *units = reinterpret_cast<const char16_t *>(text.utf16());
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t cp = units[i];
        if (QChar::isHighSurrogate(cp) && i + 1 < text.size()
            && QChar::isLowSurrogate(units[i + 1]))
            cp = QChar::surrogateToUcs4(char16_t(cp), units[++i]);
        if (cp == u'\n' && (i == 0 || units[i - 1] != u'\r')) {
            out.append("\r\n");
            continue;
        }
        const char byte = win1252::fromCodePoint(cp);
        if (byte == '?' && cp != U'?')
            out.append("&#" + QByteArray::number(quint32(cp)) + ';');
        else
            out.append(byte);
    }
    return out;
}

// Rewrites every reference into the included-files folder to "<files folder name>/" and copies
// the included files named by them into filesDir. Returns the rewritten page.
QString rewriteReferences(const Database &db, const QString &html, const QString &fileName)
{
    const QString folder = folderAsSerialized(db.IncludedFilesFolder);
    qsizetype c = folder.isEmpty() ? -1 : html.indexOf(folder);
    if (c < 0)
        return html;
    const QString folderName = exportFilesFolderName(fileName) + QLatin1Char('/');
    const QString filesDir = QFileInfo(fileName).path() + QLatin1Char('/') + folderName;
    // The folder's name goes into the page as text: a "&" or a quotation mark in the chosen file
    // name must neither start a character reference nor end the attribute.
    const QString relative = escapeHtml(folderName);
    // An existing folder is fine: it may hold the copies of an earlier export.
    QDir().mkdir(filesDir);

    QString out;
    out.reserve(html.size());
    qsizetype done = 0;
    while (c >= 0) {
        out.append(QStringView(html).mid(done, c - done));
        out.append(relative);
        done = c + folder.size();
        if (const qsizetype e = nextQuote(html, done); e >= 0) {
            const Text name = win1252::fromUnicode(unescapeSerialized(html.mid(done, e - done)));
            // A name that is no (longer an) included file is rewritten all the same, but there
            // is nothing to copy. QFile::copy never overwrites, so an existing copy is kept; a
            // failed copy leaves the page as it is.
            if (db.FindIncludedFile(name))
                QFile::copy(db.includedFilePath(name), filesDir + win1252::toUnicode(name));
        }
        c = html.indexOf(folder, done);
    }
    out.append(QStringView(html).mid(done));
    return out;
}

} // namespace

QString exportFilesFolderName(const QString &fileName)
{
    const QString name = QFileInfo(fileName).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    // Without an extension the whole name is kept.
    const QString base = dot < 0 ? name : name.left(name.indexOf(name.mid(dot)));
    return base + QStringLiteral("-Dateien");
}

bool ExportBrowserContent(const Database &db, const QString &fileName, const QString &innerHtml,
                          UserPrompt &prompt)
{
    bool written = false;
    if (!innerHtml.isNull()) {
        try {
            const QByteArray page = toPageBytes(rewriteReferences(db, innerHtml, fileName));
            // Written to a temporary file first: a failed export leaves an existing file intact.
            AtomicFile file(fileName);
            if (!file.open(QIODevice::WriteOnly))
                throw Error(Error::Kind::IoError, file.errorString());
            LineWriter out(file.device());
            out.line(0, "<HTML>");
            out.line(0, page);
            out.line(0, "</HTML>");
            out.flush();
            written = file.commit();
        } catch (const Error &) {
            written = false;
        }
    }
    if (!written)
        prompt.message(UserPrompt::Icon::Error, QStringLiteral("Vorgang fehlgeschlagen"),
                       QStringLiteral("Die Datei konnte nicht gespeichert werden."));
    return written;
}

} // namespace lexora
