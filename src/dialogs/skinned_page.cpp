#include "dialogs/skinned_page.h"

#include <QPainter>

#include "controls/skin_image.h"
#include "res/skins.h"

namespace vantorel {

void SkinnedPage::LoadBackground(int id) {
  QImage picture = LoadSkin(id);
  if (picture.isNull()) return;
  m_background = std::move(picture);
  if (!m_sized) {
    resize(LogicalSize(m_background));
    m_sized = true;
  }
  update();
}

void SkinnedPage::paintEvent(QPaintEvent*) {
  if (m_background.isNull()) return;
  QPainter painter(this);
  painter.drawImage(QPoint(0, 0), m_background);
}

}  // namespace vantorel
