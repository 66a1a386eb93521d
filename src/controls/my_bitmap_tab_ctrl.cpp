#include "controls/my_bitmap_tab_ctrl.h"

#include <QAccessibleWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

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
  const int was = m_selected;
  m_selected = tab;
  if (m_hovered == tab) m_hovered = -1;  // the selected tab never shows hover
  update();
  if (was == tab || !QAccessible::isActive()) return;
  QAccessibleInterface* list = QAccessible::queryAccessibleInterface(this);
  for (const int changed : {was, tab}) {
    QAccessible::State selected;
    selected.selected = true;
    QAccessibleStateChangeEvent event(list->child(changed), selected);
    QAccessible::updateAccessibility(&event);
  }
}

void MyBitmapTabCtrl::Choose(int tab) {
  if (tab < 0 || tab >= kTabs || tab == m_selected || !isEnabled()) return;
  SetCurSel(tab);
  emit selectionChanged(tab);
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
  if (event->button() == Qt::LeftButton) Choose(TabAt(event->position().toPoint()));
}

namespace {

// One tab of the strip: not a widget of its own, so it answers through its list.
class AccessibleTab : public QAccessibleInterface, public QAccessibleActionInterface {
 public:
  AccessibleTab(MyBitmapTabCtrl* tabs, int tab) : m_tabs(tabs), m_tab(tab) {}

  bool isValid() const override { return !m_tabs.isNull(); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return m_tabs ? m_tabs->window()->windowHandle() : nullptr; }
  QAccessibleInterface* parent() const override {
    return QAccessible::queryAccessibleInterface(m_tabs.data());
  }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Name && m_tabs ? m_tabs->TabName(m_tab) : QString();
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    if (!m_tabs) return {};
    const QRect local = m_tabs->TabRect(m_tab);
    return QRect(m_tabs->mapToGlobal(local.topLeft()), local.size());
  }
  QAccessible::Role role() const override { return QAccessible::PageTab; }
  QAccessible::State state() const override {
    QAccessible::State state;
    if (!m_tabs) return state;
    state.selectable = true;
    state.selected = m_tabs->GetCurSel() == m_tab;
    state.disabled = !m_tabs->isEnabled();
    state.invisible = !m_tabs->isVisible();
    return state;
  }
  void* interface_cast(QAccessible::InterfaceType type) override {
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                : nullptr;
  }
  QStringList actionNames() const override { return {pressAction()}; }
  void doAction(const QString& action) override {
    if (action == pressAction() && m_tabs) m_tabs->Choose(m_tab);
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

 private:
  QPointer<MyBitmapTabCtrl> m_tabs;
  int m_tab;
};

class AccessibleTabList : public QAccessibleWidget {
 public:
  explicit AccessibleTabList(MyBitmapTabCtrl* tabs)
      : QAccessibleWidget(tabs, QAccessible::PageTabList) {
    for (int tab = 0; tab < MyBitmapTabCtrl::kTabs; ++tab) {
      m_tabs[tab] = QAccessible::registerAccessibleInterface(new AccessibleTab(tabs, tab));
    }
  }
  ~AccessibleTabList() override {
    for (const QAccessible::Id id : m_tabs) QAccessible::deleteAccessibleInterface(id);
  }
  int childCount() const override { return MyBitmapTabCtrl::kTabs; }
  QAccessibleInterface* child(int index) const override {
    return index >= 0 && index < MyBitmapTabCtrl::kTabs
               ? QAccessible::accessibleInterface(m_tabs[index])
               : nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    for (int tab = 0; tab < MyBitmapTabCtrl::kTabs; ++tab) {
      if (QAccessible::accessibleInterface(m_tabs[tab]) == child) return tab;
    }
    return -1;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    for (int tab = 0; tab < MyBitmapTabCtrl::kTabs; ++tab) {
      if (child(tab)->rect().contains(x, y)) return child(tab);
    }
    return nullptr;
  }

 private:
  QAccessible::Id m_tabs[MyBitmapTabCtrl::kTabs] = {};
};

}  // namespace

QAccessibleInterface* MakeAccessible(MyBitmapTabCtrl* tabs) {
  return new AccessibleTabList(tabs);
}

}  // namespace vantorel
