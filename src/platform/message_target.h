#pragma once

#include <cstdint>

namespace vantorel {

// Private messages to the main window, numbered from the first private message number.
inline constexpr uint32_t kMsgFirstPrivate = 1024;
inline constexpr uint32_t kMsgSignalStarted = kMsgFirstPrivate + 100;   // 1124
inline constexpr uint32_t kMsgSignalFinished = kMsgFirstPrivate + 101;  // 1125
inline constexpr uint32_t kMsgClockDate =
    kMsgFirstPrivate + 102;  // 1126: wParam = const char* date text
inline constexpr uint32_t kMsgClockTime =
    kMsgFirstPrivate + 103;  // 1127: wParam = text, lParam = SystemTime*
inline constexpr uint32_t kMsgClockWeekday =
    kMsgFirstPrivate + 104;  // 1128: wParam = 0 (Sunday) .. 6
inline constexpr uint32_t kMsgClockCorrection = kMsgFirstPrivate + 108;  // 1132

// The receiver of those messages. A send is synchronous: it returns once the receiver has
// handled the message, on whatever thread the receiver handles it; pointers in the
// parameters are valid only during the call.
class MessageTarget {
 public:
  virtual ~MessageTarget() = default;
  virtual intptr_t SendMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
};

}  // namespace vantorel
