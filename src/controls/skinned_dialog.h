#pragma once

#include <QDialog>
#include <QImage>

#include <functional>

#include "controls/readable_text.h"

class QKeyEvent;

namespace vantorel {

// Return or the keypad's Enter with no other modifier: the key that means OK.
bool IsPlainEnter(const QKeyEvent& event);

// A frameless dialog whose whole surface is one skin picture: dragged by any point, cut to a
// rounded shape by its first picture.
class SkinnedDialog : public QDialog {
 public:
  SkinnedDialog(QWidget* parent, Qt::WindowFlags flags, int cornerEllipse);

  // A picture that cannot be loaded leaves the previous one. The first one sizes the window
  // and cuts its shape; later ones never cut it again.
  void LoadBackground(int id);
  const QImage& Background() const { return m_background; }
  int ShapeCuts() const { return m_shapeCuts; }

  // Enter (Return or the keypad's Enter) is the dialog's OK, as on the platform the skins
  // come from; Escape is its Cancel. A control that takes Enter itself keeps it.
  void SetEnterAction(std::function<void()> action) { m_enter = std::move(action); }

  // What the window shows, for a screen reader.
  WindowWords& Words() { return m_words; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  int m_corner;
  WindowWords m_words;
  std::function<void()> m_enter;
  QImage m_background;  // as loaded
  QImage m_face;        // as painted: its corners transparent
  int m_shapeCuts = 0;
};

}  // namespace vantorel
