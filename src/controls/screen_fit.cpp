#include "controls/screen_fit.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QWidget>

namespace vantorel {

QRect AvailableAreaFor(const QWidget* window) {
  const QWidget* owner = window->parentWidget() ? window->parentWidget()->window() : window;
  const QScreen* screen = owner->screen();
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableGeometry() : QRect();
}

void CenterOnScreen(QWidget* window) {
  const QRect area = AvailableAreaFor(window);
  if (area.isEmpty()) return;
  const QSize size = window->frameGeometry().size();
  const QPoint at(area.x() + (area.width() - size.width()) / 2,
                  area.y() + (area.height() - size.height()) / 2);
  window->move(at);
}

void ScreenFit::Install() {
  static ScreenFit* fit = nullptr;
  if (fit != nullptr || qApp == nullptr) return;
  fit = new ScreenFit(qApp);
  qApp->installEventFilter(fit);
}

bool ScreenFit::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Show || !watched->isWidgetType()) return false;
  auto* window = static_cast<QWidget*>(watched);
  if (!window->isWindow() || window->parentWidget() == nullptr) return false;
  const QRect area = AvailableAreaFor(window);
  if (area.isEmpty()) return false;
  const QRect frame = window->frameGeometry();
  const ScreenRect kept = KeptInside(ToScreenRect(frame), ToScreenRect(area));
  if (kept.x != frame.x() || kept.y != frame.y()) window->move(kept.x, kept.y);
  return false;
}

}  // namespace vantorel
