#include "backends/files/G723Decoder.h"

#include "backends/files/G72xState.h"

namespace quillo {
namespace {

constexpr int kDqln24[8] = {-2048, 135, 273, 373, 373, 273, 135, -2048};
constexpr int kWi24[8] = {-128, 960, 4384, 18624, 18624, 4384, 960, -128};
constexpr int kFi24[8] = {0, 0x200, 0x400, 0xE00, 0xE00, 0x400, 0x200, 0};

constexpr int kDqln40[32] = {-2048, -66, 28,  104, 169, 224, 274, 318, 358, 395,  429,
                             459,   488, 514, 539, 566, 566, 539, 514, 488, 459,  429,
                             395,   358, 318, 274, 224, 169, 104, 28,  -66, -2048};
constexpr int kWi40[32] = {448,  448,   768,   1248,  1280,  1312,  1856,  3200,  4512,  5728, 7008,
                           8960, 11456, 14080, 16928, 22272, 22272, 16928, 14080, 11456, 8960, 7008,
                           5728, 4512,  3200,  1856,  1312,  1280,  1248,  768,   448,   448};
constexpr int kFi40[32] = {0,     0,     0,     0,     0,     0x200, 0x200, 0x200,
                           0x200, 0x200, 0x400, 0x600, 0x800, 0xA00, 0xC00, 0xC00,
                           0xC00, 0xC00, 0xA00, 0x800, 0x600, 0x400, 0x200, 0x200,
                           0x200, 0x200, 0x200, 0,     0,     0,     0,     0};

constexpr G72xTables kTables24{3, kDqln24, kWi24, kFi24, 0x3FFF};
constexpr G72xTables kTables40{5, kDqln40, kWi40, kFi40, 0x7FFF};

}  // namespace

int16_t G723Decode24(int code, G72xState& state) { return G72xDecode(code, kTables24, state); }

int16_t G723Decode40(int code, G72xState& state) { return G72xDecode(code, kTables40, state); }

}  // namespace quillo
