#pragma once

#include <QImage>
#include <QWidget>

#include "controls/readable_text.h"

namespace vantorel {

// A page or window whose surface is one skin picture; the first picture sizes it.
class SkinnedPage : public QWidget {
 public:
  using QWidget::QWidget;
  void LoadBackground(int id);
  const QImage& Background() const { return m_background; }
  // What the page shows, for a screen reader.
  WindowWords& Words() { return m_words; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  WindowWords m_words;
  QImage m_background;
  bool m_sized = false;
};

}  // namespace vantorel
