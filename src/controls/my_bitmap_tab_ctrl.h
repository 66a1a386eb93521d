#pragma once

#include <QImage>
#include <QStringList>
#include <QWidget>

class QAccessibleInterface;

namespace vantorel {

// Three tabs drawn from one nine-cell strip (normal, hover, selected per tab).
class MyBitmapTabCtrl : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kTabs = 3;

  explicit MyBitmapTabCtrl(QWidget* parent = nullptr);

  bool SetBitmap(int resourceId, QRgb transparent);
  void SetCurSel(int tab);
  int GetCurSel() const { return m_selected; }
  int HoveredTab() const { return m_hovered; }
  // The strip cell each tab shows now.
  int CellOf(int tab) const;
  // The tabs' names, for a screen reader: the strip draws them.
  void SetTabNames(const QStringList& names) { m_names = names; }
  QString TabName(int tab) const { return m_names.value(tab); }
  QRect TabRect(int tab) const { return QRect(m_cellWidth * tab, 0, m_cellWidth, m_cellHeight); }
  // A tab chosen as a click chooses it: the selection moves and the owner is told.
  void Choose(int tab);

 signals:
  void selectionChanged(int tab);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  int TabAt(QPoint point) const;

  QStringList m_names;
  QImage m_strip;
  int m_cellWidth = 0;
  int m_cellHeight = 0;
  int m_selected = 0;
  int m_hovered = -1;
};

// A page tab list of three page tabs.
QAccessibleInterface* MakeAccessible(MyBitmapTabCtrl* tabs);

}  // namespace vantorel
