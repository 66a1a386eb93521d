#include "ntp/address_pacing.h"

#include <algorithm>

namespace vantorel {

AddressPacing::TimePoint AddressPacing::NextAllowed(const platform::NetAddress& address) const {
  std::lock_guard lock(m_mutex);
  const auto found = m_records.find(address);
  return found == m_records.end() ? TimePoint{} : found->second.next;
}

bool AddressPacing::Refused(const platform::NetAddress& address) const {
  std::lock_guard lock(m_mutex);
  const auto found = m_records.find(address);
  return found != m_records.end() && found->second.refused;
}

void AddressPacing::Sent(const platform::NetAddress& address, TimePoint at) {
  std::lock_guard lock(m_mutex);
  Record& record = m_records[address];
  record.next = std::max(record.next, at + kSpacing + kMargin);
}

void AddressPacing::Answered(const platform::NetAddress& address) {
  std::lock_guard lock(m_mutex);
  m_records[address].backoff = std::chrono::seconds{0};
}

void AddressPacing::RateLimited(const platform::NetAddress& address, TimePoint at) {
  std::lock_guard lock(m_mutex);
  Record& record = m_records[address];
  record.backoff = std::min(kLongestWait, std::max(2 * kSpacing, 2 * record.backoff));
  record.next = std::max(record.next, at + record.backoff);
}

void AddressPacing::Denied(const platform::NetAddress& address) {
  std::lock_guard lock(m_mutex);
  m_records[address].refused = true;
}

void AddressPacing::UseServerList(const std::string& names) {
  std::lock_guard lock(m_mutex);
  if (names == m_list) return;
  m_list = names;
  for (auto& [address, record] : m_records) record.refused = false;
}

}  // namespace vantorel
