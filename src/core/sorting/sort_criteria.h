#pragma once

#include "database/model.h"

#include <vector>

namespace lexora {

// The four sort criteria; mode 0 is "mit Schlüsseln beginnend" or "aufsteigend", mode 1
// "mit Einträgen beginnend" or "absteigend".
enum SortCriterionKind : int {
    SortByType = 0,     // "Elementtyp (Schlüssel/Eintrag)"
    SortByTitle = 1,    // "Titel"
    SortByCreated = 2,  // "Erstellungsdatum"
    SortByModified = 3, // "Änderungsdatum"
};

struct SortCriterion {
    int criterion = SortByType;
    int mode = 0;
    bool operator==(const SortCriterion &) const = default;
};

// Up to three criteria in order of precedence, none twice.
using SortCriteria = std::vector<SortCriterion>;

constexpr int kMaxSortCriteria = 3;

// Keys before items, then titles ascending: the list when the settings hold none.
SortCriteria DefaultSortCriteria();

// At most three entries, known criteria and modes, no criterion twice.
bool IsValidSortCriteria(const SortCriteria &criteria);

// Negative when a goes before b, positive when after, 0 when the criteria do not tell them apart.
// Titles compare without regard to case under the German locale, dates by day.
int TreeView_ItemsCompare(const Node &a, const Node &b, const SortCriteria &criteria);

} // namespace lexora
