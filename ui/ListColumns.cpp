#include "ui/ListColumns.h"

namespace quillo {

namespace {

constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;

// "Channels" sorts as text, like the columns without a kind of their own.
const ColumnSpec kColumns[kColumnCount] = {
    {"File", kLeft, 206, SortKind::Text},
    {"Duration", kRight, 70, SortKind::MinutesSeconds},
    {"Bit Rate", kRight, 80, SortKind::Number},
    {"Sample Rate", kRight, 85, SortKind::Number},
    {"Channels", kRight, 75, SortKind::Text},
    {"Volume", kRight, 70, SortKind::Text},
    {"Output", kLeft, kOutputColumnWidth, SortKind::Text},
};

}  // namespace

const ColumnSpec& Column(int column) { return kColumns[column]; }

}  // namespace quillo
