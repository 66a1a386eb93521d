#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QtMath>

#include "clocks/analog_clock.h"
#include "controls/my_bitmap_button.h"
#include "controls/my_bitmap_progress.h"
#include "controls/my_bitmap_tab_ctrl.h"
#include "controls/skin_image.h"
#include "res/resource_ids.h"
#include "res/skin_catalog.h"
#include "res/skins.h"
#include "support/times.h"

namespace vantorel {
namespace {

const QRgb kRed = qRgb(255, 0, 0);

// A mouse move delivered straight to the widget; QTest's moves go through the cursor, which
// an offscreen platform may not track.
void MoveTo(QWidget& widget, QPoint point, Qt::MouseButtons held = Qt::NoButton) {
  QMouseEvent move(QEvent::MouseMove, QPointF(point), widget.mapToGlobal(QPointF(point)),
                   Qt::NoButton, held, Qt::NoModifier);
  QApplication::sendEvent(&widget, &move);
}

// A parent of known colour, so grabbed pixels are the control's own or this.
struct Board {
  QWidget widget;
  Board() {
    widget.resize(700, 300);
    widget.setAutoFillBackground(true);
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(10, 20, 30));
    widget.setPalette(palette);
    widget.show();
  }
};

TEST(MyBitmapButton, SizeAndFrames) {
  Board board;
  MyBitmapButton add(1010, &board.widget);
  ASSERT_TRUE(add.SetBitmap(res::kAddButtonEn, qRgb(0, 0, 0), false, true));
  EXPECT_EQ(add.size(), QSize(64, 18));
  EXPECT_EQ(add.FrameIndex(), 1);

  MyBitmapButton box(1039, &board.widget);
  ASSERT_TRUE(box.SetBitmap(res::kCheckBox, kRed, true, true));
  EXPECT_EQ(box.size(), QSize(16, 17));
  box.SetCheck(1);
  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
  QApplication::sendEvent(&box, &enter);
  EXPECT_EQ(box.FrameIndex(), 6);
  box.setEnabled(false);
  EXPECT_EQ(box.FrameIndex(), 4);
  // The face on screen is that frame of the strip.
  const QImage strip = LoadKeyedSkin(res::kCheckBox, kRed);
  const QImage face = box.grab().toImage();
  EXPECT_EQ(face.pixel(8, 8), strip.pixel(4 * 16 + 8, 8));

  MyBitmapButton missing(5, &board.widget);
  missing.resize(30, 30);
  EXPECT_FALSE(missing.SetBitmap(9999, kRed, false, true));
  EXPECT_EQ(missing.size(), QSize(30, 30));
}

TEST(MyBitmapButton, ClicksOnlyFromAPressReleasedInside) {
  Board board;
  MyBitmapButton button(1004, &board.widget);
  ASSERT_TRUE(button.SetBitmap(res::kCalibrateButtonEn, kRed, false, true));
  QSignalSpy clicks(&button, &MyBitmapButton::clicked);

  QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_EQ(button.State(), ButtonState::kPressed);
  MoveTo(button, QPoint(-20, -20), Qt::LeftButton);
  QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(-20, -20));
  EXPECT_EQ(clicks.count(), 0);
  EXPECT_EQ(button.State(), ButtonState::kNormal);

  QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
  QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(12, 10));
  ASSERT_EQ(clicks.count(), 1);
  EXPECT_EQ(clicks.at(0).at(0).toInt(), 1004);
  EXPECT_EQ(button.State(), ButtonState::kHover);

  // A double-click gives the pressed face, and its release clicks.
  QMouseEvent doubleClick(QEvent::MouseButtonDblClick, QPointF(10, 10),
                          button.mapToGlobal(QPointF(10, 10)), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
  QApplication::sendEvent(&button, &doubleClick);
  EXPECT_EQ(button.State(), ButtonState::kPressed);
  QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_EQ(clicks.count(), 2);

  const int before = static_cast<int>(clicks.count());
  button.setFocus();
  for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter, Qt::Key_A})
    QTest::keyClick(&button, key);
  EXPECT_EQ(clicks.count(), before);

  // A screen reader's press is one click, made once its call has returned; none while
  // the button is disabled.
  QAccessibleActionInterface* actions =
      QAccessible::queryAccessibleInterface(&button)->actionInterface();
  actions->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(clicks.count(), before);
  QTest::qWait(20);
  EXPECT_EQ(clicks.count(), before + 1);
  button.setEnabled(false);
  actions->doAction(QAccessibleActionInterface::pressAction());
  QTest::qWait(20);
  EXPECT_EQ(clicks.count(), before + 1);
}

