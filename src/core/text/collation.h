#pragma once

#include <QByteArrayView>
#include <QCollatorSortKey>

#include <algorithm>
#include <memory>
#include <vector>

// Ordering of model texts as a German user expects it in lists: by the German locale's
// collation, without regard to letter case.
namespace lexora {

// Negative when a goes before b, positive when after, 0 when they differ at most in case.
int CompareTextsIgnoringCase(QByteArrayView a, QByteArrayView b);

// A key whose compare() gives the same order as CompareTextsIgnoringCase; for sorting many
// texts, where the key is made once per text rather than once per comparison.
QCollatorSortKey TextSortKey(QByteArrayView text);

// Sorts records (templates, included files) by their Name as lists shown to the user are sorted.
// Stable, so names equal but for case keep their order.
template <class Record>
void SortByName(std::vector<std::unique_ptr<Record>> &records)
{
    std::stable_sort(records.begin(), records.end(),
                     [](const std::unique_ptr<Record> &a, const std::unique_ptr<Record> &b) {
                         return CompareTextsIgnoringCase(a->Name, b->Name) < 0;
                     });
}

} // namespace lexora
