#include "controls/skinned_dialog.h"

#include <QKeyEvent>
#include <QPainter>

#include <algorithm>

#include "controls/my_bitmap_combobox.h"
#include "controls/skin_image.h"
#include "controls/window_drag.h"
#include "res/skins.h"

namespace vantorel {

SkinnedDialog::SkinnedDialog(QWidget* parent, Qt::WindowFlags flags, int cornerEllipse)
    : QDialog(parent, flags | Qt::FramelessWindowHint), m_corner(cornerEllipse) {
  MakeTranslucent(this);
  new WindowDrag(this);
}

void SkinnedDialog::LoadBackground(int id) {
  QImage picture = LoadSkin(id);
  if (picture.isNull()) return;
  m_background = std::move(picture);
  m_face = WithRoundCorners(m_background, m_corner);
  if (m_shapeCuts == 0) {
    CutRoundedShape(this, LogicalSize(m_background), m_corner);
    ++m_shapeCuts;
  }
  update();
}

bool IsPlainEnter(const QKeyEvent& event) {
  const bool enter = event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
  return enter && (event.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

void SkinnedDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    const auto lists = findChildren<MyBitmapCombobox*>();
    if (std::any_of(lists.begin(), lists.end(),
                    [](const MyBitmapCombobox* list) { return list->ListClosedJustNow(); })) {
      event->accept();  // it closed the list: the dialog stays
      return;
    }
  }
  if (IsPlainEnter(*event) && m_enter) {
    event->accept();
    m_enter();
    return;
  }
  QDialog::keyPressEvent(event);
}

void SkinnedDialog::paintEvent(QPaintEvent*) {
  if (m_face.isNull()) return;
  QPainter painter(this);
  painter.drawImage(QPoint(0, 0), m_face);
}

}  // namespace vantorel
