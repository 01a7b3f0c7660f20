#include "support/system_error.h"

#include <QFileDevice>
#include <QHash>

#include <cerrno>
#include <clocale>
#include <cstring>
#include <locale.h>

namespace lexora {
namespace {

struct SystemError {
    int error;
    const char16_t *text;
};

// The errors a user meets with files and folders.
constexpr SystemError kSystemErrors[] = {
    {EPERM, u"Der Vorgang ist nicht erlaubt"},
    {ENOENT, u"Die Datei oder der Ordner existiert nicht"},
    {EIO, u"Beim Lesen oder Schreiben des Datenträgers ist ein Fehler aufgetreten"},
    {ENOMEM, u"Der Arbeitsspeicher reicht nicht aus"},
    {EACCES, u"Der Zugriff wurde verweigert"},
    {EBUSY, u"Die Datei oder das Gerät wird gerade benutzt"},
    {EEXIST, u"Die Datei existiert bereits"},
    {EXDEV, u"Dateien können nicht zwischen Dateisystemen umbenannt werden"},
    {ENOTDIR, u"Ein Teil des Pfades ist kein Ordner"},
    {EISDIR, u"Es ist ein Ordner"},
    {EINVAL, u"Der Name oder die Angabe ist ungültig"},
    {ENFILE, u"Im System sind zu viele Dateien geöffnet"},
    {EMFILE, u"Lexora hat zu viele Dateien geöffnet"},
    {ETXTBSY, u"Die Datei wird gerade ausgeführt"},
    {EFBIG, u"Die Datei ist zu groß"},
    {ENOSPC, u"Auf dem Datenträger ist kein Platz mehr frei"},
    {EROFS, u"Das Dateisystem ist schreibgeschützt"},
    {EMLINK, u"Der Ordner enthält zu viele Einträge"},
    {ENAMETOOLONG, u"Der Dateiname ist zu lang"},
    {ENOTEMPTY, u"Der Ordner ist nicht leer"},
    {ELOOP, u"Der Pfad enthält zu viele symbolische Verknüpfungen"},
    {EDQUOT, u"Das Speicherkontingent auf dem Datenträger ist erschöpft"},
    {ESTALE, u"Die Datei auf dem Netzlaufwerk ist nicht mehr verfügbar"},
    {ETIMEDOUT, u"Der Datenträger antwortet nicht"},
};

// Qt's and the C library's English texts of those errors, and "Unknown error", which Qt gives
// when it knows no reason.
const QHash<QString, QString> &germanTexts()
{
    static const QHash<QString, QString> texts = [] {
        QHash<QString, QString> out;
        const locale_t english = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
        for (const SystemError &e : kSystemErrors) {
            const QString german = QString::fromUtf16(e.text);
            if (english)
                out.insert(QString::fromLocal8Bit(strerror_l(e.error, english)), german);
            out.insert(qt_error_string(e.error), german);
        }
        if (english)
            freelocale(english);
        out.insert(QStringLiteral("Unknown error"), QStringLiteral("Unbekannter Fehler"));
        return out;
    }();
    return texts;
}

} // namespace

QString systemErrorText(int error)
{
    for (const SystemError &e : kSystemErrors)
        if (e.error == error)
            return QString::fromUtf16(e.text);
    return QStringLiteral("Systemfehler %1 (%2)").arg(error).arg(qt_error_string(error));
}

QString germanErrorText(const QString &text)
{
    return germanTexts().value(text, text);
}

QString fileErrorText(const QFileDevice &file)
{
    return germanErrorText(file.errorString());
}

} // namespace lexora
