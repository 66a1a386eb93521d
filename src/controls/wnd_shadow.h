#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>

#include "controls/shadow_picture.h"

namespace vantorel {

// The soft drop shadow of a frameless, shaped window: a translucent tool window that lets
// every input through, placed behind the window and offset from it, that follows it as it
// moves, resizes, shows, hides and is minimised. Shown only where the windowing system
// composites translucent windows, as that changes while the program runs, and never where the
// program cannot place its windows (Wayland). Transient for the window it follows.
class WndShadow : public QWidget {
 public:
  // Once per process; false (and nothing changed) when called again.
  static bool Initialize();
  static bool Initialized();
  // Whether translucent windows are composited here (on X11: a compositing manager runs) and
  // a shadow window can be placed (not on Wayland).
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
  // A compositing manager may start or stop at any time; nothing tells a plain X client, so
  // its selection is looked at twice a second.
  QTimer m_compositionWatch;
  bool m_wasComposited = false;
  static constexpr int kCompositionWatchMs = 500;
};

}  // namespace vantorel
