#pragma once
// Size of the wizard's page area and of the picture band above it, chosen by display density.

#include <cstdint>

namespace tarn::engine {

struct PageMetrics {
  std::int32_t width = 548;
  std::int32_t height = 314;
  std::int32_t bandHeight = 64;

  bool operator==(const PageMetrics& o) const {
    return width == o.width && height == o.height && bandHeight == o.bandHeight;
  }
};

// 96 pixels per inch and below keep the small layout; anything denser gets the large one, and
// displays denser than 120 get it scaled up so that the pages fill the frame.
PageMetrics PageMetricsForDpi(std::int32_t logPixelsY);

// A figure laid out for 120 pixels per inch, scaled for denser displays (truncated).
std::int32_t ScaleFrom120Dpi(std::int32_t value, std::int32_t logPixelsY);

}  // namespace tarn::engine
