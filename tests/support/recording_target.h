#pragma once

#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/message_target.h"
#include "platform/system_time.h"

namespace vantorel::test {

// Records every message with its parameters decoded; safe to send to from any thread.
class RecordingTarget final : public MessageTarget {
 public:
  struct Message {
    uint32_t id;
    std::string text;  // date or time text
    uintptr_t value;   // weekday, or the raw first parameter
    bool hasTime;      // the time message carried a broken-down time
    uint16_t ms = 0;   // its milliseconds: how far past the second the tick came
    friend bool operator==(const Message&, const Message&) = default;
  };

  intptr_t SendMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override {
    Message m{message, {}, wParam, lParam != 0};
    if (message == kMsgClockTime && lParam != 0)
      m.ms = reinterpret_cast<const platform::SystemTime*>(lParam)->wMilliseconds;
    if (message == kMsgClockDate || message == kMsgClockTime) {
      m.text = reinterpret_cast<const char*>(wParam);
      m.value = 0;
    }
    std::lock_guard guard(m_mutex);
    m_messages.push_back(m);
    return 0;
  }

  std::vector<Message> Take() {
    std::lock_guard guard(m_mutex);
    return std::exchange(m_messages, {});
  }
  size_t Count() const {
    std::lock_guard guard(m_mutex);
    return m_messages.size();
  }

 private:
  mutable std::mutex m_mutex;
  std::vector<Message> m_messages;
};

}  // namespace vantorel::test
