#pragma once

#include <QComboBox>
#include <QImage>

#include <chrono>
#include <cstdint>
#include <string_view>

#include "controls/button_logic.h"

class QLabel;

namespace vantorel {

// A drop-down list whose closed face is a four-frame skin with the selected item's text on
// it. Ordinary keys change nothing; the mouse chooses. A drop-down item too wide for the list
// shows its whole text in a tip over it.
class MyBitmapCombobox : public QComboBox {
  Q_OBJECT

 public:
  static constexpr int kItemHeight = 16;
  static constexpr int kVisibleRows = 12;

  explicit MyBitmapCombobox(QWidget* parent = nullptr);
  ~MyBitmapCombobox() override;

  void SetTextColors(QColor enabled, QColor disabled);
  void SetTextMargins(int left, int top, int right, int bottom);
  // A skin that cannot be loaded leaves the previous one.
  bool LoadSkin(int resourceId, QRgb transparent);

  int FaceFrame() const;
  ButtonState FaceState() const { return m_state; }
  QColor FaceTextColour() const { return isEnabled() ? m_enabledText : m_disabledText; }
  bool TipVisible() const;
  // The list closed a moment ago: an Escape now is the one that closed it. On Wayland the
  // compositor ends the list on that key and the key then still reaches the window.
  bool ListClosedJustNow() const;
  QString TipText() const;
  // Shows or hides the tip for a drop-down row whose rectangle (in global coordinates) is
  // given; -1 hides it.
  void UpdateTip(int row, const QRect& itemRect);

  // The list operations of the platform's control, on UTF-8 texts.
  int GetCount() const { return count(); }
  void ResetContent() { clear(); }
  int AddString(std::string_view text);
  int InsertString(int index, std::string_view text);
  void DeleteString(int index) { removeItem(index); }
  void SetItemData(int index, intptr_t data) { setItemData(index, static_cast<qlonglong>(data)); }
  void SetCurSel(int index) { setCurrentIndex(index); }

  // The list drops below the face (above it where the screen has no room below), as wide as
  // the face and at most kVisibleRows high.
  void showPopup() override;
  void hidePopup() override;

 signals:
  // The user picked an item.
  void selectionChanged(int index);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SetState(ButtonState state);
  QRect Face() const;        // where the face is drawn
  QRect GlobalFace() const;  // and where that is on the screen

  ButtonState m_state = ButtonState::kNormal;
  std::chrono::steady_clock::time_point m_listClosed{};
  QImage m_skin;
  int m_frameWidth = 0;
  int m_frameHeight = 0;
  QColor m_enabledText{0, 0, 0};
  QColor m_disabledText{128, 128, 128};
  QMargins m_margins;
  QLabel* m_tip;
  QPoint m_pressOrigin;  // this control's origin on the screen, as the last press showed it
  bool m_pressedOpen = false;
};

}  // namespace vantorel
