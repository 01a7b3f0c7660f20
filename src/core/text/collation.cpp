#include "text/collation.h"

#include "database/win1252.h"

#include <QCollator>
#include <QLocale>

namespace lexora {
namespace {

// A collator is not safe to share between threads while it sets itself up, so each thread
// keeps its own.
const QCollator &germanCollator()
{
    thread_local const QCollator collator = [] {
        QCollator c{QLocale(QLocale::German, QLocale::Germany)};
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator;
}

} // namespace

int CompareTextsIgnoringCase(QByteArrayView a, QByteArrayView b)
{
    return germanCollator().compare(win1252::toUnicode(a), win1252::toUnicode(b));
}

QCollatorSortKey TextSortKey(QByteArrayView text)
{
    return germanCollator().sortKey(win1252::toUnicode(text));
}

} // namespace lexora
