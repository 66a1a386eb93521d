#include "controls/shadow_picture.h"

#include <algorithm>
#include <cmath>

namespace vantorel {
namespace {

// The anchor spans of the shadow rows, over the rows min(0, s) .. max(SH, H + s) - 1; rows
// outside read as empty.
class SpanTable {
 public:
  SpanTable(int first, int count, ShadowSpan empty)
      : m_first(first), m_rows(static_cast<size_t>(count), empty), m_empty(empty) {}
  ShadowSpan At(int y) const {
    const int i = y - m_first;
    return i < 0 || i >= static_cast<int>(m_rows.size()) ? m_empty : m_rows[static_cast<size_t>(i)];
  }
  void Set(int y, ShadowSpan span) {
    const int i = y - m_first;
    if (i >= 0 && i < static_cast<int>(m_rows.size())) m_rows[static_cast<size_t>(i)] = span;
  }
  int First() const { return m_first; }
  int Count() const { return static_cast<int>(m_rows.size()); }

 private:
  int m_first;
  std::vector<ShadowSpan> m_rows;
  ShadowSpan m_empty;
};

uint32_t Pixel(uint8_t alpha, uint32_t color) {
  return static_cast<uint32_t>(alpha) << 24 | PreMultiply(color, alpha);
}

}  // namespace

uint32_t PreMultiply(uint32_t colorref, uint8_t alpha) {
  const uint32_t red = (colorref & 0xFF) * alpha / 255;
  const uint32_t green = ((colorref >> 8) & 0xFF) * alpha / 255;
  const uint32_t blue = ((colorref >> 16) & 0xFF) * alpha / 255;
  return red << 16 | green << 8 | blue;
}

std::vector<ShadowSpan> ShapeRows(int width, int height,
                                  const std::function<bool(int, int)>& inside) {
  std::vector<ShadowSpan> rows(static_cast<size_t>(height), ShadowSpan{width, 0});
  for (int y = 0; y < height; ++y) {
    int start = 0;
    while (start < width && !inside(start, y)) ++start;
    if (start == width) continue;
    int last = width - 1;
    while (!inside(last, y)) --last;
    rows[static_cast<size_t>(y)] = ShadowSpan{start, last + 1};
  }
  return rows;
}

std::vector<uint32_t> ShadowKernel(const ShadowParams& params, int* kernelRadius) {
  const int s = params.size;
  const int k = params.sharpness;
  const int K = std::max(s, k);
  const double centre = s > k ? s - k : 0;
  const int side = 2 * K + 1;
  std::vector<uint32_t> kernel(static_cast<size_t>(side * side), 0);
  for (int i = 0; i < side; ++i) {
    for (int j = 0; j < side; ++j) {
      const double dist = std::sqrt(static_cast<double>((i - K) * (i - K) + (j - K) * (j - K)));
      uint8_t alpha = 0;
      if (dist < centre) {
        alpha = params.darkness;
      } else if (dist <= K) {
        alpha = static_cast<uint8_t>((1.0 - (dist - centre) / (k + 1)) * params.darkness);
      } else {
        continue;
      }
      if (alpha != 0) kernel[static_cast<size_t>(i * side + j)] = Pixel(alpha, params.color);
    }
  }
  if (kernelRadius != nullptr) *kernelRadius = K;
  return kernel;
}

std::vector<uint32_t> MakeShadow(const std::vector<ShadowSpan>& parentRows, int width, int height,
                                 const ShadowParams& params) {
  const int s = params.size;
  const int k = params.sharpness;
  const int sw = width + 2 * s;
  const int sh = height + 2 * s;
  if (sw <= 0 || sh <= 0) return {};
  std::vector<uint32_t> pixels(static_cast<size_t>(sw) * static_cast<size_t>(sh), 0);
  const ShadowSpan empty{width, 0};

  // 1-2. Anchors: each parent row's span moved by the growth.
  const int first = std::min(0, s);
  const int last = std::max(sh, height + s);
  SpanTable anchors(first, last - first, empty);
  for (int r = 0; r < height; ++r) {
    const ShadowSpan p = parentRows[static_cast<size_t>(r)];
    anchors.Set(r + s, p == empty ? empty : ShadowSpan{p.start + s, p.end + s});
  }

  // 3. Erosion narrows the anchors by the soft edge's width, all rows at once each time.
  for (int pass = 0; pass < k - s; ++pass) {
    SpanTable eroded(first, last - first, empty);
    for (int y = first; y < last; ++y) {
      const ShadowSpan a = anchors.At(y - 1);
      const ShadowSpan m = anchors.At(y);
      const ShadowSpan b = anchors.At(y + 1);
      eroded.Set(y, ShadowSpan{std::max({a.start, m.start, b.start}) + 1,
                               std::min({a.end, m.end, b.end}) - 1});
    }
    anchors = eroded;
  }

  int K = 0;
  const std::vector<uint32_t> kernel = ShadowKernel(params, &K);
  const int side = 2 * K + 1;
  auto stamp = [&](int x, int y) {
    for (int i = 0; i < side; ++i) {
      const int py = y - K + i;
      if (py < 0 || py >= sh) continue;
      for (int j = 0; j < side; ++j) {
        const int px = x - K + j;
        if (px < 0 || px >= sw) continue;
        uint32_t& pixel =
            pixels[static_cast<size_t>(py) * static_cast<size_t>(sw) + static_cast<size_t>(px)];
        pixel = std::max(pixel, kernel[static_cast<size_t>(i * side + j)]);
      }
    }
  };
  auto fill = [&](int y, int from, int to, uint32_t value) {
    from = std::max(from, 0);
    to = std::min(to, sw);
    for (int x = from; x < to; ++x)
      pixels[static_cast<size_t>(y) * static_cast<size_t>(sw) + static_cast<size_t>(x)] = value;
  };

  // 5. Soft edges: the kernel stamped only along the runs near each span's two ends.
  for (int y = K; y <= sh - K - 1; ++y) {
    const ShadowSpan a = anchors.At(y);
    if (a.Empty()) continue;
    const ShadowSpan above = anchors.At(y - 1);
    const ShadowSpan below = anchors.At(y + 1);
    int x = a.start;
    for (; x < std::min(std::max(above.start, below.start) + 1, a.end); ++x) stamp(x, y);
    for (x = std::max(x, std::min(above.end, below.end) - 1); x < a.end; ++x) stamp(x, y);
  }

  // 6. The solid body, left transparent under the parent itself.
  const uint32_t full = Pixel(params.darkness, params.color);
  const int yFrom = std::min(K, std::max(s - params.yOffset, 0));
  const int yTo = std::max(sh - K, std::min(height + s - params.yOffset, sh));
  for (int y = yFrom; y < yTo; ++y) {
    const ShadowSpan a = anchors.At(y);
    const int r = y - s + params.yOffset;
    if (r < 0 || r >= height) {
      fill(y, a.start, a.end, full);
      continue;
    }
    const ShadowSpan p = parentRows[static_cast<size_t>(r)];
    const int ps = p.start + s - params.xOffset;
    const int pe = p.end + s - params.xOffset;
    fill(y, a.start, std::min(a.end, ps), full);
    fill(y, std::max(ps, 0), std::min(pe, sw), 0);
    fill(y, std::max(a.start, pe), a.end, full);
  }
  return pixels;
}

}  // namespace vantorel
