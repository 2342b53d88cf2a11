#pragma once

#include <Qt>

#include "ui/SortKinds.h"

namespace quillo {

// The file list's columns, in order.
enum ListColumn : int {
  kFileColumn,
  kDurationColumn,
  kBitRateColumn,
  kSampleRateColumn,
  kChannelsColumn,
  kVolumeColumn,
  kOutputColumn,
  kColumnCount,
};

struct ColumnSpec {
  const char* heading;
  Qt::Alignment alignment;
  int width;  // pixels
  SortKind sortKind;
};

const ColumnSpec& Column(int column);

// The "Output" column's width before a conversion widens it, and after.
inline constexpr int kOutputColumnWidth = 200;
inline constexpr int kWideOutputColumnWidth = 500;

}  // namespace quillo
