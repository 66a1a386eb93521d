#include <gtest/gtest.h>

#include "clocks/hand_cells.h"
#include "controls/button_logic.h"
#include "controls/skin_geometry.h"

namespace vantorel {
namespace {

TEST(ButtonFrameIndex, StateDisabledAndChecked) {
  struct Case {
    bool enabled;
    ButtonState state;
    bool twoState;
    bool checked;
    int frame;
  };
  const Case cases[] = {
      {true, ButtonState::kNormal, false, false, 1},  {true, ButtonState::kHover, false, false, 2},
      {true, ButtonState::kPressed, false, false, 3}, {false, ButtonState::kHover, false, false, 0},
      {true, ButtonState::kHover, false, true, 2},  // a push button has no checked frames
      {true, ButtonState::kHover, true, true, 6},     {false, ButtonState::kPressed, true, true, 4},
      {true, ButtonState::kNormal, true, false, 1},   {true, ButtonState::kPressed, true, true, 7},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ButtonFrameIndex(c.enabled, c.state, c.twoState, c.checked), c.frame)
        << c.enabled << static_cast<int>(c.state) << c.twoState << c.checked;
  }
}

TEST(ButtonStateMachine, OnlyAReleaseAfterAPressInsideClicks) {
  ButtonStateMachine b;
  b.Enter();
  b.Press();
  EXPECT_TRUE(b.Release(true));
  EXPECT_EQ(b.State(), ButtonState::kHover);

  b.Press();
  b.Leave();  // moved out while pressed
  EXPECT_FALSE(b.Release(false));
  EXPECT_EQ(b.State(), ButtonState::kNormal);

  EXPECT_FALSE(b.Release(true));  // a release without a press
  b.Press();
  EXPECT_TRUE(b.Release(false));  // pressed and released outside without a leave first
  EXPECT_EQ(b.State(), ButtonState::kNormal);
}

TEST(ProgressBarLength, FollowsThePositionBetweenTheCaps) {
  struct Case {
    int position;
    std::optional<int> length;
  };
  for (const Case& c : {Case{0, 5}, Case{24, 122}, Case{48, 240}, Case{1, 9}, Case{47, 235},
                        Case{-1, 5}, Case{-100000, 5}, Case{49, 240}, Case{1 << 30, 240}}) {
    EXPECT_EQ(ProgressBarLength(245, c.position, 0, 48), c.length) << c.position;
  }
  EXPECT_EQ(ProgressBarLength(245, 3, 7, 7), std::nullopt);
  EXPECT_EQ(ProgressBarLength(245, 3, 7, 2), std::nullopt);
}

TEST(TabCell, SelectedBeatsHover) {
  EXPECT_EQ(TabCell(1, true, false), 5);
  EXPECT_EQ(TabCell(2, false, true), 7);
  EXPECT_EQ(TabCell(1, true, true), 5);
  EXPECT_EQ(TabCell(0, false, false), 0);
}

TEST(ComboItemNeedsTip, OnlyWhenWiderThanTheItemLessSix) {
  EXPECT_FALSE(ComboItemNeedsTip(94, 100));
  EXPECT_TRUE(ComboItemNeedsTip(95, 100));
  EXPECT_FALSE(ComboItemNeedsTip(0, 100));
}

TEST(HandCells, PositionsAndCells) {
  struct Case {
    int h, m, s;
    HandPositions positions;
  };
  const Case times[] = {{3, 0, 0, {15, 0, 0}},
                        {12, 59, 59, {4, 59, 59}},
                        {15, 36, 0, {18, 36, 0}},
                        {3, 36, 0, {18, 36, 0}},
                        {23, 59, 59, {59, 59, 59}}};
  for (const Case& c : times) {
    const HandPositions p = PositionsOf(c.h, c.m, c.s);
    EXPECT_EQ(p.hour, c.positions.hour) << c.h << ":" << c.m;
    EXPECT_EQ(p.minute, c.positions.minute);
    EXPECT_EQ(p.second, c.positions.second);
  }
  struct CellCase {
    int position;
    int cell;
    int turns;
  };
  const CellCase cells[] = {{0, 0, 0},  {15, 0, 1}, {30, 0, 2},  {45, 0, 3}, {44, 1, 3},
                            {59, 1, 0}, {4, 11, 1}, {18, 12, 2}, {1, 14, 1}, {60, 0, 0}};
  for (const CellCase& c : cells) {
    const HandCell cell = HandCellFor(c.position);
    EXPECT_EQ(cell.cell, c.cell) << c.position;
    EXPECT_EQ(cell.quarterTurns, c.turns) << c.position;
    // Whatever the cell, the hand ends up at position x 6 degrees clockwise.
    EXPECT_EQ(((cell.quarterTurns * 90 - cell.cell * 6) % 360 + 360) % 360, (c.position * 6) % 360)
        << c.position;
  }
}

// The help beside a 640 x 600 main window on a 1366 x 768 laptop screen, the main window in
// each corner, and on a 1024 x 768 screen where it fits on neither side.
TEST(HelpDock, RightElseLeftElseOverTheWindowAlwaysOnTheScreen) {
  constexpr int kW = 593;
  constexpr int kH = 630;
  const ScreenRect laptop{0, 0, 1366, 768};
  struct Case {
    ScreenRect main;
    ScreenRect area;
    ScreenRect help;
  };
  const Case cases[] = {
      {{0, 0, 640, 600}, laptop, {640, 0, kW, kH}},
      {{726, 0, 640, 600}, laptop, {133, 0, kW, kH}},
      {{0, 168, 640, 600}, laptop, {640, 138, kW, kH}},
      {{726, 168, 640, 600}, laptop, {133, 138, kW, kH}},
      {{192, 84, 640, 600}, {0, 0, 1024, 768}, {192, 84, kW, kH}},
      // A second screen to the right, with a panel along its top.
      {{1400, 60, 640, 600}, {1366, 30, 1920, 1050}, {2040, 60, kW, kH}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HelpDock(c.main, kW, kH, c.area), c.help) << c.main.x << "," << c.main.y;
  }
}

TEST(KeptInside, MovesIntoTheAreaNeverResizes) {
  const ScreenRect area{0, 24, 1366, 744};
  struct Case {
    ScreenRect window;
    ScreenRect kept;
  };
  const Case cases[] = {
      {{100, 100, 460, 260}, {100, 100, 460, 260}},
      {{1200, 700, 460, 260}, {906, 508, 460, 260}},
      {{-50, 0, 460, 260}, {0, 24, 460, 260}},
      {{-50, -50, 2000, 900}, {0, 24, 2000, 900}},  // too large: its top left stays inside
  };
  for (const Case& c : cases) EXPECT_EQ(KeptInside(c.window, area), c.kept) << c.window.x;
}

}  // namespace
}  // namespace vantorel
