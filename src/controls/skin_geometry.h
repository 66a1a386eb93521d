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

}  // namespace vantorel
