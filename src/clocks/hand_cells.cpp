#include "clocks/hand_cells.h"

namespace vantorel {
namespace {
constexpr int kMarks = 60;
constexpr int kMarksPerQuarter = 15;
}  // namespace

HandPositions PositionsOf(int hour, int minute, int second) {
  return HandPositions{(hour % 12) * 5 + minute / 12, minute, second};
}

HandCell HandCellFor(int position) {
  const int p = ((position % kMarks) + kMarks) % kMarks;
  int quarter = p / kMarksPerQuarter;
  const int rest = p % kMarksPerQuarter;
  int cell = 0;
  if (rest != 0) {
    cell = kMarksPerQuarter - rest;
  } else {
    quarter = quarter == 0 ? 3 : quarter - 1;
  }
  // Quarter q turns by 90 degrees x (q + 1): q = 3 is no turn at all.
  return HandCell{cell, (quarter + 1) % 4};
}

}  // namespace vantorel
