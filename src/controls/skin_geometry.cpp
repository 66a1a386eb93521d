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

ScreenRect KeptInside(ScreenRect window, const ScreenRect& area) {
  window.x = std::max(area.x, std::min(window.x, area.x + area.width - window.width));
  window.y = std::max(area.y, std::min(window.y, area.y + area.height - window.height));
  return window;
}

ScreenRect HelpDock(const ScreenRect& main, int helpWidth, int helpHeight, const ScreenRect& area) {
  const ScreenRect right{main.x + main.width, main.y, helpWidth, helpHeight};
  const ScreenRect left{main.x - helpWidth, main.y, helpWidth, helpHeight};
  const auto fitsAcross = [&](const ScreenRect& r) {
    return r.x >= area.x && r.x + r.width <= area.x + area.width;
  };
  if (fitsAcross(right)) return KeptInside(right, area);
  if (fitsAcross(left)) return KeptInside(left, area);
  return KeptInside({main.x, main.y, helpWidth, helpHeight}, area);
}

}  // namespace vantorel
