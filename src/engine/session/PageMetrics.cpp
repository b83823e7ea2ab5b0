#include "engine/session/PageMetrics.h"

namespace tarn::engine {

std::int32_t ScaleFrom120Dpi(std::int32_t value, std::int32_t logPixelsY) {
  if (logPixelsY <= 120) return value;
  return static_cast<std::int32_t>(static_cast<std::int64_t>(value) * logPixelsY / 120);
}

PageMetrics PageMetricsForDpi(std::int32_t logPixelsY) {
  if (logPixelsY > 96)
    return PageMetrics{ScaleFrom120Dpi(730, logPixelsY), ScaleFrom120Dpi(386, logPixelsY),
                       ScaleFrom120Dpi(80, logPixelsY)};
  return PageMetrics{};
}

}  // namespace tarn::engine
