#pragma once

#include <QImage>
#include <QWidget>

#include "controls/skin_geometry.h"

class QAccessibleInterface;

namespace vantorel {

// A trough picture with a bar picture whose visible length follows the position; a second
// bar picture may be chosen by the bar mode.
class MyBitmapProgress : public QWidget {
 public:
  explicit MyBitmapProgress(QWidget* parent = nullptr);

  // alternativeId 0: none. Sizes the control to the trough and shows it.
  bool SetBitmaps(int troughId, int barId, int alternativeId, QRgb transparent);
  void SetRange(int lower, int upper);
  void SetPos(int position);
  void SetBarMode(BarMode mode);
  int Pos() const { return m_position; }
  int Lower() const { return m_lower; }
  int Upper() const { return m_upper; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage m_trough;
  QImage m_bar;
  QImage m_alternative;
  int m_lower = 0;
  int m_upper = 100;
  int m_position = 0;
  BarMode m_mode = BarMode::kNormal;
};

// A progress bar with its value and range.
QAccessibleInterface* MakeAccessible(MyBitmapProgress* progress);

}  // namespace vantorel
