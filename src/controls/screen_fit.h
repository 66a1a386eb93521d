#pragma once

#include <QObject>
#include <QRect>

#include "controls/skin_geometry.h"

class QWidget;

namespace vantorel {

// The geometry's own form of a rectangle.
inline ScreenRect ToScreenRect(const QRect& r) {
  return {r.x(), r.y(), r.width(), r.height()};
}

// The available part of the screen a window belongs on: its owner's, else its own.
QRect AvailableAreaFor(const QWidget* window);

// Puts a window that has no owner in the middle of its screen's available area. Called before
// anything makes its native window (the shadow does): a native window made at the origin keeps
// the origin as a place it believes it holds, and the window manager's report of a move to the
// screen's corner then reads as no move at all, so whatever follows the window (the help)
// stays behind.
void CenterOnScreen(QWidget* window);

// Keeps each window the program opens with an owner (dialogs, message boxes, the help, lists
// and tips) wholly on its owner's screen, whenever it is shown. Windows without one are the
// window manager's to move. Where the window system does not let programs place windows,
// the move is simply not taken.
class ScreenFit : public QObject {
 public:
  // Watches every window of the application from now on.
  static void Install();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  using QObject::QObject;
};

}  // namespace vantorel
