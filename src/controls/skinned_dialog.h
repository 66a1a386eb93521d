#pragma once

#include <QDialog>
#include <QImage>

namespace vantorel {

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

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int m_corner;
  QImage m_background;
  int m_shapeCuts = 0;
};

}  // namespace vantorel
