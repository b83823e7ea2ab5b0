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

// 96 pixels per inch and below keep the small layout; anything denser gets the large one.
PageMetrics PageMetricsForDpi(std::int32_t logPixelsY);

}  // namespace tarn::engine
