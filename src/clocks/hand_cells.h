#pragma once

namespace vantorel {

// The three hands' positions, 0..59 minute marks clockwise from 12; the hour hand moves one
// mark every 12 minutes.
struct HandPositions {
  int hour;
  int minute;
  int second;
};
HandPositions PositionsOf(int hour, int minute, int second);

// Which of a strip's 15 cells shows a position and how many quarter turns clockwise it is
// turned: the cells cover one quarter counter-clockwise from 12, whole quarter turns the rest.
struct HandCell {
  int cell;          // 0..14, cell k shows the hand k * 6 degrees counter-clockwise
  int quarterTurns;  // 0..3, clockwise
};
HandCell HandCellFor(int position);

}  // namespace vantorel
