#include "controls/shadow_picture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vantorel {
namespace {

uint8_t Alpha(uint32_t pixel) {
  return static_cast<uint8_t>(pixel >> 24);
}

TEST(ShadowKernel, DefaultsGiveTheSoftEdgeAlphas) {
  int radius = 0;
  const std::vector<uint32_t> kernel = ShadowKernel(ShadowParams{}, &radius);
  ASSERT_EQ(radius, 5);
  ASSERT_EQ(kernel.size(), 11u * 11u);
  auto at = [&](int di, int dj) {
    return Alpha(kernel[static_cast<size_t>((5 + di) * 11 + (5 + dj))]);
  };
  EXPECT_EQ(at(0, 0), 150);
  EXPECT_EQ(at(0, 1), 125);
  EXPECT_EQ(at(1, 1), 114);
  EXPECT_EQ(at(0, 5), 24);   // not 25: the product falls just short
  EXPECT_EQ(kernel[0], 0u);  // the corner lies beyond the radius
}

TEST(ShadowKernel, GrowthBeyondSharpnessMakesASolidCentre) {
  ShadowParams params;
  params.size = 8;
  params.sharpness = 3;
  int radius = 0;
  const std::vector<uint32_t> kernel = ShadowKernel(params, &radius);
  ASSERT_EQ(radius, 8);
  const int side = 17;
  EXPECT_EQ(Alpha(kernel[static_cast<size_t>(8 * side + 8 + 4)]), 150);  // within the centre size 5
  EXPECT_EQ(Alpha(kernel[static_cast<size_t>(8 * side + 8 + 6)]),
            static_cast<uint8_t>((1.0 - 1.0 / 4) * 150));
}

TEST(PreMultiply, ScalesEachChannel) {
  EXPECT_EQ(PreMultiply(0x00FF8040, 128), 0x204080u);
  EXPECT_EQ(PreMultiply(0x00FFFFFF, 255), 0xFFFFFFu);
  EXPECT_EQ(PreMultiply(0x00FFFFFF, 0), 0u);
}

TEST(ShapeRows, EmptyRowsGiveTheEmptySpan) {
  const auto rows = ShapeRows(10, 3, [](int x, int y) { return y != 1 && x >= 2 && x <= 6; });
  EXPECT_EQ(rows[0], (ShadowSpan{2, 7}));
  EXPECT_EQ(rows[1], (ShadowSpan{10, 0}));
  EXPECT_TRUE(rows[1].Empty());
}

// The main window's case: 640 x 480 with rounded corners, offset 8, 8, no growth.
TEST(MakeShadow, OnlyAnLShapedBandShowsBesideTheParent) {
  const int w = 640;
  const int h = 480;
  const double r = 5;
  auto inside = [&](int x, int y) {
    const double cx = std::clamp(x + 0.5, r, w - r);
    const double cy = std::clamp(y + 0.5, r, h - r);
    return std::hypot(x + 0.5 - cx, y + 0.5 - cy) <= r;
  };
  ShadowParams params;
  params.xOffset = 8;
  params.yOffset = 8;
  const std::vector<uint32_t> pixels = MakeShadow(ShapeRows(w, h, inside), w, h, params);
  ASSERT_EQ(pixels.size(), static_cast<size_t>(w * h));
  auto at = [&](int x, int y) { return pixels[static_cast<size_t>(y * w + x)]; };
  int band = 0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      // The shadow pixel (x, y) lies on screen under parent pixel (x + 8, y + 8).
      if (x + 8 < w && y + 8 < h && inside(x + 8, y + 8)) {
        ASSERT_EQ(at(x, y), 0u) << x << "," << y;
      } else if (at(x, y) != 0) {
        ++band;
        // Visible only to the right of the parent or below it.
        ASSERT_TRUE(x + 8 >= w - static_cast<int>(r) || y + 8 >= h - static_cast<int>(r))
            << x << "," << y;
      }
    }
  }
  EXPECT_GT(band, 2000);
  EXPECT_EQ(Alpha(at(620, 240)), 0);    // under the parent
  EXPECT_GT(Alpha(at(634, 240)), 100);  // the right band (x from 632), dark near the parent
  EXPECT_GT(Alpha(at(320, 474)), 100);  // the bottom band (y from 472)
  EXPECT_LT(Alpha(at(639, 240)), Alpha(at(634, 240)));  // softer towards the outer edge
}

}  // namespace
}  // namespace vantorel
