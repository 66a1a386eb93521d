#include "controls/my_bitmap_tab_ctrl.h"

#include <QMouseEvent>
#include <QPainter>

#include "controls/skin_geometry.h"
#include "controls/skin_image.h"

namespace vantorel {
namespace {
constexpr int kCells = 9;
}

MyBitmapTabCtrl::MyBitmapTabCtrl(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
}

bool MyBitmapTabCtrl::SetBitmap(int resourceId, QRgb transparent) {
  QImage strip = LoadKeyedSkin(resourceId, transparent);
  if (strip.isNull()) return false;
  m_strip = std::move(strip);
  m_cellWidth = LogicalSize(m_strip).width() / kCells;
  m_cellHeight = LogicalSize(m_strip).height();
  resize(m_cellWidth * kTabs, m_cellHeight);
  update();
  return true;
}

void MyBitmapTabCtrl::SetCurSel(int tab) {
  if (tab < 0 || tab >= kTabs) return;
  m_selected = tab;
  if (m_hovered == tab) m_hovered = -1;  // the selected tab never shows hover
  update();
}

int MyBitmapTabCtrl::CellOf(int tab) const {
  return TabCell(tab, tab == m_selected, tab == m_hovered);
}

int MyBitmapTabCtrl::TabAt(QPoint point) const {
  if (m_cellWidth <= 0 || point.y() < 0 || point.y() >= m_cellHeight || point.x() < 0) return -1;
  const int tab = point.x() / m_cellWidth;
  return tab < kTabs ? tab : -1;
}

void MyBitmapTabCtrl::paintEvent(QPaintEvent*) {
  if (m_strip.isNull()) return;
  QPainter painter(this);
  for (int tab = 0; tab < kTabs; ++tab) {
    painter.drawImage(
        QPoint(m_cellWidth * tab, 0), m_strip,
        ToPixels(m_strip, QRect(m_cellWidth * CellOf(tab), 0, m_cellWidth, m_cellHeight)));
  }
}

void MyBitmapTabCtrl::mouseMoveEvent(QMouseEvent* event) {
  int tab = TabAt(event->position().toPoint());
  if (tab == m_selected) tab = -1;
  if (tab != m_hovered) {
    m_hovered = tab;
    update();
  }
}

void MyBitmapTabCtrl::leaveEvent(QEvent*) {
  m_hovered = -1;
  update();
}

void MyBitmapTabCtrl::mousePressEvent(QMouseEvent* event) {
  const int tab = TabAt(event->position().toPoint());
  if (tab < 0 || tab == m_selected || event->button() != Qt::LeftButton) return;
  SetCurSel(tab);
  emit selectionChanged(tab);
}

}  // namespace vantorel
