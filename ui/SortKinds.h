#pragma once

#include <QString>
#include <vector>

namespace quillo {

// How a list column compares its cells.
enum class SortKind {
  Text,            // the locale's case-sensitive comparison of the whole texts
  Number,          // the numbers the texts start with
  MinutesSeconds,  // durations: "mm:ss" or "h:mm:ss"
};

// The order of the rows for sorting `cells` by `kind`: row indices, first row
// first. Equal cells keep their order, so sorting by one column and then by
// another keeps the first order among equals.
std::vector<int> SortedRows(const std::vector<QString>& cells, SortKind kind, bool descending);

}  // namespace quillo
