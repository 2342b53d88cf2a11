#include "ui/SortKinds.h"

#include <QCollator>
#include <algorithm>
#include <cstdlib>
#include <numeric>

namespace quillo {

namespace {

// The number a text starts with, as strtod reads it; 0 when there is none.
double LeadingNumber(const QString& text) {
  const QByteArray bytes = text.toLatin1();
  return std::strtod(bytes.constData(), nullptr);
}

// A duration's seconds from its "h:mm:ss" or "mm:ss" fields. Hours count as
// hours, so 1:02:03 sorts after 59:00. A cell without ":" (an unknown
// duration) ranks below every duration; ranking those cells equal to
// everything instead would make the order inconsistent.
double DurationSeconds(const QString& text) {
  if (!text.contains(u':')) return -1.0;
  double seconds = 0;
  for (const QString& field : text.split(u':')) seconds = seconds * 60 + field.toInt();
  return seconds;
}

template <typename Key, typename Less>
std::vector<int> OrderBy(const std::vector<Key>& keys, bool descending, Less less) {
  std::vector<int> rows(keys.size());
  std::iota(rows.begin(), rows.end(), 0);
  if (descending)
    std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
      return less(keys[static_cast<size_t>(b)], keys[static_cast<size_t>(a)]);
    });
  else
    std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
      return less(keys[static_cast<size_t>(a)], keys[static_cast<size_t>(b)]);
    });
  return rows;
}

}  // namespace

std::vector<int> SortedRows(const std::vector<QString>& cells, SortKind kind, bool descending) {
  switch (kind) {
    case SortKind::Number:
    case SortKind::MinutesSeconds: {
      std::vector<double> keys;
      keys.reserve(cells.size());
      for (const QString& cell : cells)
        keys.push_back(kind == SortKind::Number ? LeadingNumber(cell) : DurationSeconds(cell));
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
  keys.reserve(cells.size());
  for (const QString& cell : cells) keys.push_back(collator.sortKey(cell));
  return OrderBy(keys, descending, [](const QCollatorSortKey& a, const QCollatorSortKey& b) {
    return a.compare(b) < 0;
  });
}

}  // namespace quillo
