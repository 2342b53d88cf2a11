#pragma once

#include <memory>

namespace quillo {

// The state of an AMR coder. opencore-amr and vo-amrwbenc type their states
// as void*; the owner releases one with its library's own exit call, given
// as the deleter.
using AmrStatePtr = std::unique_ptr<void, void (*)(void*)>;

}  // namespace quillo
