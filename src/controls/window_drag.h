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

  enum class State {
    kIdle,
    kPressed,     // the button is down, as far as the program has read
    kSystemMove,  // the window system was asked to move the window
    kOwnMove,     // the program moves it with the pointer
  };

  QWidget* m_window;
  QPoint m_grab;
  State m_state = State::kIdle;
};

}  // namespace vantorel
