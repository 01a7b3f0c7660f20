#pragma once

#include "sorting/sort_criteria.h"

#include <QStringList>

#include <optional>

namespace lexora::cli {

// Takes "--sort C:M[,C:M...]" or "--sort default" out of args: the criteria to sort the tree
// with, or nothing when the option is absent. Throws Error for a list the sort dialog would not
// accept (unknown criterion or mode, a criterion twice, more than three).
std::optional<SortCriteria> takeSortOption(QStringList &args);

} // namespace lexora::cli
