#pragma once

#include <cstdint>

namespace vantorel {

// The skinned button's face: its visual state and the frame it draws.
enum class ButtonState : uint8_t { kNormal = 1, kHover = 2, kPressed = 3 };

// Frame of a four-frame push button or an eight-frame two-state box: the state's frame when
// enabled, 0 when disabled, four more when a two-state box is checked.
int ButtonFrameIndex(bool enabled, ButtonState state, bool twoState, bool checked);

// The mouse rules: hover on entry, pressed on a press or double-click, normal on leaving; a
// release reports a click only from the pressed state, then shows hover or normal by where
// the cursor is.
class ButtonStateMachine {
 public:
  ButtonState State() const { return m_state; }
  void Enter() { m_state = ButtonState::kHover; }
  void Leave() { m_state = ButtonState::kNormal; }
  void Press() { m_state = ButtonState::kPressed; }
  // True when the release completes a click.
  bool Release(bool cursorInside);

 private:
  ButtonState m_state = ButtonState::kNormal;
};

}  // namespace vantorel
