#pragma once

#include <optional>

namespace vantorel {

// Progress bar: the visible bar length for a position in [lower, upper] on a bar W pixels
// wide, 5 (the right cap) at the lower end and W - 5 at the upper end; a position beyond the
// range counts as its nearer end. Nothing for an empty or reversed range.
std::optional<int> ProgressBarLength(int width, int position, int lower, int upper);

// Progress bar: which of its two bar pictures shows. A calibration run shows the alternative
// one while too few of its queries succeed.
enum class BarMode : int { kNormal = 0, kAlternative = 1 };

// Tab strip: the cell of a tab, 3 x tab + state (0 normal, 1 hover, 2 selected). The selected
// tab never shows hover.
int TabCell(int tab, bool selected, bool hovered);

// Combo box: a drop-down item shows its full text in a tip only when the text is wider than
// the item less 6 pixels.
bool ComboItemNeedsTip(int textWidth, int itemWidth);

// A window's place on the screen, in the screen's own coordinates.
struct ScreenRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const ScreenRect&) const = default;
};

// The window moved, not resized, so that it lies wholly inside the area (a screen's available
// part); one larger than the area keeps its top left inside it, where its title and close
// button are.
ScreenRect KeptInside(ScreenRect window, const ScreenRect& area);

// Where the help window goes beside the main window: docked to its right edge where it fits
// there, else to its left edge, else over the main window kept inside the area; top-aligned
// with the main window, and always kept inside the area.
ScreenRect HelpDock(const ScreenRect& main, int helpWidth, int helpHeight, const ScreenRect& area);

}  // namespace vantorel
