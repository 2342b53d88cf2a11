#include "ui/SortKinds.h"

#include <QCollator>
#include <algorithm>
#include <numeric>
#include <utility>

namespace quillo {

namespace {

template <typename Key, typename Less>
std::vector<int> OrderBy(const std::vector<Key>& keys, bool descending, Less less) {
  std::vector<int> rows(keys.size());
  std::iota(rows.begin(), rows.end(), 0);
  std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
    if (descending) std::swap(a, b);
    return less(keys[static_cast<size_t>(a)], keys[static_cast<size_t>(b)]);
  });
  return rows;
}

}  // namespace

std::vector<int> SortedRows(const std::vector<QVariant>& values, SortKind kind, bool descending) {
  switch (kind) {
    // Durations are whole seconds, so 1:02:03 sorts after 59:00; an unknown
    // one (0) ranks below every duration, as an empty cell should, rather
    // than equal to everything, which would make the order inconsistent.
    case SortKind::Number:
    case SortKind::MinutesSeconds: {
      std::vector<double> keys;
      keys.reserve(values.size());
      for (const QVariant& value : values) keys.push_back(value.toDouble());
      return OrderBy(keys, descending, [](double a, double b) { return a < b; });
    }
    case SortKind::Text:
      break;
  }
  // Sort keys once per cell: comparing keys is far cheaper than comparing
  // texts through the collator at every step.
  QCollator collator;
  collator.setCaseSensitivity(Qt::CaseSensitive);
  std::vector<QCollatorSortKey> keys;
  keys.reserve(values.size());
  for (const QVariant& value : values) keys.push_back(collator.sortKey(value.toString()));
  return OrderBy(keys, descending, [](const QCollatorSortKey& a, const QCollatorSortKey& b) {
    return a.compare(b) < 0;
  });
}

}  // namespace quillo
