#include "clocks/analog_clock.h"

#include <QPainter>
#include <QTransform>

#include "clocks/hand_cells.h"
#include "controls/skin_image.h"
#include "res/resource_ids.h"
#include "res/skin_catalog.h"
#include "res/skins.h"

namespace vantorel {
namespace {
constexpr int kColumns = 5;
constexpr int kRows = 3;
// The hand pictures' outermost pixels carry the strips' frame line: left out.
constexpr int kEdge = 2;
const QRgb kHandKey = static_cast<QRgb>(res::kKeyHandStrip);
}  // namespace

AnalogClock::AnalogClock(QWidget* parent) : QWidget(parent) {}

bool AnalogClock::Prepare() {
  const int strips[3] = {res::kHourHand, res::kMinuteHand, res::kSecondHand};
  for (int hand = 0; hand < 3; ++hand) {
    m_strips[hand] = LoadKeyedSkin(strips[hand], kHandKey);
    if (m_strips[hand].isNull()) return false;
  }
  m_dial = LoadSkin(res::kClockDial);
  if (m_dial.isNull()) return false;
  resize(LogicalSize(m_dial));
  show();
  m_frame = m_dial.convertToFormat(QImage::Format_RGB32);
  for (int& last : m_last) last = -1;
  m_prepared = true;
  SetTime(nullptr);
  return true;
}

void AnalogClock::Start() {
  if (!m_prepared) Prepare();
  m_stopped = false;
}

void AnalogClock::Stop() {
  m_stopped = true;
  SetTime(nullptr);
  Redraw();
}

void AnalogClock::SetTime(const platform::SystemTime* time) {
  if (!m_prepared) return;
  const bool zero = time == nullptr || m_stopped;
  const HandPositions p =
      zero ? PositionsOf(0, 0, 0) : PositionsOf(time->wHour, time->wMinute, time->wSecond);
  const int positions[3] = {p.hour, p.minute, p.second};
  for (int hand = 0; hand < 3; ++hand) {
    if (positions[hand] != m_last[hand]) {
      RenderHand(hand, positions[hand]);
      m_last[hand] = positions[hand];
    }
  }
  Compose();
}

void AnalogClock::RenderHand(int hand, int position) {
  const QImage& strip = m_strips[hand];
  const int w = strip.width() / kColumns;
  const int h = strip.height() / kRows;
  const HandCell cell = HandCellFor(position);
  const QImage source = strip.copy((cell.cell % kColumns) * w, (cell.cell / kColumns) * h, w, h);
  // Whole quarter turns are exact pixel moves: no resampling, no trigonometry.
  m_hands[hand] = source.transformed(QTransform().rotate(90.0 * cell.quarterTurns));
  m_hands[hand].setDevicePixelRatio(strip.devicePixelRatio());
  ++m_renders[hand];
}

void AnalogClock::Compose() {
  m_frame = m_dial.convertToFormat(QImage::Format_RGB32);
  QPainter painter(&m_frame);
  const QSize size = LogicalSize(m_frame);
  const QRect inner(kEdge, kEdge, size.width() - 2 * kEdge, size.height() - 2 * kEdge);
  for (const QImage& hand : m_hands) painter.drawImage(inner, hand, ToPixels(hand, inner));
}

void AnalogClock::paintEvent(QPaintEvent*) {
  if (!m_prepared && !Prepare()) return;
  QPainter painter(this);
  painter.drawImage(QPoint(0, 0), m_frame);
}

}  // namespace vantorel
