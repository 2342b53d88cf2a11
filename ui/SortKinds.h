#pragma once

#include <QVariant>
#include <Qt>
#include <vector>

namespace quillo {

// How a list column compares its cells.
enum class SortKind {
  Text,            // the locale's case-sensitive comparison of the whole texts
  Number,          // the numbers the cells show
  MinutesSeconds,  // durations, hours counted as hours
};

// The role under which the file list gives what a cell sorts by: the cell's
// text in a text column, the item's number (seconds, kbit/s, Hz) in the
// others, 0 when it is unknown.
inline constexpr int kSortRole = Qt::UserRole;

// The order of the rows for sorting by `values` (kSortRole data) by `kind`:
// row indices, first row first. Equal cells keep their order, so sorting by
// one column and then by another keeps the first order among equals.
std::vector<int> SortedRows(const std::vector<QVariant>& values, SortKind kind, bool descending);

}  // namespace quillo
