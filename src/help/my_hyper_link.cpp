#include "help/my_hyper_link.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QMouseEvent>

namespace vantorel {

MyHyperLink::MyHyperLink(int controlId, QWidget* parent) : QLabel(parent), m_controlId(controlId) {
  setCursor(Qt::PointingHandCursor);
  setMouseTracking(true);
  setTextFormat(Qt::PlainText);
  m_watch.setInterval(kHoverWatchMs);
  m_watch.setTimerType(Qt::CoarseTimer);
  connect(&m_watch, &QTimer::timeout, this, &MyHyperLink::WatchHover);
  m_opener = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
  ApplyLook();
}

void MyHyperLink::SetLinkUrl(const QString& url) {
  m_url = url;
  setToolTip(url);
  if (text().isEmpty()) setText(url);
}

void MyHyperLink::SetLinkColors(QColor link, QColor visited, QColor hover) {
  m_link = link;
  m_visitedColour = visited;
  m_hover = hover.isValid() ? hover : palette().color(QPalette::Highlight);
  ApplyLook();
}

void MyHyperLink::SetBackColor(QColor colour) {
  QPalette look = palette();
  look.setColor(QPalette::Window, colour);
  setPalette(look);
  setAutoFillBackground(true);
}

void MyHyperLink::MarkVisited(bool visited) {
  m_visited = visited;
  ApplyLook();
}

void MyHyperLink::SetUnderlineMode(int mode) {
  if (mode == m_underline) return;
  m_underline = mode;
  ApplyLook();
}

void MyHyperLink::SetLinkText(const QString& text) {
  setText(text);
  adjustSize();
}

QColor MyHyperLink::TextColour() const {
  return m_hovering ? m_hover : m_visited ? m_visitedColour : m_link;
}

void MyHyperLink::ApplyLook() {
  QFont look = font();
  look.setUnderline(m_underline == 1 || (m_underline == -1 && m_hovering));
  setFont(look);
  QPalette colours = palette();
  colours.setColor(QPalette::WindowText, TextColour());
  setPalette(colours);
  update();
}

void MyHyperLink::StartHover() {
  if (m_hovering) return;
  m_hovering = true;
  ApplyLook();
  m_watch.start();
}

// The mouse may leave without a leave event reaching the label (a fast move, another
// window over it); the watch notices it all the same.
void MyHyperLink::WatchHover() {
  if (rect().contains(mapFromGlobal(QCursor::pos()))) return;
  m_hovering = false;
  m_watch.stop();
  ApplyLook();
}

void MyHyperLink::enterEvent(QEnterEvent*) {
  StartHover();
}
void MyHyperLink::mouseMoveEvent(QMouseEvent*) {
  StartHover();
}

void MyHyperLink::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) Click();
}

void MyHyperLink::Click() {
  m_hovering = false;
  // An empty address counts as a visit, as the platform's own open does.
  const bool opened = !m_openOnClick || m_url.isEmpty() || m_opener(QUrl(m_url));
  if (opened) {
    m_visited = true;
  } else {
    QApplication::beep();
  }
  ApplyLook();
  if (m_notifyParent && parentWidget() != nullptr) emit linkClicked(m_controlId);
}

}  // namespace vantorel
