#pragma once

#include <string>

namespace quillo {

// The run state shared by the source factory, the passes and the driver.
// One job per conversion run; the engine holds no state of its own besides.
struct ConversionJob {
  // Set when a dedicated back-end was used, so that a failed pass is retried
  // once through the media framework.
  bool retryWithFramework = false;
  // The last failure's explanation for the user; empty when there is none.
  std::string failureDetail;
};

}  // namespace quillo
