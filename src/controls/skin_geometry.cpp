#include "controls/skin_geometry.h"

#include <algorithm>

namespace vantorel {
namespace {
constexpr int kCapWidth = 5;
constexpr int kTipMargin = 6;
enum TabState { kTabNormal = 0, kTabHover = 1, kTabSelected = 2 };
}  // namespace

std::optional<int> ProgressBarLength(int width, int position, int lower, int upper) {
  if (upper <= lower) return std::nullopt;
  position = std::clamp(position, lower, upper);
  const double span =
      static_cast<double>(width - 2 * kCapWidth) * (position - lower) / (upper - lower);
  return static_cast<int>(span) + kCapWidth;
}

int TabCell(int tab, bool selected, bool hovered) {
  const int state = selected ? kTabSelected : hovered ? kTabHover : kTabNormal;
  return 3 * tab + state;
}

bool ComboItemNeedsTip(int textWidth, int itemWidth) {
  return textWidth > itemWidth - kTipMargin;
}

}  // namespace vantorel