// Bar length as the screen shows it: the bar's right end lands at x = 5 + length - 1, less
// the columns its rounded end leaves transparent.
int GrabbedBarLength(MyBitmapProgress& progress, const QImage& trough, const QImage& bar) {
  const QImage shown = progress.grab().toImage().convertToFormat(QImage::Format_RGB32);
  const int y = shown.height() / 2;
  int last = -1;
  for (int x = 0; x < shown.width(); ++x) {
    if ((shown.pixel(x, y) & 0xFFFFFF) != (trough.pixel(x, y) & 0xFFFFFF)) last = x;
  }
  int clearEnd = 0;
  while (qAlpha(bar.pixel(bar.width() - 1 - clearEnd, y)) == 0) ++clearEnd;
  return last + clearEnd - 5 + 1;
}

TEST(MyBitmapProgress, BarLengthFollowsThePosition) {
  Board board;
  MyBitmapProgress progress(&board.widget);
  ASSERT_TRUE(progress.SetBitmaps(res::kProgressTrough, res::kProgressBar,
                                  res::kProgressBarAlternative, qRgb(255, 255, 255)));
  EXPECT_EQ(progress.size(), QSize(245, 13));
  progress.SetRange(0, 48);
  const QImage trough = LoadSkin(res::kProgressTrough).convertToFormat(QImage::Format_RGB32);
  const QImage bar = LoadKeyedSkin(res::kProgressBar, qRgb(255, 255, 255));
  struct Case {
    int position;
    int length;
  };
  QAccessibleValueInterface* value =
      QAccessible::queryAccessibleInterface(&progress)->valueInterface();
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(value->maximumValue().toInt(), 48);
  for (const Case& c : {Case{0, 5}, Case{24, 122}, Case{48, 240}, Case{60, 240}, Case{-1, 5}}) {
    progress.SetPos(c.position);
    EXPECT_EQ(GrabbedBarLength(progress, trough, bar), c.length) << c.position;
    EXPECT_EQ(value->currentValue().toInt(), c.position);
  }
  progress.SetPos(24);
  const QImage ordinary = progress.grab().toImage();
  progress.SetBarMode(BarMode::kAlternative);
  EXPECT_NE(progress.grab().toImage(), ordinary);  // the alternative bar
  progress.SetRange(48, 0);                        // reversed: not even the trough
  const QImage reversed = progress.grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_NE(reversed.pixel(120, 6) & 0xFFFFFF, trough.pixel(120, 6) & 0xFFFFFF);
}

// The desktop shows through a skinned window's corners where its pixels are composited: the
// corner clear, the curve's edge part-covered, the rest as drawn, at either scale.
TEST(SkinImage, RoundCornersClearTheCornersOnly) {
  for (const qreal scale : {1.0, 2.0}) {
    QImage picture(QSize(100, 60) * scale, QImage::Format_RGB32);
    picture.setDevicePixelRatio(scale);
    picture.fill(QColor(30, 40, 50));
    const QImage rounded = WithRoundCorners(picture, 16);
    EXPECT_EQ(rounded.size(), picture.size());
    EXPECT_EQ(rounded.devicePixelRatio(), scale);
    auto alpha = [&](int x, int y) { return qAlpha(rounded.pixel(x, y)); };
    const int w = rounded.width() - 1;
    const int h = rounded.height() - 1;
    for (const auto& [x, y] : {std::pair{0, 0}, {w, 0}, {0, h}, {w, h}}) {
      EXPECT_EQ(alpha(x, y), 0) << scale << " " << x << "," << y;
    }
    EXPECT_EQ(alpha(rounded.width() / 2, 0), 255);  // a straight edge stays whole
    EXPECT_EQ(alpha(0, rounded.height() / 2), 255);
    EXPECT_EQ(rounded.pixel(rounded.width() / 2, rounded.height() / 2), qRgb(30, 40, 50));
    const int edge = alpha(qRound(2 * scale), qRound(2 * scale));  // on the curve
    EXPECT_GT(edge, 0) << scale;
    EXPECT_LT(edge, 255) << scale;
  }
}

