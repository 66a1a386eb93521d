#pragma once

#include <QImage>
#include <QWidget>

namespace vantorel {

// A page or window whose surface is one skin picture; the first picture sizes it.
class SkinnedPage : public QWidget {
 public:
  using QWidget::QWidget;
  void LoadBackground(int id);
  const QImage& Background() const { return m_background; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage m_background;
  bool m_sized = false;
};

}  // namespace vantorel
