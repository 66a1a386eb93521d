#pragma once

#include <QImage>
#include <QWidget>

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

 signals:
  void selectionChanged(int tab);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  int TabAt(QPoint point) const;

  QImage m_strip;
  int m_cellWidth = 0;
  int m_cellHeight = 0;
  int m_selected = 0;
  int m_hovered = -1;
};

}  // namespace vantorel
