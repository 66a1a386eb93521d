#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace vantorel {

// The drop shadow's picture, computed from the parent window's shape: a blurred, darkened
// copy of the shape, transparent where the parent itself lies.
struct ShadowParams {
  uint8_t darkness = 150;  // alpha of the full shadow
  uint8_t sharpness = 5;   // width of the soft edge, 0..20
  int8_t size = 0;         // growth beyond the parent's outline, -20..20
  int8_t xOffset = 5;      // -20..20
  int8_t yOffset = 5;      // -20..20
  uint32_t color = 0;      // 0x00BBGGRR
};

// A run of a row's pixels, end exclusive; empty when start >= end. A row without any pixel of
// the shape is (width, 0).
struct ShadowSpan {
  int start;
  int end;
  bool Empty() const { return start >= end; }
  friend bool operator==(const ShadowSpan&, const ShadowSpan&) = default;
};

// The colour's red, green and blue scaled by alpha / 255, packed as 0x00RRGGBB.
uint32_t PreMultiply(uint32_t colorref, uint8_t alpha);

// Each row's first and last pixel inside the shape (the span between them).
std::vector<ShadowSpan> ShapeRows(int width, int height,
                                  const std::function<bool(int x, int y)>& inside);

// The (2K + 1) x (2K + 1) soft-edge kernel, premultiplied ARGB, K = max(size, sharpness).
std::vector<uint32_t> ShadowKernel(const ShadowParams& params, int* kernelRadius);

// The shadow of a width x height parent with those rows: (width + 2 size) x (height + 2 size)
// premultiplied ARGB pixels, top row first.
std::vector<uint32_t> MakeShadow(const std::vector<ShadowSpan>& parentRows, int width, int height,
                                 const ShadowParams& params);

}  // namespace vantorel
