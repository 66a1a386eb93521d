#include "controls/my_bitmap_button.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include "controls/skin_image.h"

namespace vantorel {
namespace {
constexpr int kPushFrames = 4;
constexpr int kTwoStateFrames = 8;
}  // namespace

MyBitmapButton::MyBitmapButton(int controlId, QWidget* parent)
    : QWidget(parent), m_controlId(controlId) {
  setAttribute(Qt::WA_Hover);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
}

bool MyBitmapButton::SetBitmap(int resourceId, QRgb transparent, bool twoState, bool show) {
  m_strip = LoadKeyedSkin(resourceId, transparent);
  if (m_strip.isNull()) {
    update();
    return false;
  }
  m_twoState = twoState;
  m_frameWidth = LogicalSize(m_strip).width() / (twoState ? kTwoStateFrames : kPushFrames);
  m_frameHeight = LogicalSize(m_strip).height();
  resize(m_frameWidth, m_frameHeight);
  if (show) this->show();
  update();
  return true;
}

void MyBitmapButton::SetCheck(int checked) {
  const bool was = m_checked;
  m_checked = checked != 0;
  update();
  if (m_twoState && was != m_checked) {
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
  }
}

void MyBitmapButton::Activate() {
  if (isEnabled()) emit clicked(m_controlId);
}

int MyBitmapButton::FrameIndex() const {
  return ButtonFrameIndex(isEnabled(), m_machine.State(), m_twoState, m_checked);
}

void MyBitmapButton::paintEvent(QPaintEvent*) {
  if (m_strip.isNull()) return;
  QPainter painter(this);
  painter.drawImage(
      QPoint(0, 0), m_strip,
      ToPixels(m_strip, QRect(m_frameWidth * FrameIndex(), 0, m_frameWidth, m_frameHeight)));
}

void MyBitmapButton::enterEvent(QEnterEvent*) {
  m_machine.Enter();
  update();
}

void MyBitmapButton::leaveEvent(QEvent*) {
  m_machine.Leave();
  update();
}

void MyBitmapButton::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  m_machine.Press();
  update();
}

void MyBitmapButton::mouseDoubleClickEvent(QMouseEvent* event) {
  mousePressEvent(event);
}

// While a button is held the widget keeps the mouse, so leaving is seen here rather than as
// a leave event; it ends the press just the same.
void MyBitmapButton::mouseMoveEvent(QMouseEvent* event) {
  if (m_machine.State() == ButtonState::kPressed && !rect().contains(event->position().toPoint())) {
    m_machine.Leave();
    update();
  }
}

void MyBitmapButton::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const bool inside = rect().contains(event->position().toPoint());
  const bool click = m_machine.State() == ButtonState::kPressed;
  // The click goes out first: its handler runs before the face changes, as the owner expects.
  if (click) emit clicked(m_controlId);
  m_machine.Release(inside);
  update();
}

// Keys never press the button; they go on to the window, whose own keys (Escape, Return)
// work whatever control has the focus.
void MyBitmapButton::keyPressEvent(QKeyEvent* event) {
  event->ignore();
}
void MyBitmapButton::keyReleaseEvent(QKeyEvent* event) {
  event->ignore();
}

namespace {

class AccessibleBitmapButton : public QAccessibleWidget {
 public:
  explicit AccessibleBitmapButton(MyBitmapButton* button)
      : QAccessibleWidget(button, QAccessible::Button) {}

  QAccessible::Role role() const override {
    return Button()->TwoState() ? QAccessible::CheckBox : QAccessible::Button;
  }
  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    if (Button()->TwoState()) {
      state.checkable = true;
      state.checked = Button()->GetCheck() != 0;
    }
    return state;
  }
  QStringList actionNames() const override {
    if (!Button()->isEnabled()) return QAccessibleWidget::actionNames();
    return QStringList(Button()->TwoState() ? toggleAction() : pressAction())
           << QAccessibleWidget::actionNames();
  }
  void doAction(const QString& action) override {
    if (action == pressAction() || action == toggleAction()) {
      // After the screen reader has its answer: a click may open a modal window, and the
      // answer goes out only once the events already posted have run, which a queued call
      // would run before it.
      QTimer::singleShot(0, Button(), &MyBitmapButton::Activate);
    } else {
      QAccessibleWidget::doAction(action);
    }
  }

 private:
  MyBitmapButton* Button() const { return static_cast<MyBitmapButton*>(widget()); }
};

}  // namespace

QAccessibleInterface* MakeAccessible(MyBitmapButton* button) {
  return new AccessibleBitmapButton(button);
}

}  // namespace vantorel
