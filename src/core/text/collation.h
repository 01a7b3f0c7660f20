#pragma once

#include <QByteArrayView>
#include <QCollatorSortKey>

// Ordering of model texts as a German user expects it in lists: by the German locale's
// collation, without regard to letter case.
namespace lexora {

// Negative when a goes before b, positive when after, 0 when they differ at most in case.
int CompareTextsIgnoringCase(QByteArrayView a, QByteArrayView b);

// A key whose compare() gives the same order as CompareTextsIgnoringCase; for sorting many
// texts, where the key is made once per text rather than once per comparison.
QCollatorSortKey TextSortKey(QByteArrayView text);

} // namespace lexora
