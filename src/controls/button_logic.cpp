#include "controls/button_logic.h"

namespace vantorel {

namespace {
constexpr int kCheckedFrames = 4;
}

int ButtonFrameIndex(bool enabled, ButtonState state, bool twoState, bool checked) {
  int frame = enabled ? static_cast<int>(state) : 0;
  if (twoState && checked) frame += kCheckedFrames;
  return frame;
}

bool ButtonStateMachine::Release(bool cursorInside) {
  const bool click = m_state == ButtonState::kPressed;
  m_state = cursorInside ? ButtonState::kHover : ButtonState::kNormal;
  return click;
}

}  // namespace vantorel
