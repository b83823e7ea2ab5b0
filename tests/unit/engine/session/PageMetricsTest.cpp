#include "engine/session/PageMetrics.h"

#include <gtest/gtest.h>

namespace tarn::engine {
namespace {

TEST(PageMetrics, DenserDisplaysGetTheLargeLayout) {
  EXPECT_EQ(PageMetricsForDpi(72), (PageMetrics{548, 314, 64}));
  EXPECT_EQ(PageMetricsForDpi(96), (PageMetrics{548, 314, 64}));
  EXPECT_EQ(PageMetricsForDpi(97), (PageMetrics{730, 386, 80}));
  EXPECT_EQ(PageMetricsForDpi(120), (PageMetrics{730, 386, 80}));
  EXPECT_EQ(PageMetricsForDpi(144), (PageMetrics{876, 463, 96}));
  EXPECT_EQ(PageMetricsForDpi(192), (PageMetrics{1168, 617, 128}));
}

}  // namespace
}  // namespace tarn::engine
