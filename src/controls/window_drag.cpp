#include "controls/window_drag.h"

#include <QMouseEvent>
#include <QWidget>

namespace vantorel {

WindowDrag::WindowDrag(QWidget* window) : QObject(window), m_window(window) {
  window->installEventFilter(this);
}

bool WindowDrag::eventFilter(QObject* watched, QEvent* event) {
  if (watched != m_window) return false;
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() != Qt::LeftButton) return false;
      m_grab = mouse->globalPosition().toPoint() - m_window->frameGeometry().topLeft();
      m_dragging = true;
      return true;
    }
    case QEvent::MouseMove: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (!m_dragging || !(mouse->buttons() & Qt::LeftButton)) return false;
      m_window->move(mouse->globalPosition().toPoint() - m_grab);
      return true;
    }
    case QEvent::MouseButtonRelease:
      m_dragging = false;
      return false;
    default:
      return false;
  }
}

}  // namespace vantorel
