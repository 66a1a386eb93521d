#pragma once

#include <cstdint>
#include <string>

namespace vantorel {

struct SntpResult;

// One SNTP exchange, as the calibration run uses it; the real client or a fake.
class SntpQuery {
 public:
  virtual ~SntpQuery() = default;
  virtual void SetTimeout(uint32_t ms) = 0;
  virtual bool Query(const std::string& server, SntpResult& result, uint16_t port) = 0;
  // Ends a query in progress at once, and fails every later one: its owner is going away.
  // Called from another thread than the query's.
  virtual void Abandon() {}
};

}  // namespace vantorel
