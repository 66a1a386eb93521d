#pragma once

#include <QImage>
#include <QWidget>

#include "controls/shadow_picture.h"

namespace vantorel {

// The soft drop shadow of a frameless, shaped window: a translucent tool window that lets
// every input through, placed behind the window and offset from it, that follows it as it
// moves, resizes, shows, hides and is minimised. Shown only where the windowing system
// composites translucent windows.
class WndShadow : public QWidget {
 public:
  // Once per process; false (and nothing changed) when called again.
  static bool Initialize();
  static bool Initialized();
  // Whether translucent windows are composited here (on X11: a compositing manager runs).
  static bool CompositingActive();

  WndShadow();
  ~WndShadow() override;

  // Follows that window from now on; false before Initialize or when already following one.
  bool Create(QWidget* parent);
  // Each setter ignores a value outside its range.
  void SetPosition(int x, int y);
  void SetSize(int size);
  void SetSharpness(int sharpness);
  void SetDarkness(int darkness);
  void SetColor(uint32_t colorref);
  const ShadowParams& Params() const { return m_params; }

  // Shows or hides the shadow as the window stands; rebuilds the picture.
  void ShowForParent();
  void UpdatePicture();
  const QImage& Picture() const { return m_picture; }
  void SetCompositingOverride(int composited) { m_compositingOverride = composited; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  bool Composited() const;
  void Place();

  QWidget* m_parent = nullptr;
  ShadowParams m_params;
  QImage m_picture;
  int m_compositingOverride = -1;  // -1 ask the system; tests force 0 or 1
};

}  // namespace vantorel
