#pragma once

#include <QImage>
#include <QWidget>

#include "controls/button_logic.h"

class QAccessibleInterface;

namespace vantorel {

// A push button or two-state box drawn entirely from one picture strip, one frame per state.
// It reacts to the mouse only and reports a completed click with its control id.
class MyBitmapButton : public QWidget {
  Q_OBJECT

 public:
  explicit MyBitmapButton(int controlId, QWidget* parent = nullptr);

  // Loads the strip (four frames, or eight for a two-state box) and sizes the button to one
  // frame. A picture that cannot be loaded leaves the button without one; it draws nothing.
  bool SetBitmap(int resourceId, QRgb transparent, bool twoState, bool show);
  // The owner flips a two-state box; the button never changes its own check.
  void SetCheck(int checked);
  int GetCheck() const { return m_checked ? 1 : 0; }
  int ControlId() const { return m_controlId; }
  ButtonState State() const { return m_machine.State(); }
  int FrameIndex() const;
  bool TwoState() const { return m_twoState; }
  // A press made without the mouse, by a screen reader: the same click report a completed
  // click sends, and nothing while the button is disabled.
  void Activate();

 signals:
  void clicked(int controlId);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  int m_controlId;
  ButtonStateMachine m_machine;
  QImage m_strip;
  int m_frameWidth = 0;
  int m_frameHeight = 0;
  bool m_twoState = false;
  bool m_checked = false;
};

// A push button or a check box as a screen reader knows one.
QAccessibleInterface* MakeAccessible(MyBitmapButton* button);

}  // namespace vantorel
