#include "controls/window_drag.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

#include "controls/x11_desktop.h"

namespace vantorel {

WindowDrag::WindowDrag(QWidget* window) : QObject(window), m_window(window) {
  window->installEventFilter(this);
}

void WindowDrag::StartMove() {
  if (m_state != State::kPressed) return;  // a tap: its release was already here
  // Asked after a release, the window system would move the window until the next click: an X
  // server may have the button up before the program has read it, and on Wayland the request
  // would carry the release's serial, which the compositor takes for a held button.
  QWindow* handle = m_window->windowHandle();
  if (FirstButtonAlreadyUp(handle)) return;
  // The window system moves the window where it can: on Wayland nothing else can, and under a
  // compositor that places windows itself a move of the program's own is undone.
  const bool system = handle != nullptr && handle->startSystemMove();
  m_state = system ? State::kSystemMove : State::kOwnMove;
}

bool WindowDrag::eventFilter(QObject* watched, QEvent* event) {
  if (watched != m_window) return false;
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() != Qt::LeftButton) return false;
      m_grab = mouse->globalPosition().toPoint() - m_window->frameGeometry().topLeft();
      m_state = State::kPressed;
      // After the input already read: a release among it makes this press a tap.
      QMetaObject::invokeMethod(this, &WindowDrag::StartMove, Qt::QueuedConnection);
      return true;
    }
    case QEvent::MouseMove: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (m_state != State::kOwnMove || !(mouse->buttons() & Qt::LeftButton)) return false;
      m_window->move(mouse->globalPosition().toPoint() - m_grab);
      return true;
    }
    case QEvent::MouseButtonRelease:
      if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) return false;
      // Once the window system moves the window, the release is its own; one that comes here
      // came before it took the pointer (a quick click, a busy machine).
      if (m_state == State::kSystemMove) CancelSystemMove(m_window->windowHandle());
      m_state = State::kIdle;
      return false;
    default:
      return false;
  }
}

}  // namespace vantorel