TEST(MyBitmapTabCtrl, CellsFollowSelectionAndHover) {
  Board board;
  MyBitmapTabCtrl tabs(&board.widget);
  ASSERT_TRUE(tabs.SetBitmap(res::kTabStripEn, kRed));
  EXPECT_EQ(tabs.size(), QSize(309, 30));
  QSignalSpy changes(&tabs, &MyBitmapTabCtrl::selectionChanged);
  tabs.SetCurSel(1);
  MoveTo(tabs, QPoint(103 * 2 + 10, 10));
  EXPECT_EQ(tabs.CellOf(1), 5);
  EXPECT_EQ(tabs.CellOf(2), 7);
  EXPECT_EQ(tabs.CellOf(0), 0);
  MoveTo(tabs, QPoint(103 + 10, 10));  // over the selected tab: no hover
  EXPECT_EQ(tabs.HoveredTab(), -1);
  QTest::mouseClick(&tabs, Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_EQ(tabs.GetCurSel(), 0);
  ASSERT_EQ(changes.count(), 1);
  EXPECT_EQ(changes.at(0).at(0).toInt(), 0);
}

bool IsSecondHandColour(QRgb p) {
  return qRed(p) > 200 && qGreen(p) > 130 && qGreen(p) < 210 && qBlue(p) < 130;
}

TEST(AnalogClock, HandsPointAtTheirPositions) {
  Board board;
  AnalogClock clock(&board.widget);
  ASSERT_TRUE(clock.Prepare());
  clock.Start();
  EXPECT_EQ(clock.size(), QSize(228, 228));
  for (const int second : {0, 7, 15, 22, 30, 44, 45, 59}) {
    const platform::SystemTime t =
        test::MakeTime(2026, 12, 9, 10, 10, static_cast<uint16_t>(second));
    clock.SetTime(&t);
    const QImage frame = clock.Frame();
    const qreal a = qDegreesToRadians(second * 6.0);
    // The hand's colour within a pixel of the point at that radius and angle.
    const auto handNear = [&](qreal radius, qreal angle) {
      const int x = qRound(114 + radius * qSin(angle));
      const int y = qRound(114 - radius * qCos(angle));
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
          if (IsSecondHandColour(frame.pixel(x + dx, y + dy))) return true;
        }
      }
      return false;
    };
    for (const qreal radius : {65.0, 75.0, 85.0}) {
      EXPECT_TRUE(handNear(radius, a)) << second << " at " << radius;
      EXPECT_FALSE(handNear(radius, a + M_PI)) << second << " opposite";
      EXPECT_FALSE(handNear(radius, a + M_PI / 6)) << second << " 30 degrees on";
    }
  }
}

TEST(AnalogClock, RendersAHandOnlyWhenItMovesAndShowsZeroWhenStopped) {
  Board board;
  AnalogClock clock(&board.widget);
  ASSERT_TRUE(clock.Prepare());  // shows 0:00:00: all three rendered once
  EXPECT_EQ(clock.RenderCount(0), 1);
  clock.Start();
  const platform::SystemTime t1 = test::MakeTime(2026, 1, 1, 12, 59, 58);
  const platform::SystemTime t2 = test::MakeTime(2026, 1, 1, 12, 59, 59);
  clock.SetTime(&t1);
  clock.SetTime(&t2);
  EXPECT_EQ(clock.HandPosition(0), 4);
  EXPECT_EQ(clock.HandPosition(1), 59);
  EXPECT_EQ(clock.HandPosition(2), 59);
  EXPECT_EQ(clock.RenderCount(0), 2);
  EXPECT_EQ(clock.RenderCount(1), 2);
  EXPECT_EQ(clock.RenderCount(2), 3);
  clock.Stop();
  clock.SetTime(&t2);
  EXPECT_EQ(clock.HandPosition(0), 0);
  EXPECT_EQ(clock.HandPosition(2), 0);
}

}  // namespace
}  // namespace vantorel
