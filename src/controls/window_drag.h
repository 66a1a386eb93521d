#pragma once

#include <QObject>
#include <QPoint>

class QWidget;

namespace vantorel {

// Lets a frameless window be dragged by any point of its own surface (not its controls): by
// the window system where it offers that, else by moving the window with the pointer.
class WindowDrag : public QObject {
 public:
  explicit WindowDrag(QWidget* window);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void StartMove();

  QWidget* m_window;
  QPoint m_grab;
  bool m_pressed = false;     // the button is down, as far as the program has read
  bool m_dragging = false;    // moved by the program
  bool m_systemMove = false;  // asked the window system to move it
};

}  // namespace vantorel
