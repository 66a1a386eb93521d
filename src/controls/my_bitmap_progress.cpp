#include "controls/my_bitmap_progress.h"

#include <QAccessibleWidget>
#include <QPainter>

#include "controls/skin_geometry.h"
#include "controls/skin_image.h"
#include "res/skins.h"

namespace vantorel {
namespace {
constexpr int kCapWidth = 5;
}

MyBitmapProgress::MyBitmapProgress(QWidget* parent) : QWidget(parent) {}

bool MyBitmapProgress::SetBitmaps(int troughId, int barId, int alternativeId, QRgb transparent) {
  m_trough = QImage();
  m_bar = QImage();
  m_alternative = QImage();
  m_trough = LoadSkin(troughId);
  if (m_trough.isNull()) return false;
  m_bar = LoadKeyedSkin(barId, transparent);
  if (m_bar.isNull()) return false;
  if (alternativeId != 0) m_alternative = LoadKeyedSkin(alternativeId, transparent);
  resize(LogicalSize(m_trough));
  show();
  update();
  return true;
}

void MyBitmapProgress::SetRange(int lower, int upper) {
  m_lower = lower;
  m_upper = upper;
  update();
}

void MyBitmapProgress::SetPos(int position) {
  if (position == m_position) return;
  m_position = position;
  update();
  QAccessibleValueChangeEvent changed(this, position);
  QAccessible::updateAccessibility(&changed);
}

void MyBitmapProgress::SetBarMode(BarMode mode) {
  m_mode = mode;
  update();
}

void MyBitmapProgress::paintEvent(QPaintEvent*) {
  if (m_trough.isNull() || m_bar.isNull() || m_upper < m_lower) return;
  const int w = width();
  const int h = height();
  QPainter painter(this);
  painter.drawImage(QRect(0, 0, w, h), m_trough);
  const QImage& bar =
      (!m_alternative.isNull() && m_mode == BarMode::kAlternative) ? m_alternative : m_bar;
  painter.drawImage(QRect(0, 0, kCapWidth, h), bar, ToPixels(bar, QRect(0, 0, kCapWidth, h)));
  // The bar always ends in the picture's right end: its rightmost columns are shown.
  if (const auto length = ProgressBarLength(w, m_position, m_lower, m_upper);
      length && *length > 0) {
    const int l = qMin(*length, w - kCapWidth);
    painter.drawImage(QRect(kCapWidth, 0, l, h), bar, ToPixels(bar, QRect(w - l, 0, l, h)));
  }
}

namespace {

class AccessibleProgress : public QAccessibleWidget, public QAccessibleValueInterface {
 public:
  explicit AccessibleProgress(MyBitmapProgress* progress)
      : QAccessibleWidget(progress, QAccessible::ProgressBar) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) return QString::number(Bar()->Pos());
    return QAccessibleWidget::text(t);
  }
  QVariant currentValue() const override { return Bar()->Pos(); }
  void setCurrentValue(const QVariant&) override {}  // only a run moves the bar
  QVariant maximumValue() const override { return Bar()->Upper(); }
  QVariant minimumValue() const override { return Bar()->Lower(); }
  QVariant minimumStepSize() const override { return 1; }

 private:
  MyBitmapProgress* Bar() const { return static_cast<MyBitmapProgress*>(widget()); }
};

}  // namespace

QAccessibleInterface* MakeAccessible(MyBitmapProgress* progress) {
  return new AccessibleProgress(progress);
}

}  // namespace vantorel
