#include "backends/files/G721Decoder.h"

#include "backends/files/G72xState.h"

namespace quillo {
namespace {

constexpr int kDqln[16] = {-2048, 4,   135, 213, 273, 323, 373, 425,
                           425,   373, 323, 273, 213, 135, 4,   -2048};
// The scale factor weights, already scaled by 32.
constexpr int kWi[16] = {-12 * 32, 18 * 32,   41 * 32,   64 * 32,  112 * 32, 198 * 32,
                         355 * 32, 1122 * 32, 1122 * 32, 355 * 32, 198 * 32, 112 * 32,
                         64 * 32,  41 * 32,   18 * 32,   -12 * 32};
constexpr int kFi[16] = {0,     0,     0,     0x200, 0x200, 0x200, 0x600, 0xE00,
                         0xE00, 0x600, 0x200, 0x200, 0x200, 0,     0,     0};

constexpr G72xTables kTables{4, kDqln, kWi, kFi, 0x3FFF};

}  // namespace

int16_t G721Decode(int code, G72xState& state) { return G72xDecode(code, kTables, state); }

}  // namespace quillo
