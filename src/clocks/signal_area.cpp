#include "clocks/signal_area.h"

#include <QAccessibleWidget>
#include <QPainter>

#include "controls/skin_image.h"
#include "controls/ui_call.h"
#include "res/skins.h"

namespace vantorel {

SignalArea::SignalArea(QWidget* parent, const platform::Clock& clock)
    : QWidget(parent), m_transmitter(clock) {
  setAttribute(Qt::WA_OpaquePaintEvent);  // the level covers the whole area: nothing to erase
  m_transmitter.SetView(this);
}

SignalArea::~SignalArea() {
  m_closing = true;
  m_transmitter.SetView(nullptr);
}

bool SignalArea::LoadLevelBitmaps(int level0Id, int level1Id) {
  // In the window's own pixel format a step's copy is a plain copy, with no conversion.
  m_levels[0] = LoadSkin(level0Id).convertToFormat(QImage::Format_RGB32);
  m_levels[1] = LoadSkin(level1Id).convertToFormat(QImage::Format_RGB32);
  if (m_levels[0].isNull() || m_levels[1].isNull()) return false;
  resize(LogicalSize(m_levels[1]));
  return true;
}

void SignalArea::ShowLevel(int level, SteadyClock::time_point due) {
  // repaint(), not update(): each step reaches the screen on its own, never merged with the
  // next one. The wait for the due time is on this window's thread, so the hop to it is made
  // while there is time to spare.
  CallOnObjectThread(
      this,
      [this, level, due] {
        WaitUntilDue(due);
        m_shown = level;
        repaint();
      },
      m_closing);
}

void SignalArea::RequestRepaint() {
  if (m_closing) return;
  QMetaObject::invokeMethod(
      this,
      [this] {
        m_shown = m_transmitter.CurrentLevel();
        update();
      },
      Qt::QueuedConnection);
}

void SignalArea::paintEvent(QPaintEvent*) {
  if (m_levels[0].isNull() || m_levels[1].isNull()) return;
  const int level = m_shown != 0 ? 1 : 0;
  QPainter painter(this);
  painter.drawImage(rect(), m_levels[level], ToPixels(m_levels[level], rect()));
  m_painted = level;
}

void SignalArea::SetFlashing(bool flashing) {
  if (flashing == m_flashing) return;
  m_flashing = flashing;
  QAccessible::State busy;
  busy.busy = true;
  QAccessibleStateChangeEvent changed(this, busy);
  QAccessible::updateAccessibility(&changed);
}

namespace {

class AccessibleSignalArea : public QAccessibleWidget {
 public:
  explicit AccessibleSignalArea(SignalArea* area)
      : QAccessibleWidget(area, QAccessible::Animation) {}
  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.busy = static_cast<SignalArea*>(widget())->Flashing();
    return state;
  }
};

}  // namespace

QAccessibleInterface* MakeAccessible(SignalArea* area) {
  return new AccessibleSignalArea(area);
}

}  // namespace vantorel
