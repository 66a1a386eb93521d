#pragma once

#include <QImage>
#include <QWidget>

#include "platform/system_time.h"

namespace vantorel {

// The clock face: a dial and three hands, each hand one of 60 positions taken from its strip
// of 15 cells by whole quarter turns. It keeps no time: the owner sets it on every tick.
class AnalogClock : public QWidget {
 public:
  explicit AnalogClock(QWidget* parent = nullptr);

  // Loads the pictures and sizes the control to the dial; false (and not prepared) when one
  // is missing.
  bool Prepare();
  bool IsPrepared() const { return m_prepared; }
  void Start();
  void Stop();
  // Hour, minute and second only; with no time, or while stopped, 0:00:00.
  void SetTime(const platform::SystemTime* time);
  void Redraw() { update(); }

  // The composed face and one hand's current rendering, for inspection.
  const QImage& Frame() const { return m_frame; }
  const QImage& HandPicture(int hand) const { return m_hands[hand]; }
  int HandPosition(int hand) const { return m_last[hand]; }
  // How many times each hand was rendered since preparation.
  int RenderCount(int hand) const { return m_renders[hand]; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void RenderHand(int hand, int position);
  void Compose();

  bool m_prepared = false;
  bool m_stopped = true;
  QImage m_dial;
  QImage m_strips[3];
  QImage m_hands[3];
  QImage m_frame;
  int m_last[3] = {-1, -1, -1};
  int m_renders[3] = {0, 0, 0};
};

}  // namespace vantorel
