#include "engine/PageMetrics.h"

namespace tarn::engine {

PageMetrics PageMetricsForDpi(std::int32_t logPixelsY) {
  if (logPixelsY > 96) return PageMetrics{730, 386, 80};
  return PageMetrics{};
}

}  // namespace tarn::engine
